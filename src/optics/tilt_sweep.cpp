#include "optics/tilt_sweep.h"

#include <algorithm>
#include <cmath>

#include "optics/light_metrics.h"
#include "optics/parallel_rows.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix::optics {

std::vector<double> tiltsOf(const TiltRange& range) {
    std::vector<double> tilts;
    if (!(range.step > 0) || !(range.to >= range.from) || !std::isfinite(range.from) ||
        !std::isfinite(range.to))
        return tilts;
    // The small allowance keeps "-30:30:2.5" from losing 30 to rounding.
    const double count = std::floor((range.to - range.from) / range.step + 1e-9) + 1;
    if (count > MAX_TILTS) return tilts;
    for (int i = 0; i < static_cast<int>(count); ++i) tilts.push_back(range.from + i * range.step);
    return tilts;
}

namespace {

// Tilts rendered side by side at most, so that the patterns kept for the
// scintillation stay few however long the sweep.
constexpr size_t TILTS_AT_ONCE = 64;

// One tilt's picture boiled down to what the sweep keeps of it.
struct TiltPicture {
    bool complete = false;
    TiltBrightness point;
    PatternCells cells, sceneCells;
    bool scene = false;
};

TiltPicture tiltPicture(const Stone& stone, const FaceUpOptions& options) {
    TiltPicture out;
    const FaceUpImage image = renderFaceUp(stone, options);
    if (!image.complete) return out;
    out.complete = true;
    const LightMetrics m = lightMetrics(image);
    out.cells = patternCells(image);
    out.point = {options.tiltDegrees, image.isoBrightness, image.cosBrightness, m.windowing, m.extinction, m.contrast};
    if (!image.scene.empty()) {
        out.scene = true;
        out.sceneCells = patternCells(image, image.sceneObserved);
        out.point.scene = image.sceneBrightness;
        out.point.sceneContrast = contrastOf(out.sceneCells);
    }
    return out;
}

}  // namespace

TiltSweep sweepTilts(const Stone& stone, const FaceUpOptions& options, const TiltRange& range) {
    TiltSweep sweep;
    PatternCells before, sceneBefore;
    double switched = 0, sceneSwitched = 0;
    const std::vector<double> tilts = tiltsOf(range);
    const int threads = options.threads > 0 ? options.threads : coreCount();
    // Whole pictures on each core rather than each picture's rows on every
    // core: the figures of one picture are then worked out while the
    // others render, instead of with the other cores idle.
    for (size_t first = 0; first < tilts.size() && sweep.complete; first += TILTS_AT_ONCE) {
        const int count = static_cast<int>(std::min(TILTS_AT_ONCE, tilts.size() - first));
        std::vector<TiltPicture> pictures(count);
        FaceUpOptions one = options;
        one.threads = std::max(1, threads / count);
        forEachRow(count, threads, options.cancel, [&](int i) {
            FaceUpOptions tilted = one;
            tilted.tiltDegrees = tilts[first + i];
            pictures[i] = tiltPicture(stone, tilted);
        });
        // In the order of the tilts, as the switching is between neighbours.
        for (TiltPicture& picture : pictures) {
            if (!picture.complete) {
                sweep.complete = false;
                break;
            }
            if (!sweep.points.empty()) switched += switchedShare(before, picture.cells);
            before = std::move(picture.cells);
            if (picture.scene) {
                if (!sweep.points.empty()) sceneSwitched += switchedShare(sceneBefore, picture.sceneCells);
                sceneBefore = std::move(picture.sceneCells);
            }
            sweep.points.push_back(picture.point);
        }
    }
    if (!sweep.points.empty()) {
        for (const TiltBrightness& p : sweep.points) {
            sweep.meanIso += p.iso;
            sweep.meanCos += p.cos;
        }
        sweep.meanIso /= sweep.points.size();
        sweep.meanCos /= sweep.points.size();
        if (sweep.points.size() > 1) {
            sweep.scintillation = switched / double(sweep.points.size() - 1);
            sweep.sceneScintillation = sceneSwitched / double(sweep.points.size() - 1);
        }
    }
    return sweep;
}

std::optional<TiltRange> parseTiltRange(const std::string& text, std::string& error) {
    TiltRange range;
    double* fields[3] = {&range.from, &range.to, &range.step};
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t colon = i < 2 ? text.find(':', start) : text.size();
        if (colon == std::string::npos) {
            error = strprintf("'%s' is not FROM:TO:STEP", text.c_str());
            return std::nullopt;
        }
        const std::string part = text.substr(start, colon - start);
        const auto value = wholeNumber(part, true);
        if (!value || !std::isfinite(*value)) {
            error = strprintf("'%s' is not FROM:TO:STEP", text.c_str());
            return std::nullopt;
        }
        *fields[i] = *value;
        start = colon + 1;
    }
    if (range.step <= 0 || range.to < range.from) {
        error = "the tilt sweep needs FROM <= TO and a STEP above 0";
        return std::nullopt;
    }
    if (tiltsOf(range).empty()) {
        error = strprintf("the tilt sweep gives more than %d tilts", MAX_TILTS);
        return std::nullopt;
    }
    return range;
}

}  // namespace brevix::optics
