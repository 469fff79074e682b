#include <cmath>
#include <cstdlib>
#include <string>

#include "kernel/index_azimuth.h"
#include "platform/strformat.h"
#include "views/stone_drawing.h"

namespace brevix {

namespace {
constexpr double LABEL_RADIUS = 1.1;
// Between the corners of a wide stone: 1.1 * sqrt(2).
constexpr double OUTER_LABEL_RADIUS = 1.55563496;
constexpr int MOST_LABELS = 24;
}  // namespace

int gearLabelCount(int symmetry) {
    // A symmetry of 0 would double forever; no symmetry counts as 1. Wide
    // arithmetic keeps a symmetry read from a damaged file harmless.
    long long n = std::llabs(static_cast<long long>(symmetry));
    if (n == 0) n = 1;
    while (n > MOST_LABELS && n % 2 == 0) n /= 2;
    for (int divisor : {3, 5, 7, 11})
        while (n > MOST_LABELS && n % divisor == 0) n /= divisor;
    while (n < 7 || (n < 12 && n % 2 == 0)) n *= 2;
    return static_cast<int>(n);
}

namespace {

// `fromBelow`: numbered as the cutter sets the gear for the pavilion, the
// dop seen from the other side; each number stands by the facets it cuts.
void drawNumbers(const Stone& stone, View& view, bool fromBelow) {
    view.gearLabel = GearLabel{};
    const double notches = std::fabs(static_cast<double>(stone.gear));
    if (notches == 0) return;  // no notches, nothing to number

    const bool wide = view.extendsBeyond && (stone.symmetry == 2 || stone.symmetry == 4);
    const int count = wide ? 8 : gearLabelCount(stone.symmetry);
    for (int k = 1; k <= count; ++k) {
        const double index = k * notches / count;
        const double radius = wide && k % 2 == 1 ? OUTER_LABEL_RADIUS : LABEL_RADIUS;
        const double theta = PI / 2 - azimuthOf(fromBelow ? notches - index : index, notches, stone.indexOffset);
        view.moveTo3({radius * std::cos(theta), radius * std::sin(theta), 0});
        if (k < count) {
            view.text(strprintf("%.0f", index));
            continue;
        }
        const std::string text = strprintf("<%.0f>", index);
        view.text(text);
        if (view.gearHotEnabled && view.dc) {
            const Size extent = view.dc->textExtent(text);
            GearLabel& label = view.gearLabel;
            label.anchorX = view.penX;
            label.anchorY = view.penY;
            label.left = view.penX - extent.width / 2;
            label.right = view.penX + extent.width / 2;
            label.top = view.penY - extent.height / 2;
            label.bottom = view.penY + extent.height / 2;
            label.present = 1;
            label.text = text;
        }
    }
}

}  // namespace

void drawGearLabels(const Stone& stone, View& view) { drawNumbers(stone, view, false); }

void drawPavilionGearLabels(const Stone& stone, View& view) { drawNumbers(stone, view, true); }

}  // namespace brevix
