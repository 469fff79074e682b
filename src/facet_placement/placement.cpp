#include "facet_placement/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace brevix {

bool nearMultiple(double x, double h) {
    if (h == 0) return false;
    if (x == h) return true;
    const double r = std::fabs(x) / std::fabs(h);
    const double f = r - std::trunc(r);
    return f < 0.01 || f > 0.99;
}

std::vector<double> facetIndexList(int gear, double index, int symmetry, int mirror,
                                   double angleRad) {
    const int notches = std::abs(gear);
    // A fold below one (from a damaged file) would divide by zero below. A
    // fold above the notch count only repeats notches, and a typed million
    // would keep the program busy for hours: every notch once is the most.
    int s = std::max(symmetry, 1);
    if (notches > 0) s = std::min(s, notches);
    int extra = 0;
    if (mirror) {
        const double h = double(notches) / 2 / s;
        extra = nearMultiple(index, h) ? 0 : 1;
    }
    if (std::fabs(angleRad) < EPS || std::fabs(std::fabs(angleRad) - PI) < EPS) {
        s = 1;
        extra = 0;
    }
    const double step = double(notches) / s;
    const bool divides = notches % s == 0;
    std::vector<double> list;
    list.reserve(size_t(s) * size_t(extra + 1));
    double x = index;
    for (int k = 0; k < s; ++k) {
        for (int m = 0; m <= extra; ++m) {
            // fmod first: a hugely negative index would never come up by adding.
            if (x < 0) x = std::fmod(x, double(notches));
            while (x < 0) x += notches;
            double v = divides ? x : std::trunc(x + 0.5);
            if (m == 1) v = notches - v;
            list.push_back(v);
        }
        x += step;
    }
    std::sort(list.begin(), list.end());
    return list;
}

bool depthBeyondCentre(const NewFacetInfo& info) { return info.complete() && info.solvedCed && info.ced < 0; }

CutCounts cutFacetSet(Stone& stone, const NewFacetInfo& info) {
    CutCounts counts;
    const double aRad = info.angle * PI / 180;
    for (double v : facetIndexList(stone.gear, info.index, info.symmetry, info.mirror, aRad)) {
        const double az = azimuthOf(v, stone.gear, stone.indexOffset);
        const int r = stone.cutByAngle(az, aRad, info.ced, true);
        if (r < 0) {
            counts.missed -= r;
        } else {
            counts.cutOff += r;
            ++counts.made;
        }
    }
    return counts;
}

}  // namespace brevix
