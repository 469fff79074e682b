#include "collection/score_entry.h"

#include "collection/design_read.h"
#include "intent/design_intent.h"
#include "live/design_warnings.h"
#include "platform/failure_words.h"
#include "platform/text_encoding.h"

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
    light.windowing = score.metrics.windowing;
    light.extinction = score.metrics.extinction;
    light.contrast = score.metrics.contrast;
    light.scintillation = score.scintillation;
    light.sweep = score.sweep;
    if (score.scene) {
        light.lighting = optics::environmentKey(score.image.environment);
        light.scene = score.scene;
        light.sceneScintillation = score.sceneScintillation;
    }
    return light;
}

// The warnings `brevix-cli figures` prints for the design: with the intent
// a .brx file keeps, else the one its planes tell.
std::vector<std::string> warningsOf(const Stone& stone, const std::optional<DesignIntent>& kept) {
    const DesignIntent intent = kept ? *kept : intentOf(stone, nullptr);
    std::vector<std::string> texts;
    for (const DesignWarning& w : designWarnings(stone, &intent)) texts.push_back(cp1252ToUtf8(w.text));
    return texts;
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
    try {
        figures.warnings = warningsOf(*read.stone, read.intent);
    } catch (const std::exception&) {
        // A design too broken to check has its error or warning already.
    }
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
