// Designs whose tiers meet in common points, written with 6 or 8 decimals
// as the writer writes them: three or more planes then pass within 1e-9 to
// 1e-6 of each other's meet points. Each must read whole, pass the full
// check, survive a rebuild from its planes, and be the solid an independent
// brute-force intersection of the same planes gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "design/measures.h"
#include "file_test_support.h"
#include "files/asc_format.h"
#include "halfspace_oracle.h"
#include "kernel/checks.h"
#include "kernel/stone.h"
#include "platform/messages.h"

namespace brevix {
namespace {

using testing::HalfSpaceOracle;
using testing::OraclePlane;

constexpr long double PI_L = 3.141592653589793238462643383279L;

// The planes a text design asks for, read with a tokenizer of the test's own:
// tiers of angle and depth (file units, 0.9 of a design unit), each index a plane.
std::vector<OraclePlane> planesOfText(const std::string& text) {
    std::vector<OraclePlane> planes;
    std::istringstream lines(text);
    std::string line;
    long double gear = 96, offset = 0, angle = 0, depth = 0;
    bool tier = false;
    while (std::getline(lines, line)) {
        std::istringstream tokens(line);
        std::string token;
        while (tokens >> token) {
            const char key = token[0];
            if (key == 'H' || key == 'F' || key == 'G') break;  // the rest is text
            if (key == 'g') {
                tokens >> gear >> offset;
            } else if (key == 'y' || key == 'n') {
                tokens >> token;
                if (key == 'y') tokens >> token;
            } else if (key == 'I') {
                tokens >> token;
            } else if (key == 'a') {
                tokens >> angle >> depth;
                tier = true;
            } else if ((key == '-' || (key >= '0' && key <= '9')) && tier) {
                const long double index = angle == 0 ? 0 : std::strtold(token.c_str(), nullptr);
                const long double az = 2 * (index - offset) * PI_L / gear, t = angle * PI_L / 180;
                const long double sign = angle < 0 ? -1 : 1;
                planes.push_back({sign * std::sin(az) * std::sin(t), sign * std::cos(az) * std::sin(t),
                                  sign * std::cos(t), std::fabs(depth) * 0.9L});
            }
        }
    }
    return planes;
}

// Reads the text, then compares the stone with the oracle of the same planes.
void expectWholeAndRight(const std::string& text, const std::string& label) {
    SCOPED_TRACE(label);
    RecordingSink sink;
    ScopedMessageSink guard(sink);
    Stone stone;
    readAsc(stone, testing::bytesOf(text));
    testing::passOn(stone);
    for (const auto& m : sink.texts()) {
        EXPECT_EQ(m.find("Internal error"), std::string::npos) << m;
        EXPECT_EQ(m.find("Reading stopped"), std::string::npos) << m;
    }

    std::ostringstream report;
    ASSERT_TRUE(checkstone(stone, report)) << report.str();
    EXPECT_EQ(report.str().find("coincide"), std::string::npos) << report.str();

    const HalfSpaceOracle oracle(planesOfText(text));
    ASSERT_FALSE(oracle.corners().empty());
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        EXPECT_LE(oracle.outsideBy(v.x, v.y, v.z), 1e-7L) << "vertex " << i;
    }
    // Each bounds the other: the oracle's corners lie within the stone's facets.
    for (const auto& q : oracle.corners())
        for (int32_t f = 0; f < stone.nFacet; ++f) {
            const Facet& p = stone.facets[f];
            ASSERT_LE(p.a * q.x + p.b * q.y + p.c * q.z - p.d, 1e-7L) << "facet " << f;
        }
    const long double expected = oracle.volume();
    EXPECT_NEAR(computeVolume(stone), expected, 1e-6L * expected);

    // The rebuild takes the planes in order again and must come out whole too.
    stone.regenerate();
    std::ostringstream again;
    EXPECT_TRUE(checkstone(stone, again)) << again.str();
    EXPECT_EQ(again.str().find("coincide"), std::string::npos) << again.str();
    EXPECT_NEAR(computeVolume(stone), expected, 1e-6L * expected);
    testing::passOn(stone);
    for (const auto& m : sink.texts()) EXPECT_EQ(m.find("Internal error"), std::string::npos) << m;
}

TEST(MeetPointDesigns, TheCollectedCasesReadWholeAndEqualTheirIntersection) {
    const auto dir = std::filesystem::path(BREVIX_SOURCE_DIR) / "tests/files/meet_points";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string text = testing::readFileBytes(entry.path());
        if (entry.path().filename() == "huge-depth.asc") {
            // A plane 1e200 from the centre misses; nothing else is asked.
            RecordingSink sink;
            ScopedMessageSink guard(sink);
            Stone stone;
            readAsc(stone, testing::bytesOf(text));
            testing::passOn(stone);
            for (int32_t i = 0; i < stone.nVertex; ++i) EXPECT_TRUE(std::isfinite(stone.vertices[i].x));
            std::ostringstream report;
            EXPECT_TRUE(checkstone(stone, report)) << report.str();
            ++files;
            continue;
        }
        expectWholeAndRight(text, entry.path().filename().string());
        ++files;
    }
    EXPECT_EQ(files, 14);
}

// ---- a generator of hard designs ------------------------------------------

struct Tier {
    double angle;                 // degrees, negative on the pavilion
    double depth;                 // design units
    std::vector<double> indexes;  // notches
};

// The unit normal the reader builds for an angle and an index.
Vec3 normalOf(double angle, double index, double gear) {
    const double az = 2 * index * PI / gear, t = angle * PI / 180;
    const double sign = angle < 0 ? -1 : 1;
    return {sign * std::sin(az) * std::sin(t), sign * std::cos(az) * std::sin(t), sign * std::cos(t)};
}

// Angle and index of a unit normal, the inverse of normalOf.
void angleIndexOf(Vec3 n, double gear, double& angle, double& index) {
    double az = std::atan2(n.x, n.y);
    if (az < 0) az += 2 * PI;
    index = az * gear / (2 * PI);
    if (n.z >= 0)
        angle = std::acos(std::min(1.0, n.z)) * 180 / PI;
    else
        angle = -std::acos(std::min(1.0, -n.z)) * 180 / PI;
    if (angle == 0) index = gear;  // straight up: the table
}

std::string textOf(const std::vector<Tier>& tiers, int gear, int decimals) {
    std::string text = "Brevix 5.0\ng " + std::to_string(gear) + " 0.0\ny 1 n\nI 1.54\n";
    char buffer[96];
    for (const Tier& t : tiers) {
        std::snprintf(buffer, sizeof buffer, "a %.*f %.*f", decimals, t.angle, decimals, t.depth / 0.9);
        text += buffer;
        // Sixteen indexes a line, as the writer does: the reader's lines hold 511 characters.
        for (size_t i = 0; i < t.indexes.size(); ++i) {
            if (i > 0 && i % 16 == 0) text += "\n";
            std::snprintf(buffer, sizeof buffer, " %.*f", decimals, t.indexes[i]);
            text += buffer;
        }
        text += "\n";
    }
    return text;
}

// A tier whose every facet passes through `point`.
Tier tierThrough(Vec3 point, double angle, std::vector<double> indexes, double gear) {
    // One depth for the tier: the point must be on the axis of the tier's
    // symmetry for all of them to meet it; off the axis each facet is a tier.
    return {angle, dot(normalOf(angle, indexes[0], gear), point), std::move(indexes)};
}

std::vector<Tier> girdleAndTable(std::mt19937_64& rng, int gear, int count) {
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Tier> tiers;
    Tier girdle{90, 0.95 + 0.04 * u(rng), {}};
    for (int i = 0; i < count; ++i) girdle.indexes.push_back(gear * (i + 0.5) / count);
    tiers.push_back(girdle);
    tiers.push_back({0, 0.35 + 0.1 * u(rng), {double(gear)}});
    return tiers;
}

// Pavilion tiers through one culet, 8 to 128 facets in up to three tiers,
// with a crown of mains through one apex on the axis.
std::vector<Tier> culetDesign(std::mt19937_64& rng, int& gear) {
    static const int counts[] = {8, 16, 32, 64, 128};
    std::uniform_real_distribution<double> u(0, 1);
    const int facets = counts[rng() % 5];
    gear = facets > 96 ? 128 : 96;
    if (facets == 64) gear = 64;
    std::vector<Tier> tiers = girdleAndTable(rng, gear, 16);
    const Vec3 culet{0, 0, -(0.75 + 0.15 * u(rng))};
    const int pavilionTiers = 1 + static_cast<int>(rng() % 3);
    for (int t = 0; t < pavilionTiers; ++t) {
        std::vector<double> indexes;
        const int per = std::max(2, facets / pavilionTiers);
        for (int i = 0; i < per; ++i) indexes.push_back(gear * (i + 0.25 * t) / per + (t ? 0 : gear));
        const double angle = -(38 + 7 * u(rng));
        tiers.push_back(tierThrough(culet, angle, indexes, gear));
    }
    const Vec3 apex{0, 0, 0.55 + 0.1 * u(rng)};
    std::vector<double> mains;
    for (int i = 0; i < 8; ++i) mains.push_back(gear * (i + 1) / 8.0);
    tiers.push_back(tierThrough(apex, 30 + 10 * u(rng), mains, gear));
    return tiers;
}

// An oval's crown: facets of several angles through one apex off the axis,
// each its own tier, on an oval girdle.
std::vector<Tier> ovalCrownDesign(std::mt19937_64& rng, int& gear) {
    gear = 96;
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Tier> tiers;
    for (int i = 0; i < 16; ++i) {
        const double az = 2 * PI * (i + 0.5) / 16;
        const double r = 0.7 * 0.95 / std::hypot(0.7 * std::cos(az), 0.95 * std::sin(az));
        tiers.push_back({90, r, {gear * (i + 0.5) / 16}});
    }
    const Vec3 apex{0.05 * (u(rng) - 0.5), 0.2 * (u(rng) - 0.5), 0.5 + 0.15 * u(rng)};
    const int facets = 5 + static_cast<int>(rng() % 12);
    for (int i = 0; i < facets; ++i) {
        const double index = gear * (i + 0.3 * u(rng)) / facets + 0.5;
        const double angle = 30 + 12 * u(rng);
        tiers.push_back({angle, dot(normalOf(angle, index, gear), apex), {index}});
    }
    const Vec3 culet{0, 0, -0.8};
    std::vector<double> pavilion;
    for (int i = 0; i < 8; ++i) pavilion.push_back(gear * (i + 1) / 8.0);
    tiers.push_back(tierThrough(culet, -41, pavilion, gear));
    return tiers;
}

// A base design, then planes through its vertices and along its edges at
// offsets from 0 to 1e-6, and near-parallel copies of its planes.
std::vector<Tier> throughVerticesDesign(std::mt19937_64& rng, int& gear) {
    gear = 96;
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Tier> tiers = girdleAndTable(rng, gear, 8 + 8 * static_cast<int>(rng() % 2));
    tiers.push_back({-(39 + 4 * u(rng)), 0.6 + 0.1 * u(rng), {12, 24, 36, 48, 60, 72, 84, 96}});
    tiers.push_back({32 + 6 * u(rng), 0.6 + 0.05 * u(rng), {6, 18, 30, 42, 54, 66, 78, 90}});
    static const double offsets[] = {0, 1e-10, 1e-9, 5e-9, 1e-8, 2e-8, 5e-8, 1e-7, 1e-6};
    const int extra = 4 + static_cast<int>(rng() % 10);
    for (int k = 0; k < extra; ++k) {
        // Build the design so far to find its vertices and edges.
        Stone stone;
        {
            RecordingSink quiet;
            ScopedMessageSink guard(quiet);
            readAsc(stone, testing::bytesOf(textOf(tiers, gear, 8)));
            testing::passOn(stone);
        }
        const Vertex& v = stone.vertices[rng() % stone.nVertex];
        Vec3 through = v.pos();
        if (rng() % 2) {  // along an edge: through its midpoint, perpendicular to it
            const Edge& e = stone.edges[rng() % stone.nEdge];
            through = 0.5 * (stone.vertices[e.v[0]].pos() + stone.vertices[e.v[1]].pos());
        }
        Vec3 n = through * (1 / std::max(1e-9, length(through)));
        std::normal_distribution<double> wobble(0, 0.3);
        n = n + Vec3{wobble(rng), wobble(rng), wobble(rng)};
        n = n * (1 / length(n));
        double angle, index;
        angleIndexOf(n, gear, angle, index);
        const Vec3 exactNormal = normalOf(angle, index, gear);
        double depth = dot(exactNormal, through);
        if (depth <= 0.05) continue;
        const double offset = offsets[rng() % 9] * (rng() % 2 ? 1 : -1);
        tiers.push_back({angle, depth + offset, {index}});
        if (rng() % 3 == 0) {  // a near-parallel twin of it
            const double tilt = (1e-6 + 1e-4 * u(rng)) * (rng() % 2 ? 1 : -1);
            tiers.push_back({angle + tilt, depth + offset * u(rng), {index + tilt}});
        }
    }
    return tiers;
}

TEST(MeetPointDesigns, GeneratedDesignsReadWholeAtSixAndEightDecimals) {
    int designs = 0;
    for (unsigned seed = 1; seed <= 120; ++seed) {
        std::mt19937_64 rng(seed);
        int gear = 96;
        std::vector<Tier> tiers;
        switch (seed % 3) {
        case 0: tiers = culetDesign(rng, gear); break;
        case 1: tiers = ovalCrownDesign(rng, gear); break;
        default: tiers = throughVerticesDesign(rng, gear); break;
        }
        for (int decimals : {6, 8}) {
            expectWholeAndRight(textOf(tiers, gear, decimals),
                                "seed " + std::to_string(seed) + " at " + std::to_string(decimals));
            ++designs;
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(designs, 240);
}

}  // namespace
}  // namespace brevix
