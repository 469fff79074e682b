#pragma once
// Hard meet-point designs for the kernel's tests: many facets through one
// point, planes through the vertices and along the edges of a design, each
// written as text with 6 or 8 decimals as the design writer writes them, and
// cut from that text with the same arithmetic as the text reader, so that a
// design found here fails the same way when it is read from a file.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/stone.h"
#include "platform/messages.h"

namespace brevix::testing {

struct TextTier {
    double angle;                 // degrees, negative on the pavilion
    double depth;                 // design units
    std::vector<double> indexes;  // notches
};

struct TextDesign {
    int gear = 96;
    std::vector<TextTier> tiers;
};

inline Vec3 normalAt(double angle, double index, double gear) {
    const double az = 2 * index * PI / gear, t = angle * PI / 180;
    const double sign = angle < 0 ? -1 : 1;
    return {sign * std::sin(az) * std::sin(t), sign * std::cos(az) * std::sin(t), sign * std::cos(t)};
}

// The design as the text writer lays it out: angle and depth in file units
// (0.9 of a design unit), then the indexes, with `decimals` places each.
inline std::string designText(const TextDesign& design, int decimals) {
    std::string text = "Brevix 5.0\ng " + std::to_string(design.gear) + " 0.0\ny 1 n\nI 1.54\n";
    char buffer[96];
    for (const TextTier& t : design.tiers) {
        std::snprintf(buffer, sizeof buffer, "a %.*f %.*f", decimals, t.angle, decimals, t.depth / 0.9);
        text += buffer;
        for (size_t i = 0; i < t.indexes.size(); ++i) {
            if (i > 0 && i % 16 == 0) text += "\n";
            std::snprintf(buffer, sizeof buffer, " %.*f", decimals, t.indexes[i]);
            text += buffer;
        }
        text += "\n";
    }
    return text;
}

inline double numberOf(const std::string& token) {
    double value = 0;
    const char* first = token.data();
    if (*first == '+') ++first;
    std::from_chars(first, token.data() + token.size(), value);
    return value;
}

// Cuts the tiers of a design text into the stone with the reader's own
// arithmetic: tilt and azimuth from the printed numbers, depth from file
// units, a negative angle cutting below. Only the g, a and index tokens
// matter to the planes.
inline void cutDesignText(Stone& stone, const std::string& text) {
    std::istringstream tokens(text);
    std::string token;
    double gear = 96, offset = 0, angle = 0, tilt = 0, depth = 0;
    bool tier = false;
    tokens >> token >> token;  // the header
    while (tokens >> token) {
        const char key = token[0];
        if (key == 'g') {
            tokens >> token;
            gear = numberOf(token);
            tokens >> token;
            offset = numberOf(token);
        } else if (key == 'y') {
            tokens >> token >> token;
        } else if (key == 'I') {
            tokens >> token;
        } else if (key == 'a') {
            tokens >> token;
            angle = numberOf(token);
            tilt = angle * 3.141592653589793 / 180;
            tokens >> token;
            depth = numberOf(token) * 0.9;
            if (angle < 0) depth = -depth;
            tier = true;
        } else if ((key == '-' || (key >= '0' && key <= '9')) && tier) {
            const double index = angle == 0 ? 0 : numberOf(token);
            const double azimuth = 2 * (index - offset) * 3.141592653589793 / gear;
            stone.cutByAngle(azimuth, tilt, depth, false);
        }
    }
}

// Angle and index of a unit normal.
inline void angleAndIndex(Vec3 n, double gear, double& angle, double& index) {
    double az = std::atan2(n.x, n.y);
    if (az < 0) az += 2 * PI;
    index = az * gear / (2 * PI);
    angle = n.z >= 0 ? std::acos(std::min(1.0, n.z)) * 180 / PI : -std::acos(std::min(1.0, -n.z)) * 180 / PI;
    if (angle == 0) index = gear;
}

// A tier of one facet through `point` at the given angle and index.
inline TextTier facetThrough(Vec3 point, double angle, double index, double gear) {
    return {angle, dot(normalAt(angle, index, gear), point), {index}};
}

// A ring of girdle facets, a table and a pavilion to a point culet.
inline void addOutline(TextDesign& d, std::mt19937_64& rng, int girdleFacets) {
    std::uniform_real_distribution<double> u(0, 1);
    TextTier girdle{90, 0.93 + 0.05 * u(rng), {}};
    for (int i = 0; i < girdleFacets; ++i) girdle.indexes.push_back(d.gear * (i + 0.5) / girdleFacets);
    d.tiers.push_back(girdle);
    d.tiers.push_back({0, 0.3 + 0.1 * u(rng), {double(d.gear)}});
}

// Facets of every kind through one point: the apex of a crown off the axis,
// a point on the girdle where star, upper-girdle and main facets meet, or a
// culet; every facet at an angle of its own, so that each is a tier and the
// rounding of each plane differs.
inline TextDesign facetsThroughOnePoint(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> u(0, 1);
    TextDesign d;
    d.gear = (rng() % 2) ? 96 : 120;
    addOutline(d, rng, 8 + 8 * static_cast<int>(rng() % 2));
    const int where = static_cast<int>(rng() % 3);
    Vec3 point;
    double lowAngle, highAngle;
    if (where == 0) {  // a crown apex, off the axis
        point = {0.1 * (u(rng) - 0.5), 0.1 * (u(rng) - 0.5), 0.45 + 0.1 * u(rng)};
        lowAngle = 25, highAngle = 45;
    } else if (where == 1) {  // a point on the girdle's upper edge
        const double az = 2 * PI * u(rng);
        point = {0.85 * std::sin(az), 0.85 * std::cos(az), 0.05};
        lowAngle = 20, highAngle = 50;
    } else {  // a culet
        point = {0.05 * (u(rng) - 0.5), 0.05 * (u(rng) - 0.5), -(0.7 + 0.2 * u(rng))};
        lowAngle = -48, highAngle = -36;
    }
    const int facets = 5 + static_cast<int>(rng() % 10);
    for (int i = 0; i < facets; ++i) {
        const double index = d.gear * (i + 0.4 * u(rng)) / facets + 0.5;
        const double angle = lowAngle + (highAngle - lowAngle) * u(rng);
        TextTier t = facetThrough(point, angle, index, d.gear);
        if (t.depth > 0.05) d.tiers.push_back(t);
    }
    return d;
}

// A small design, then planes through its vertices and through points on
// its edges, at offsets from 0 to 1e-7 from them.
inline TextDesign planesThroughVerticesAndEdges(std::mt19937_64& rng, int decimals) {
    std::uniform_real_distribution<double> u(0, 1);
    TextDesign d;
    d.gear = 96;
    addOutline(d, rng, 8);
    d.tiers.push_back({-(38 + 5 * u(rng)), 0.6 + 0.1 * u(rng), {12, 24, 36, 48, 60, 72, 84, 96}});
    d.tiers.push_back({30 + 8 * u(rng), 0.6 + 0.05 * u(rng), {6, 18, 30, 42, 54, 66, 78, 90}});
    static const double offsets[] = {0, 1e-10, 3e-9, 1e-8, 2e-8, 1e-7};
    const int extra = 3 + static_cast<int>(rng() % 8);
    for (int k = 0; k < extra; ++k) {
        Stone stone;
        {
            RecordingSink quiet;
            ScopedMessageSink guard(quiet);
            cutDesignText(stone, designText(d, decimals));
        }
        Vec3 through = stone.vertices[rng() % stone.nVertex].pos();
        if (rng() % 2) {
            const Edge& e = stone.edges[rng() % stone.nEdge];
            const double t = u(rng);
            through = (1 - t) * stone.vertices[e.v[0]].pos() + t * stone.vertices[e.v[1]].pos();
        }
        std::normal_distribution<double> wobble(0, 0.35);
        Vec3 n = through * (1 / std::max(1e-9, length(through))) + Vec3{wobble(rng), wobble(rng), wobble(rng)};
        n = n * (1 / length(n));
        double angle, index;
        angleAndIndex(n, d.gear, angle, index);
        const double depth = dot(normalAt(angle, index, d.gear), through);
        if (depth <= 0.05) continue;
        d.tiers.push_back({angle, depth + offsets[rng() % 6] * (rng() % 2 ? 1 : -1), {index}});
    }
    return d;
}

// The design of a seed: even seeds give many facets through one point, odd
// seeds planes through vertices and edges.
inline TextDesign hardDesign(unsigned seed, int decimals) {
    std::mt19937_64 rng(seed);
    return seed % 2 == 0 ? facetsThroughOnePoint(rng) : planesThroughVerticesAndEdges(rng, decimals);
}

}  // namespace brevix::testing
