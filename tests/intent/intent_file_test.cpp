#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>
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
#include "support/test_files.h"

namespace brevix {
namespace {

using testing::bytesOf;

std::string ascOf(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeAsc(stone, out, notes);
    return out.str();
}

TEST(IntentFile, ABrilliantWithItsIntentRoundTripsByteForByte) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const std::string text = writeIntentText(built.stone, built.intent);
    EXPECT_EQ(text.substr(0, 16), "Brevix intent 2\n");
    EXPECT_EQ(text.substr(text.size() - 5), "\nend\n");
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

// A file cut short at any line end is told from a whole one by its end
// line; one written before the end line is read as it stands, with a note.
TEST(IntentFile, OnlyTheEndLineMakesAFileWhole) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const std::string text = writeIntentText(built.stone, built.intent);
    const IntentFileRead whole = readIntentText(bytesOf(text));
    EXPECT_TRUE(whole.problem.empty()) << whole.problem;
    EXPECT_TRUE(whole.note.empty()) << whole.note;
    for (size_t end = text.find('\n'); end + 1 < text.size(); end = text.find('\n', end + 1)) {
        const IntentFileRead cut = readIntentText(bytesOf(text.substr(0, end + 1)));
        EXPECT_EQ(cut.problem,
                  "The file ends without its end line: it was cut short; the design holds the tiers read")
            << end;
    }
    // Blank lines after the end are nothing; anything else follows no design.
    EXPECT_TRUE(readIntentText(bytesOf(text + "\n  \r\n\n")).problem.empty());
    const size_t lines = size_t(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(readIntentText(bytesOf(text + "\ntier 40 1 3 8 1 | 3 | - | typed | -\n")).problem,
              "Reading stopped at line " + std::to_string(lines + 2) +
                  ": text follows the end line; the design holds the tiers before it");

    // Version 1: no end line, and no way to tell.
    std::string legacy = text.substr(0, text.size() - 4);
    legacy.replace(0, 15, "Brevix intent 1");
    const IntentFileRead old = readIntentText(bytesOf(legacy));
    EXPECT_TRUE(old.problem.empty()) << old.problem;
    EXPECT_NE(old.note.find("from before the end line"), std::string::npos) << old.note;
    EXPECT_EQ(old.intent, built.intent);
    EXPECT_EQ(writeIntentText(old.stone, old.intent), text);
}

// The values the other readers and the program's own fields refuse stop a
// .brx file at their line with the same words.
TEST(IntentFile, ValuesNoDesignHoldsStopTheReading) {
    struct Case {
        const char* line;
        const char* why;
    };
    for (const Case& c : {Case{"ri 1e-300", "the refractive index in this file is 1e-300; a design's refractive index "
                                            "lies between 1.01 and 3.00"},
                          Case{"ri 100", "the refractive index in this file is 100; a design's refractive index lies "
                                         "between 1.01 and 3.00"},
                          Case{"symmetry 100000 1", "the symmetry in this file is 100000; a design's symmetry is a "
                                                    "whole number from 1 to 1000"},
                          Case{"tier 40 1 3 100000 1 | 3 | - | typed | -",
                               "the symmetry in this file is 100000; a design's symmetry is a whole number from 1 "
                               "to 1000"}}) {
        const IntentFileRead read =
            readIntentText(bytesOf(std::string("Brevix intent 2\ngear 96 0\n") + c.line + "\nend\n"));
        EXPECT_EQ(read.problem,
                  std::string("Reading stopped at line 3: ") + c.why + "; the design holds the tiers before it");
    }
}

// A stream of text made as it is read: a whole design and then a flood of
// blank lines, noting the most memory in use while it is read.
class BlankFlood : public std::streambuf {
public:
    BlankFlood(std::string head, size_t blankLines) : head_(std::move(head)), left_(blankLines) {
        setg(head_.data(), head_.data(), head_.data() + head_.size());
    }
    size_t peak = 0;

protected:
    int_type underflow() override {
        peak = std::max(peak, size_t(mallinfo2().uordblks));
        if (left_ == 0) return traits_type::eof();
        const size_t n = std::min(left_, sizeof piece_);
        std::memset(piece_, '\n', n);
        left_ -= n;
        setg(piece_, piece_, piece_ + n);
        return traits_type::to_int_type(piece_[0]);
    }

private:
    std::string head_;
    size_t left_;
    char piece_[1 << 16];
};

TEST(IntentFile, AFloodOfBlankLinesIsReadInBoundedMemory) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    std::string text = writeIntentText(built.stone, built.intent);
    text.resize(text.size() - 4);  // a file from before the end line is read to its last byte
    text.replace(0, 15, "Brevix intent 1");
    const size_t before = mallinfo2().uordblks;
    BlankFlood flood(text, 20'000'000);
    std::istream in(&flood);
    const IntentFileRead read = readIntentText(in);
    EXPECT_TRUE(read.problem.empty()) << read.problem;
    EXPECT_EQ(read.intent, built.intent);
    // A sanitizer's allocator leaves mallinfo at zero: nothing to compare then.
    EXPECT_LT(flood.peak - std::min(flood.peak, before), size_t(8) << 20);
}

}  // namespace
}  // namespace brevix
