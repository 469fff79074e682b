#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>

#include "files/asc_format.h"
#include "intent/brilliant_intent.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "intent/intent_words.h"
#include "intent_test_support.h"
#include "platform/messages.h"

namespace brevix {
namespace {

std::span<const unsigned char> bytesOf(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string ascOf(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeAsc(stone, out, notes);
    return out.str();
}

TEST(IntentFile, ABrilliantWithItsIntentRoundTripsByteForByte) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const std::string text = writeIntentText(built.stone, built.intent);
    EXPECT_EQ(text.substr(0, 16), "Brevix intent 1\n");
    // One line a tier, after the header and the design's own lines.
    EXPECT_NE(text.find("\ntier -42 "), std::string::npos) << text;
    EXPECT_NE(text.find("| points 1 0 0 meet 3 0:93 0:3 1:96 |"), std::string::npos) << text;
    const IntentFileRead read = readIntentText(bytesOf(text));
    ASSERT_TRUE(read.problem.empty()) << read.problem;
    EXPECT_EQ(read.intent, built.intent);
    EXPECT_EQ(writeIntentText(read.stone, read.intent), text);
    EXPECT_EQ(designBytes(read.stone), designBytes(built.stone));
}

TEST(IntentFile, ALegacyTextDesignComesBackAsTheSameBytes) {
    const std::string original = [] {
        std::ostringstream out;
        Diagnostics notes;
        writeAsc(readSample("round_brilliant.asc"), out, notes);
        return out.str();
    }();
    std::ifstream file(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc", std::ios::binary);
    const std::string onDisk((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(original, onDisk);
    const Stone legacy = readSample("round_brilliant.asc");
    const std::string text = writeIntentText(legacy, intentOf(legacy, nullptr));
    const IntentFileRead read = readIntentText(bytesOf(text));
    ASSERT_TRUE(read.problem.empty()) << read.problem;
    EXPECT_EQ(ascOf(read.stone), onDisk);
    for (const TierIntent& tier : read.intent.tiers) EXPECT_TRUE(tier.inferred);
    EXPECT_EQ(writeIntentText(read.stone, read.intent), text);
}

TEST(IntentFile, NamesAndTextsWithBlanksSurvive) {
    DesignWithIntent built = cutRoundBrilliantByIntent();
    built.stone.heading[2] = "100% | clear";
    built.stone.facets[built.stone.nFacet - 1].name = "-x y";
    const std::string text = writeIntentText(built.stone, built.intent);
    const IntentFileRead read = readIntentText(bytesOf(text));
    ASSERT_TRUE(read.problem.empty()) << read.problem;
    EXPECT_EQ(read.stone.heading[2], "100% | clear");
    EXPECT_EQ(writeIntentText(read.stone, read.intent), text);
}

TEST(IntentFile, DamagedFilesStopWithTheLineAndKeepWhatCameBefore) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    std::string text = writeIntentText(built.stone, built.intent);
    EXPECT_EQ(readIntentText(bytesOf("Brevix 5.0\n")).problem, "Not a Brevix intent file");
    // A meet naming a tier that comes later.
    std::string forward = text;
    forward.replace(forward.find("meet 3 0:93 0:3 1:96"), 20, "meet 3 0:93 0:3 5:96");
    IntentFileRead read = readIntentText(bytesOf(forward));
    EXPECT_EQ(read.problem,
              "Reading stopped at line 8: a tier's depth rule cannot be read; the design holds the tiers before it");
    EXPECT_EQ(read.intent.tiers.size(), 2u);
    EXPECT_EQ(read.stone.nFacet - read.stone.nRough, 24);
    for (const char* bad : {"gear 0 0", "gear 96 nan", "tier 91 1 3 8 1 | 3 | - | typed | -",
                            "tier 40 0 3 8 1 | 3 | - | typed | -", "tier 40 1 3 8 1 | 3 | - - | typed | -",
                            "tier 40 1 3 8 1 | | | typed | -", "tier 40 1 3 8 1 | 3 | - | points 1 0 0 between 0.5 l between 0.5 l between 0.5 l between 0.5 l between 0.5 l between 0.5 l between 0.5 l between 0.5 l between 0.5 l centre 1 | -",
                            "heading 5 x", "tier 40 1 3 8 1 | 3 | %4 | typed | -"}) {
        read = readIntentText(bytesOf(std::string("Brevix intent 1\n") + bad + "\n"));
        EXPECT_NE(read.problem.find("Reading stopped at line 2"), std::string::npos) << bad;
    }
}

}  // namespace
}  // namespace brevix
