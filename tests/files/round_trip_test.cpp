// Reading a design file and writing it again must give the very same bytes.
#include <gtest/gtest.h>

#include "design/sample_designs.h"
#include "file_test_support.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

const char* const kSamples[] = {"round_brilliant", "oval_brilliant", "emerald_cut",
                                "square_step_cut"};

// A design cut from angles is written, read and written again: from then
// on the bytes must not change. (The first file may differ from the second
// in the last bits of the corners, which the reader rebuilds from the planes.)
std::string settled(const Stone& design, bool gem) {
    const std::string first = gem ? gemOf(design) : ascOf(design);
    const std::string second = gem ? gemOf(fromGem(first)) : ascOf(fromAsc(first));
    const std::string third = gem ? gemOf(fromGem(second)) : ascOf(fromAsc(second));
    EXPECT_TRUE(second == third) << (gem ? ".gem" : ".asc") << " bytes keep changing";
    return second;
}

// The brilliant with the girdle and pavilion of its first rows as preform;
// the first design cut wipes out a preform facet, where the text reader puts
// the preform boundary.
Stone brilliantWithPreform() {
    Stone s = makeBrilliantOverPreform();
    s.heading = {"With preform", "", "", ""};
    s.footnote = {"", "Foot", "", ""};
    return s;
}

}  // namespace

TEST(RoundTrip, SampleFilesReadAndWriteBackByteForByte) {
    for (const char* name : kSamples) {
        SCOPED_TRACE(name);
        const std::string asc = readFileBytes(samplesDir() / (std::string(name) + ".asc"));
        const std::string gem = readFileBytes(samplesDir() / (std::string(name) + ".gem"));
        ASSERT_FALSE(asc.empty());
        ASSERT_FALSE(gem.empty());
        ASSERT_TRUE(isAscFile(bytesOf(asc)));
        ASSERT_TRUE(isGemFile(bytesOf(gem)));
        Messages m;
        const Stone fromText = fromAsc(asc), fromBinary = fromGem(gem);
        EXPECT_TRUE(ascOf(fromText) == asc);
        EXPECT_TRUE(gemOf(fromBinary) == gem);
        EXPECT_TRUE(m.texts().empty());
        // Both files hold the same design.
        ASSERT_EQ(fromText.nFacet, fromBinary.nFacet);
        for (int32_t i = 0; i < fromText.nFacet; ++i) {
            EXPECT_EQ(fromText.facets[i].name, fromBinary.facets[i].name);
            EXPECT_NEAR(fromText.facets[i].d, fromBinary.facets[i].d, 1e-8);
        }
        EXPECT_EQ(fromText.heading, fromBinary.heading);
        EXPECT_EQ(fromText.symmetry, fromBinary.symmetry);
    }
}

TEST(RoundTrip, EverySampleDesignSettlesAfterOnePass) {
    for (Stone (*make)() : {makeRoundBrilliant, makeOvalBrilliant, makeEmeraldCut, makeSquareStepCut}) {
        const Stone design = make();
        EXPECT_EQ(settled(design, false), ascOf(design));  // text: not a single bit lost
        settled(design, true);
    }
}

TEST(RoundTrip, SamplesAreTheDesignsTheyAreNamedFor) {
    const Stone design = makeRoundBrilliantThroughMeets();
    const Stone back = fromAsc(readFileBytes(samplesDir() / "round_brilliant.asc"));
    ASSERT_EQ(back.nFacet, design.nFacet);
    for (int32_t i = 0; i < design.nFacet; ++i) {
        EXPECT_EQ(back.facets[i].name, design.facets[i].name);
        EXPECT_EQ(back.facets[i].tier, design.facets[i].tier);
        EXPECT_NEAR(back.facets[i].a, design.facets[i].a, 1e-7);
        EXPECT_NEAR(back.facets[i].c, design.facets[i].c, 1e-7);
        EXPECT_NEAR(back.facets[i].d, design.facets[i].d, 1e-8);
    }
}

TEST(RoundTrip, DesignWithPreformSurvivesBothFormats) {
    const Stone design = brilliantWithPreform();
    Messages m;
    const std::string asc = settled(design, false);
    const Stone text = fromAsc(asc);
    ASSERT_NE(text.preform, nullptr);
    EXPECT_EQ(designFacets(*text.preform), 12);
    EXPECT_EQ(text.facets[text.nFacet - 1].name, "T");
    EXPECT_TRUE(ascOf(text) == asc);

    const std::string gem = settled(design, true);
    const Stone binary = fromGem(gem);
    ASSERT_NE(binary.preform, nullptr);
    EXPECT_EQ(designFacets(*binary.preform), 12);
    EXPECT_EQ(binary.footnote[1], "Foot");
    EXPECT_TRUE(gemOf(binary) == gem);

    // One pass through the text format keeps the preform where it was.
    EXPECT_EQ(designFacets(*fromAsc(ascOf(design)).preform), designFacets(*design.preform));
}
