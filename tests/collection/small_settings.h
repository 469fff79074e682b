#pragma once
// Light figures small and on one thread: the collection tests score many
// designs and compare figures, not pictures.
#include "optics/light_score.h"

namespace brevix::collection {

inline optics::LightSettings smallSettings() {
    optics::LightSettings s;
    s.options.size = 24;
    s.options.threads = 1;
    return s;
}

}  // namespace brevix::collection
