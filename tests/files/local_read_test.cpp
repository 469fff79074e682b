// Reading cuts a design's planes locally once the stone is large. Whatever
// the stone's size when local cuts start, the stone read must be the one
// cutting plane after plane with newFacet gives: records, working marks,
// notes in their order, names, instructions, settings and the preform,
// and the ending of a file whose cut the kernel gave up on.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/asc_format.h"
#include "files/build_stone.h"
#include "files/gem_format.h"
#include "kernel/identical_records.h"
#include "kernel/stone.h"

namespace brevix {
namespace {

::testing::AssertionResult sameDesign(const Stone& p, const Stone& q) {
    if (auto same = testing::identicalRecordByRecord(p, q); !same) return same;
    if (p.gear != q.gear || p.symmetry != q.symmetry || p.mirror != q.mirror || p.heading != q.heading ||
        p.footnote != q.footnote || !testing::sameBits(p.refractiveIndex, q.refractiveIndex) ||
        !testing::sameBits(p.indexOffset, q.indexOffset))
        return ::testing::AssertionFailure() << "settings differ";
    if (!p.preform != !q.preform) return ::testing::AssertionFailure() << "one has a preform";
    if (p.preform) return sameDesign(*p.preform, *q.preform);
    return ::testing::AssertionSuccess();
}

// The record built one plane after the other, and with local cuts from the
// first plane and from the usual size on.
void expectLocalReadingAsOneByOne(const DesignRecord& record) {
    Stone truth, early, usual;
    buildStone(truth, record, INT32_MAX);
    buildStone(early, record, 0);
    buildStone(usual, record);
    EXPECT_TRUE(sameDesign(truth, early));
    EXPECT_TRUE(sameDesign(truth, usual));
}

std::vector<unsigned char> designBytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<unsigned char> designFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReadingLocally, EveryDesignFileReadsAsOneByOne) {
    namespace fs = std::filesystem;
    const fs::path root = BREVIX_SOURCE_DIR;
    int compared = 0;
    for (const fs::path& folder : {root / "samples", root / "fuzz/corpus/asc", root / "fuzz/corpus/gem",
                                   root.parent_path() / "shared/kernel-cases"}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            const std::vector<unsigned char> bytes = designFileBytes(entry.path());
            SCOPED_TRACE(entry.path().string());
            if (isGemFile(bytes)) {
                expectLocalReadingAsOneByOne(readGemRecord(bytes));
                ++compared;
            } else if (isAscFile(bytes)) {
                expectLocalReadingAsOneByOne(readAscRecord(bytes));
                ++compared;
            }
        }
    }
    EXPECT_GE(compared, 9);
}

// A large stone of random planes, some meeting at rounded depths, with
// names and instructions, written in both formats and read back.
Stone randomNamedStone(unsigned seed, int planes) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> radius(0.88, 0.92);
    Stone stone;
    for (int i = 0; i < planes; ++i) {
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        double d = radius(rng);
        if (i % 3 == 0) d = std::round(d / 0.01) * 0.01;
        const int removed = stone.newFacet(n.x, n.y, n.z, d);
        if (removed < 0) continue;
        if (i % 4 == 0) stone.setFacetName(stone.nFacet - 1, "F" + std::to_string(i));
        if (i % 9 == 0) stone.setInstruction(stone.nFacet - 1, "Step " + std::to_string(i));
    }
    return stone;
}

TEST(ReadingLocally, LargeDesignsInBothFormatsReadAsOneByOne) {
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        Stone stone = randomNamedStone(seed, 700);
        stone.setPreform(std::make_unique<Stone>(randomNamedStone(seed + 10, 300)));
        Diagnostics notes;
        std::ostringstream gem, asc;
        ASSERT_TRUE(writeGem(stone, gem, notes));
        ASSERT_TRUE(writeAsc(stone, asc, notes));
        const DesignRecord fromGem = readGemRecord(designBytesOf(gem.str()));
        ASSERT_GT(fromGem.planes.size(), 250u);
        expectLocalReadingAsOneByOne(fromGem);
        expectLocalReadingAsOneByOne(readAscRecord(designBytesOf(asc.str())));
    }
}

// Planes appended after a large design that cut nothing, that the kernel
// ignores, or that come last: the marks the stone keeps are those of the
// last plane newFacet took.
TEST(ReadingLocally, TrailingPlanesThatCutNothingOrAreIgnored) {
    Stone stone = randomNamedStone(5, 500);
    Diagnostics notes;
    std::ostringstream gem;
    ASSERT_TRUE(writeGem(stone, gem, notes));
    for (int tail = 0; tail < 3; ++tail) {
        SCOPED_TRACE(tail);
        DesignRecord longer = readGemRecord(designBytesOf(gem.str()));
        FacetPlane plane;
        plane.a = 0.6, plane.b = 0, plane.c = 0.8, plane.d = 5;  // misses
        if (tail >= 1) longer.planes.push_back(plane);
        plane.a = plane.b = plane.c = 0.01;  // a normal too short: ignored
        if (tail >= 2) longer.planes.push_back(plane);
        expectLocalReadingAsOneByOne(longer);
    }
}

}  // namespace
}  // namespace brevix
