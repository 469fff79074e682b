#include "optics/light_metrics.h"

#include <algorithm>
#include <cmath>

namespace brevix::optics {

LightMetrics lightMetrics(const FaceUpImage& image) {
    LightMetrics m;
    if (image.insideCount <= 0) return m;
    const int n = image.size;
    const size_t pixels = size_t(n) * n;
    const bool hasWindow = image.window.size() == pixels;
    long windows = 0, dark = 0;
    const int G = CONTRAST_GRID;
    std::vector<double> sum(G * G, 0.0);
    std::vector<int> count(G * G, 0), area(G * G, 0);
    for (int row = 0; row < n; ++row) {
        const int cellRow = row * G / n;
        for (int col = 0; col < n; ++col) {
            const size_t at = size_t(row) * n + col;
            const int cell = cellRow * G + col * G / n;
            ++area[cell];
            if (!image.inside[at]) continue;
            const double iso = image.iso[at];
            if (hasWindow && image.window[at] > WINDOW_SHARE) ++windows;
            if (iso < EXTINCTION_LEVEL) ++dark;
            sum[cell] += iso;
            ++count[cell];
        }
    }
    m.windowing = 100.0 * double(windows) / image.insideCount;
    m.extinction = 100.0 * double(dark) / image.insideCount;

    // A picture smaller than the grid leaves some cells without pixels.
    auto takesPart = [&](int r, int c) {
        if (r < 0 || c < 0 || r >= G || c >= G) return false;
        const int cell = r * G + c;
        return area[cell] > 0 && 2 * count[cell] >= area[cell];
    };
    int cells = 0, differing = 0;
    for (int r = 0; r < G; ++r)
        for (int c = 0; c < G; ++c) {
            if (!takesPart(r, c)) continue;
            ++cells;
            const double value = sum[r * G + c] / count[r * G + c];
            const int nr[4] = {r - 1, r + 1, r, r}, nc[4] = {c, c, c - 1, c + 1};
            for (int k = 0; k < 4; ++k) {
                if (!takesPart(nr[k], nc[k])) continue;
                const int other = nr[k] * G + nc[k];
                if (std::fabs(sum[other] / count[other] - value) >= CONTRAST_STEP) {
                    ++differing;
                    break;
                }
            }
        }
    if (cells > 0) m.contrast = 100.0 * differing / cells;
    return m;
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
    }
    const double n = double(sweep.size());
    a.iso /= n;
    a.cos /= n;
    a.windowing /= n;
    a.extinction /= n;
    a.contrast /= n;
    return a;
}

}  // namespace brevix::optics
