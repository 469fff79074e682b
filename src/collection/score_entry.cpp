#include "collection/score_entry.h"

#include "collection/design_read.h"
#include "platform/failure_words.h"

namespace brevix::collection {

namespace {

std::optional<LightFigures> lightOf(const Stone& stone, const optics::LightSettings& settings) {
    const optics::LightScore score = optics::scoreLight(stone, settings);
    if (!score.complete) return std::nullopt;
    LightFigures light;
    light.material = score.material.name;
    light.refractiveIndex = score.refractiveIndex;
    light.iso = score.image.isoBrightness;
    light.cos = score.image.cosBrightness;
    light.sweep = score.sweep;
    return light;
}

}  // namespace

DesignFigures readFacts(const DesignEntry& entry, std::unique_ptr<Stone>* stone) {
    DesignFigures figures;
    figures.file = entry.id();
    ReadEntry read = readEntry(entry);
    if (!read.stone) {
        figures.error = read.error;
        return figures;
    }
    figures.warning = read.warning;
    figures.facts = factsOf(*read.stone);
    if (stone) *stone = std::move(read.stone);
    return figures;
}

DesignFigures scoreEntry(const DesignEntry& entry, const optics::LightSettings& settings,
                         const ScoreCache& cache) {
    std::string key;
    if (cache.enabled() && entry.problem.empty()) {
        // Only the key is made here: the read below tells the entry's problems.
        key = entryKey(entry, settingsKey(settings));
        if (!key.empty()) {
            if (auto cached = cache.load(key)) {
                cached->file = entry.id();
                return std::move(*cached);
            }
        }
    }
    std::unique_ptr<Stone> stone;
    DesignFigures figures = readFacts(entry, &stone);
    if (!stone) return figures;
    try {
        figures.light = lightOf(*stone, settings);
        if (!figures.light) {
            figures.error = "given up";
            return figures;
        }
    } catch (const std::exception& error) {
        figures.error = failureInWords(error, "the light figures");
        return figures;
    }
    // A file rewritten while it was scored keeps no entry under its old key.
    if (!key.empty() && figures.warning.empty() && entryKey(entry, settingsKey(settings)) == key)
        cache.store(key, figures);
    return figures;
}

}  // namespace brevix::collection
