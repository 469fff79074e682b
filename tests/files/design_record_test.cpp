// The readers only read into a design record; buildStone cuts it. Each
// format's record must build the design the file holds, whatever format it
// came from, and building must not depend on anything another thread does.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/build_stone.h"
#include "platform/diag_codes.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

Stone built(const DesignRecord& record) {
    Stone stone(ROUGH_HALF);
    buildStone(stone, record);
    return stone;
}

void expectSameDesign(const Stone& x, const Stone& y, double tolerance = 1e-9, bool settings = true,
                      bool instructions = true) {
    ASSERT_EQ(x.nFacet, y.nFacet);
    ASSERT_EQ(x.nVertex, y.nVertex);
    for (int32_t i = 0; i < x.nFacet; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(x.facets[i].name, y.facets[i].name);
        if (instructions) {
            EXPECT_EQ(x.facets[i].instruction, y.facets[i].instruction);
        }
        EXPECT_NEAR(x.facets[i].a, y.facets[i].a, tolerance);
        EXPECT_NEAR(x.facets[i].b, y.facets[i].b, tolerance);
        EXPECT_NEAR(x.facets[i].c, y.facets[i].c, tolerance);
        EXPECT_NEAR(x.facets[i].d, y.facets[i].d, tolerance);
    }
    if (settings) {
        EXPECT_EQ(settingsOf(x), settingsOf(y));
    }
}

}  // namespace

// The brilliant over its preform, with lines, settings and instructions:
// written in both formats, read into records and built, it is one design
// (the text format infers the preform the binary format stores, and gives
// its instructions by tier where the binary format gives them by facet).
TEST(DesignRecord, TextAndBinaryRecordsBuildTheSameStone) {
    Stone design = makeBrilliantOverPreform();
    design.heading = {"Both formats", "second", "", ""};
    design.footnote = {"Foot", "", "", ""};
    design.refractiveIndex = 1.76;
    design.symmetry = 4;
    design.mirror = 0;
    design.indexOffset = 1.5;
    // The text keeps fewer digits than the design has: the binary file is
    // written from the design the text gives.
    const std::string ascText = ascOf(design);
    const DesignRecord text = readAscRecord(bytesOf(ascText));
    const DesignRecord binary = readGemRecord(bytesOf(gemOf(fromAsc(ascText))));
    EXPECT_TRUE(text.notes.empty());
    EXPECT_TRUE(binary.notes.size() == 1 && binary.notes[0].note.text == "File has a preform");
    ASSERT_TRUE(binary.preform);
    const DesignSettings t = text.settings(), b = binary.settings();
    EXPECT_EQ(t.gear, b.gear);
    EXPECT_EQ(t.indexOffset, b.indexOffset);
    EXPECT_EQ(t.refractiveIndex, b.refractiveIndex);
    EXPECT_EQ(t.symmetry, b.symmetry);
    EXPECT_EQ(t.mirror, b.mirror);
    EXPECT_EQ(t.heading, b.heading);
    EXPECT_EQ(t.footnote, b.footnote);
    // The binary format stores only the planes that made facets; the text
    // format every index of a tier, so it may hold more.
    EXPECT_GE(text.planes.size(), binary.planes.size());

    Stone fromText = built(text), fromBinary = built(binary);
    EXPECT_TRUE(fromText.takeDiagnostics().empty());
    (void)fromBinary.takeDiagnostics();
    expectSameDesign(fromText, fromBinary);
    // Both are the design itself, to the digits the text keeps (a tier's
    // instruction is written with one facet of the tier, not necessarily
    // the one the design holds it on).
    expectSameDesign(fromText, design, 1e-7, true, false);
    expectSameDesign(built(readGemRecord(bytesOf(gemOf(design)))), design, 1e-12, true, false);
    ASSERT_TRUE(fromText.preform && fromBinary.preform);
    // The text format's preform has no symmetry of its own.
    expectSameDesign(*fromText.preform, *fromBinary.preform, 1e-9, false);
}

// Each thread reads and builds its own record of the same file; every stone
// must be the one a single thread builds, notes and all.
TEST(DesignRecord, RecordsBuildOnSeveralThreadsAtOnce) {
    const std::string asc = readFileBytes(samplesDir() / "round_brilliant.asc");
    const std::string gem = readFileBytes(samplesDir() / "oval_brilliant.gem");
    const Stone alone = built(readAscRecord(bytesOf(asc)));
    const Stone aloneGem = built(readGemRecord(bytesOf(gem)));
    constexpr int kThreads = 4;
    std::vector<Stone> stones(kThreads), gemStones(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                stones[t] = built(readAscRecord(bytesOf(asc)));
                gemStones[t] = built(readGemRecord(bytesOf(gem)));
            }
        });
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        SCOPED_TRACE(t);
        expectSameDesign(stones[t], alone);
        expectSameDesign(gemStones[t], aloneGem);
        for (int32_t i = 0; i < alone.nVertex; ++i) {
            EXPECT_EQ(stones[t].vertices[i].x, alone.vertices[i].x);
            EXPECT_EQ(stones[t].vertices[i].z, alone.vertices[i].z);
        }
    }
}

// A plane the kernel cannot cut ends the design there: the stone keeps what
// came before it (planes, settings, notes, the events a tally counts) and
// nothing reading found after it, as a reader that cut as it went would.
TEST(DesignRecord, ACutTheKernelCannotMakeKeepsOnlyWhatCameBeforeIt) {
    DesignRecord record;
    FacetPlane table;
    table.c = 1;
    table.d = 0.5;
    table.name = "T";
    FacetPlane beyond;  // keeps nothing of the stone
    beyond.c = 1;
    beyond.d = -5;
    beyond.name = "X";
    record.planes = {table, beyond};
    DesignSettings early, late;
    early.refractiveIndex = 1.6;
    early.heading[0] = "early";
    late.refractiveIndex = 1.9;
    late.heading[0] = "late";
    record.stages = {{0, early}, {2, late}};
    record.notes = {{0, {DiagKind::Warning, "first"}},
                    {1, {DiagKind::Warning, "second"}},
                    {2, {DiagKind::Warning, "never"}}};
    record.tallies = {{DiagKind::Warning, DiagCode::FileIndexNotFinite, "%d skipped", {0, 1, 2}}};
    record.preform = std::make_unique<DesignRecord>();

    Stone stone = built(record);
    const Diagnostics said = stone.takeDiagnostics();
    const std::vector<std::string> texts = said.texts();
    ASSERT_EQ(texts.size(), 5u);
    // The codes travel with the notes: the stop and the tally are told apart without their texts.
    EXPECT_EQ(said[3].code, DiagCode::FileReadStoppedAtFacet);
    EXPECT_EQ(said[4].code, DiagCode::FileIndexNotFinite);
    EXPECT_EQ(texts[0], "first");
    EXPECT_EQ(texts[1], "second");
    EXPECT_TRUE(texts[2].starts_with("Internal error: ")) << texts[2];
    EXPECT_EQ(texts[3], "Reading stopped at facet plane 2; the design holds the facets before it");
    EXPECT_EQ(texts[4], "2 skipped");
    EXPECT_EQ(settingsOf(stone), early);
    EXPECT_EQ(stone.eulerSum(), 2);
    EXPECT_FALSE(stone.preform);
    int tables = 0, others = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        tables += stone.facets[i].name == "T";
        others += stone.facets[i].name == "X";
    }
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(others, 0);
}
