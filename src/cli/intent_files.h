#pragma once
// Designs with their intent for the commands that work by intent: a .brx
// file brings its recorded intent, a .gem or .asc file gets one inferred.
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "intent/intent.h"
#include "intent/point_resolution.h"
#include "kernel/stone.h"

namespace brevix::cli {

struct DesignAndIntent {
    LoadedStone stone;
    DesignIntent intent;
    // A .brx file whose reading stopped: the stone is only part of the
    // design, fit to be looked at but not to be written anywhere.
    bool damaged = false;
};

bool isIntentPath(const std::string& path);
// Null after saying why when there is nothing to work on; a .brx file whose
// reading stopped is returned as far as it was read (and the run fails).
// Meets not recorded are inferred within `meetTolerance`, a share of W.
DesignAndIntent loadWithIntent(const std::string& path, bool& problems,
                               double meetTolerance = DEFAULT_MEET_TOLERANCE_W);
// .brx with the intent; .gem and .asc as the program saves them. Nothing
// is written that its reader would refuse (a tier beyond what a .brx file
// holds): the reason is told instead.
bool saveWithIntent(const Stone& stone, const DesignIntent& intent, const std::string& path);

}  // namespace brevix::cli
