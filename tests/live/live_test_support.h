#pragma once
// Designs and independent measures the tests of the live figures share.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"

namespace brevix::test {

enum { G, P1, P2, C1, T, C2, C3 };

// The brilliant cut through its meets, with one tier's depth typed anew.
inline DesignWithIntent brilliantWithDepth(int32_t tier, double ced) {
    DesignWithIntent b = cutRoundBrilliantByIntent();
    TierChange change;
    change.tier = tier;
    change.setCed = true;
    change.ced = ced;
    RecutResult cut = recutByIntent(b.stone, b.intent, change);
    return {std::move(cut.stone), std::move(cut.intent)};
}

// The stone's height along the vertical line through (x, y), from its
// planes alone (not its edges): the girdle's thickness at a girdle corner.
inline double heightAlongVertical(const Stone& stone, double x, double y) {
    double low = -std::numeric_limits<double>::infinity(), high = -low;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        const double rest = f.d - f.a * x - f.b * y;
        if (f.c > 1e-12)
            high = std::min(high, rest / f.c);
        else if (f.c < -1e-12)
            low = std::max(low, rest / f.c);
    }
    return std::max(0.0, high - low);
}

// The least such height over every corner of every girdle facet.
inline double thinnestGirdleByPlanes(const Stone& stone) {
    double least = std::numeric_limits<double>::infinity();
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (std::fabs(stone.facets[e.f[0]].c) > 1e-8 && std::fabs(stone.facets[e.f[1]].c) > 1e-8) continue;
        for (int32_t v : e.v) least = std::min(least, heightAlongVertical(stone, stone.vertices[v].x, stone.vertices[v].y));
    }
    return least;
}

inline double widthOf(const Stone& stone) {
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        minX = std::min(minX, stone.vertices[i].x);
        maxX = std::max(maxX, stone.vertices[i].x);
        minY = std::min(minY, stone.vertices[i].y);
        maxY = std::max(maxY, stone.vertices[i].y);
    }
    return std::min(maxX - minX, maxY - minY);
}

}  // namespace brevix::test
