#include "optics/light_metrics.h"

#include <algorithm>
#include <cmath>

namespace brevix::optics {

PatternCells patternCells(const FaceUpImage& image) {
    const size_t pixels = size_t(image.size) * image.size;
    return patternCells(image, image.observed.size() == pixels ? image.observed : image.iso);
}

PatternCells patternCells(const FaceUpImage& image, const std::vector<float>& score) {
    const int G = CONTRAST_GRID, n = image.size;
    std::vector<double> sum(G * G, 0.0);
    std::vector<int> count(G * G, 0), area(G * G, 0);
    // The cell column of each picture column, worked out once rather than
    // divided out at every pixel.
    std::vector<int> cellColumn(n);
    for (int col = 0; col < n; ++col) cellColumn[col] = col * G / n;
    for (int row = 0; row < n; ++row) {
        const int cellRow = row * G / n;
        for (int col = 0; col < n; ++col) {
            const size_t at = size_t(row) * n + col;
            const int cell = cellRow * G + cellColumn[col];
            ++area[cell];
            if (!image.inside[at]) continue;
            sum[cell] += score[at];
            ++count[cell];
        }
    }
    PatternCells cells;
    cells.value.assign(G * G, 0.0);
    cells.on.assign(G * G, 0);
    cells.weight.assign(G * G, 0.0);
    // A picture smaller than the grid leaves some cells without pixels.
    for (int c = 0; c < G * G; ++c) {
        if (area[c] == 0) continue;
        const double covered = double(count[c]) / area[c];
        cells.on[c] = 2 * count[c] >= area[c];
        cells.weight[c] = std::clamp((covered - 0.25) / 0.5, 0.0, 1.0);
        if (count[c] > 0) cells.value[c] = sum[c] / count[c];
    }
    return cells;
}

double clearShare(double difference) {
    return std::clamp((difference - (CONTRAST_STEP - CONTRAST_RAMP)) / (2 * CONTRAST_RAMP), 0.0, 1.0);
}

double switchedShare(const PatternCells& a, const PatternCells& b) {
    double switched = 0, cells = 0;
    for (size_t c = 0; c < a.weight.size() && c < b.weight.size(); ++c) {
        const double w = std::min(a.weight[c], b.weight[c]);
        if (!(w > 0)) continue;
        cells += w;
        switched += w * clearShare(std::fabs(a.value[c] - b.value[c]));
    }
    return cells > 0 ? 100.0 * switched / cells : 0.0;
}

LightMetrics lightMetrics(const FaceUpImage& image) {
    if (image.insideCount <= 0) return {};
    return lightMetrics(image, patternCells(image));
}

LightMetrics lightMetrics(const FaceUpImage& image, const PatternCells& cells) {
    LightMetrics m;
    if (image.insideCount <= 0) return m;
    const size_t pixels = size_t(image.size) * image.size;
    const bool hasWindow = image.window.size() == pixels;
    long windows = 0, dark = 0;
    for (size_t at = 0; at < pixels; ++at) {
        if (!image.inside[at]) continue;
        if (hasWindow && image.window[at] > WINDOW_SHARE) ++windows;
        if (image.iso[at] < EXTINCTION_LEVEL) ++dark;
    }
    m.windowing = 100.0 * double(windows) / image.insideCount;
    m.extinction = 100.0 * double(dark) / image.insideCount;

    m.contrast = contrastOf(cells);
    return m;
}

double contrastOf(const PatternCells& cells) {
    const int G = CONTRAST_GRID;
    auto weight = [&](int r, int c) { return r >= 0 && c >= 0 && r < G && c < G ? cells.weight[r * G + c] : 0.0; };
    double taking = 0, differing = 0;
    for (int r = 0; r < G; ++r)
        for (int c = 0; c < G; ++c) {
            const double w = weight(r, c);
            if (!(w > 0)) continue;
            taking += w;
            const double value = cells.value[r * G + c];
            const int nr[4] = {r - 1, r + 1, r, r}, nc[4] = {c, c, c - 1, c + 1};
            double clear = 0;
            for (int k = 0; k < 4; ++k) {
                const double v = weight(nr[k], nc[k]);
                if (v > 0) clear = std::max(clear, v * clearShare(std::fabs(cells.value[nr[k] * G + nc[k]] - value)));
            }
            differing += w * clear;
        }
    return taking > 0 ? 100.0 * differing / taking : 0.0;
}

SceneFigures sceneFigures(const FaceUpImage& image) {
    SceneFigures f;
    const size_t pixels = size_t(image.size) * image.size;
    if (image.insideCount <= 0 || image.scene.size() != pixels) return f;
    f.brightness = image.sceneBrightness;
    f.contrast = contrastOf(patternCells(image, image.sceneObserved));
    if (image.red.size() != pixels) return f;
    double red = 0, green = 0, blue = 0;
    for (size_t at = 0; at < pixels; ++at) {
        if (!image.inside[at]) continue;
        red += image.red[at];
        green += image.green[at];
        blue += image.blue[at];
    }
    const double n = image.insideCount;
    f.red = 100.0 * red / n;
    f.green = 100.0 * green / n;
    f.blue = 100.0 * blue / n;
    f.black = std::max(0.0, 100.0 - f.red - f.green - f.blue);
    return f;
}

double fireFigure(const DispersionImage& image) {
    const FaceUpImage& d = image.channels[1];
    if (d.insideCount <= 0) return 0;
    double spread = 0;
    for (size_t i = 0; i < d.inside.size(); ++i) {
        if (!d.inside[i]) continue;
        const float r = image.channels[0].iso[i], g = d.iso[i], b = image.channels[2].iso[i];
        spread += std::max({r, g, b}) - std::min({r, g, b});
    }
    return 100.0 * spread / d.insideCount;
}

TiltAverages tiltAverages(const std::vector<TiltBrightness>& sweep) {
    TiltAverages a;
    if (sweep.empty()) return a;
    for (const TiltBrightness& p : sweep) {
        a.iso += p.iso;
        a.cos += p.cos;
        a.windowing += p.windowing;
        a.extinction += p.extinction;
        a.contrast += p.contrast;
        a.scene += p.scene;
        a.sceneContrast += p.sceneContrast;
    }
    const double n = double(sweep.size());
    a.iso /= n;
    a.cos /= n;
    a.windowing /= n;
    a.extinction /= n;
    a.contrast /= n;
    a.scene /= n;
    a.sceneContrast /= n;
    return a;
}

TiltAverages judgedUnder(const TiltAverages& figures, Environment environment) {
    TiltAverages judged = figures;
    if (environment == Environment::Cos) judged.iso = figures.cos;
    if (hasScene(environment)) {
        judged.iso = judged.cos = figures.scene;
        judged.contrast = figures.sceneContrast;
        judged.scintillation = figures.sceneScintillation;
    }
    return judged;
}

}  // namespace brevix::optics
