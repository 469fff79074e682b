#pragma once
// Scoring one design of a collection: its facts and its light figures in
// the settings given, from the cache when the same bytes were scored with
// the same settings before. Safe to call from many threads at once.
#include <memory>

#include "collection/design_files.h"
#include "collection/figures.h"
#include "collection/score_cache.h"

namespace brevix::collection {

DesignFigures scoreEntry(const DesignEntry& entry, const optics::LightSettings& settings,
                         const ScoreCache& cache);

// The facts alone (no light), with the stone read for drawing its picture.
DesignFigures readFacts(const DesignEntry& entry, std::unique_ptr<Stone>* stone = nullptr);

}  // namespace brevix::collection
