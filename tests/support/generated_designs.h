#pragma once
// Collections of designs made on the spot: plain brilliants whose pavilion
// and crown angles and table height step through a range, so that their
// brightness spreads from dark to lively. The collection tests, the
// benchmarks and the guide's gallery picture use them.
#include <cmath>
#include <filesystem>
#include <string>

#include "files/asc_format.h"
#include "kernel/geometry.h"
#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix::testing {

// Brilliant number `i`: sixteen girdle facets on radius 1, eight pavilion
// mains to a culet, eight crown mains and a table.
inline Stone generatedBrilliant(int i) {
    const double pavilion = 36.0 + (i * 7 % 13);        // 36 to 48 degrees
    const double crown = 26.0 + (i * 5 % 11) * 1.5;     // 26 to 41 degrees
    const double table = 0.22 + 0.02 * (i % 6);
    Stone stone;
    for (int k = 0; k < 16; ++k) {
        const double az = TWO_PI * (k + 0.5) / 16;
        stone.newFacet(std::sin(az), std::cos(az), 0, 1.0);
    }
    const double p = pavilion / DEG_PER_RAD, c = crown / DEG_PER_RAD;
    for (int k = 0; k < 8; ++k) {
        const double az = TWO_PI * k / 8;
        stone.newFacet(std::sin(p) * std::sin(az), std::sin(p) * std::cos(az), -std::cos(p), std::sin(p));
        stone.newFacet(std::sin(c) * std::sin(az), std::sin(c) * std::cos(az), std::cos(c), std::sin(c));
    }
    stone.newFacet(0, 0, 1, table);
    stone.gear = 96;
    stone.symmetry = 8;
    stone.mirror = 1;
    stone.heading[0] = strprintf("Brilliant %d: pavilion %.0f, crown %.1f", i, pavilion, crown);
    return stone;
}

// Writes designs 0 .. count-1 as brilliant_NNNN.asc into `folder`.
inline void writeGeneratedDesigns(const std::filesystem::path& folder, int count) {
    std::filesystem::create_directories(folder);
    Diagnostics notes;
    for (int i = 0; i < count; ++i)
        writeAscFile(generatedBrilliant(i), (folder / strprintf("brilliant_%04d.asc", i)).string(), notes);
}

}  // namespace brevix::testing
