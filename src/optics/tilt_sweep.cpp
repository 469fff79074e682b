#include "optics/tilt_sweep.h"

#include <cmath>

#include "optics/light_metrics.h"
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

TiltSweep sweepTilts(const Stone& stone, const FaceUpOptions& options, const TiltRange& range) {
    TiltSweep sweep;
    PatternCells before, sceneBefore;
    double switched = 0, sceneSwitched = 0;
    for (double tilt : tiltsOf(range)) {
        FaceUpOptions one = options;
        one.tiltDegrees = tilt;
        const FaceUpImage image = renderFaceUp(stone, one);
        if (!image.complete) {
            sweep.complete = false;
            break;
        }
        const LightMetrics m = lightMetrics(image);
        PatternCells cells = patternCells(image);
        if (!sweep.points.empty()) switched += switchedShare(before, cells);
        before = std::move(cells);
        TiltBrightness point{tilt, image.isoBrightness, image.cosBrightness, m.windowing, m.extinction, m.contrast};
        if (!image.scene.empty()) {
            PatternCells scene = patternCells(image, image.sceneObserved);
            if (!sweep.points.empty()) sceneSwitched += switchedShare(sceneBefore, scene);
            point.scene = image.sceneBrightness;
            point.sceneContrast = contrastOf(scene);
            sceneBefore = std::move(scene);
        }
        sweep.points.push_back(point);
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
