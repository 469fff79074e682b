#include "design/design_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "design/measures.h"
#include "design/preform.h"
#include "design/sample_designs.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {
namespace {

std::string instructionsOf(const Stone& stone, int width, int* lines = nullptr, int* w = nullptr,
                           std::vector<int32_t>* lineOfFacet = nullptr) {
    int counter = 0;
    InstructionText text;
    const int columns = instructionText(stone, width, counter, text);
    if (lines) *lines = counter;
    if (w) *w = columns;
    if (lineOfFacet) *lineOfFacet = text.lineOfFacet;
    return text.instructions;
}

TEST(InstructionText, RoundBrilliantForTheClipboard) {
    Stone stone = makeRoundBrilliant();
    int lines = 0, w = 0;
    std::vector<int32_t> lineOfFacet;
    const std::string text = instructionsOf(stone, CLIPBOARD_WIDTH, &lines, &w, &lineOfFacet);
    EXPECT_EQ(text,
              "PAVILION\n"
              "\tG\t90.00\xB0\t03-09-15-21-27-33-39-45-\tCut girdle to size\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "\tP1\t40.75\xB0\t96-12-24-36-48-60-72-84\tCut to centre point\n"
              "\tP2\t42.00\xB0\t03-09-15-21-27-33-39-45-\tMeet girdle and P1\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "CROWN\n"
              "\tC1\t34.50\xB0\t96-12-24-36-48-60-72-84\tLevel girdle\n"
              "\tC2\t21.50\xB0\t06-18-30-42-54-66-78-90\tMeet C1 at table line\n"
              "\tC3\t40.00\xB0\t03-09-15-21-27-33-39-45-\tMeet girdle and C1\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "\tT\t  0.00\xB0\tTable\tTable\n");
    EXPECT_EQ(lines, 12);
    EXPECT_EQ(w, 24);
    // Every facet knows the line of its tier's row.
    ASSERT_EQ(lineOfFacet.size(), static_cast<size_t>(stone.nFacet));
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const std::string& name = stone.facets[i].name;
        const int expected = name == "G" ? 1 : name == "P1" ? 3 : name == "P2" ? 4 : name == "C1" ? 7
                             : name == "C2" ? 8 : name == "C3" ? 9 : 11;
        EXPECT_EQ(lineOfFacet[i], expected) << name;
    }
}

TEST(StatisticsText, RoundBrilliant) {
    Stone stone = makeRoundBrilliant();
    computeBounds(stone);
    const std::string text = statisticsText(stone);
    const std::string pairs = [] {
        std::string p;
        for (int i = 0; i < 8; ++i) p += "(G G)/W = 0.981\n";
        return p;
    }();
    EXPECT_EQ(text,
              "Standard Round Brilliant\n"
              "Angles for R.I. = 1.540\n"
              "57 + 16 girdles = 73 facets\n"
              "8-fold, mirror-image symmetry\n"
              "96 index\n"
              "L/W = 1.000  T/W = 0.586  U/W = 0.586\n"
              "P/W = 0.436  C/W = 0.147\n" +
                  pairs + "Vol./W\xB3 = 0.203\n");
}


std::vector<double> range(double first, double step, double last) {
    std::vector<double> out;
    for (double i = first; i <= last + 1e-9; i += step) out.push_back(i);
    return out;
}

// Girdle facets and nothing else: a preform by the section rules.
TEST(InstructionText, GirdleOnlyIsAPreform) {
    Stone stone;
    cutTier(stone, {"G", 90, 0.9, range(6, 12, 90), "Outline"});
    ASSERT_EQ(stone.nRough, 2);  // top and bottom of the block
    int lines = 0, w = 0;
    EXPECT_EQ(instructionsOf(stone, CLIPBOARD_WIDTH, &lines, &w),
              "PREFORM\n\tG\t90.00\xB0\t06-18-30-42-54-66-78-90\tOutline\n");
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(w, 23);  // narrower than the 24 columns the 8-fold symmetry allows

    computeBounds(stone);
    const std::string pair = "(G G)/W = 0.924\n";
    EXPECT_EQ(statisticsText(stone),
              "\nAngles for R.I. = 1.540\n"
              "0 + 8 girdles = 8 facets\n"
              "8-fold, mirror-image symmetry\n"
              "96 index\n"
              "L/W = 1.000\n"
              "\n" +
                  pair + pair + pair + pair + "Vol./W\xB3 = 0.740\n");
}

// 48 girdle facets at 90 degrees are counted, not listed; the cut list
// width gives the index column 48 characters, the footnote follows.
TEST(InstructionText, ManyGirdleFacetsAreCountedAndTheFootnoteFollows) {
    Stone stone;
    cutTier(stone, {"G", 90, 1.0, range(2, 2, 96), "Round outline"});
    cutTier(stone, {"P", -41, depthThrough(-41, 1.0, -0.02), range(12, 12, 96), "To a point"});
    stone.footnote[1] = "Second footnote line";
    int lines = 0, w = 0;
    InstructionText text;
    w = instructionText(stone, CUT_LIST_WIDTH, lines, text);
    EXPECT_EQ(text.instructions,
              "PREFORM\n"
              "\tG\t90.00\xB0\t(48 total)\tRound outline\n"
              "\tP\t41.00\xB0\t96-12-24-36-48-60-72-84\tTo a point\n");
    EXPECT_EQ(text.footnote, "\nSecond footnote line\n");
    EXPECT_EQ(text.raw(), text.instructions + '\0' + text.footnote + '\0');
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(w, 23);
}

// The preform's rows come first, the design's planes that equal preform
// planes are not listed again, and the line numbers lead to the preform.
TEST(InstructionText, PreformIsListedFirst) {
    Stone stone = makeEmeraldCut();
    {
        int earlier = 5;  // the design's own girdle rows get lines 6 to 8
        InstructionText text;
        instructionText(stone, CLIPBOARD_WIDTH, earlier, text);
        ASSERT_EQ(stone.facets[facetOnLine(text, 6).facet].name, "G1");
    }
    {
        (void)stone.takeDiagnostics();
        copyToPreform(stone, stone);
        EXPECT_TRUE(stone.diagnostics().empty());
    }
    int lines = 5, w = 0;  // the counter goes on from the caller's value
    InstructionText text;
    w = instructionText(stone, CLIPBOARD_WIDTH, lines, text);
    EXPECT_EQ(text.instructions,
              "PREFORM\n"
              "\tG1\t90.00\xB0\t24-72\tCut girdle outline, sides\n"
              "\tG2\t90.00\xB0\t96-48\tCut girdle outline, ends\n"
              "\tG3\t90.00\xB0\t12-36-60-84\tCut girdle outline, corners\n"
              "PAVILION\n"
              "\tP1\t52.00\xB0\t24-72\tLevel girdle, sides\n"
              "\tP2\t52.00\xB0\t96-48\tLevel girdle, ends\n"
              "\tP3\t52.00\xB0\t12-36-60-84\tLevel girdle, corners\n"
              "\tP4\t45.00\xB0\t24-72\tMeet step line, sides\n"
              "\tP5\t45.00\xB0\t96-48\tMeet step line, ends\n"
              "\tP6\t45.00\xB0\t12-36-60-84\tMeet step line, corners\n"
              "\tP7\t40.00\xB0\t24-72\tMeet at keel line, sides\n"
              "\tP8\t40.00\xB0\t96-48\tMeet at keel line, ends\n"
              "\tP9\t40.00\xB0\t12-36-60-84\tMeet at keel line, corners\n"
              "CROWN\n"
              "\tC1\t42.00\xB0\t24-72\tLevel girdle, sides\n"
              "\tC2\t42.00\xB0\t96-48\tLevel girdle, ends\n"
              "\tC3\t42.00\xB0\t12-36-60-84\tLevel girdle, corners\n"
              "\tC4\t30.00\xB0\t24-72\tMeet step line, sides\n"
              "\tC5\t30.00\xB0\t96-48\tMeet step line, ends\n"
              "\tC6\t30.00\xB0\t12-36-60-84\tMeet step line, corners\n"
              "\tT\t  0.00\xB0\tTable\tTable\n");
    EXPECT_EQ(lines, 5 + 22);
    EXPECT_EQ(w, 11);  // symmetry 2 allows 12 columns; "12-36-60-84" needs 11
    // Line 6 lists the preform's G1, not the design's G1 of the earlier text.
    const ListedFacet hit = facetOnLine(text, 5 + 1);
    ASSERT_GE(hit.facet, 0);
    EXPECT_TRUE(hit.inPreform);
    EXPECT_EQ(stone.preform->facets[hit.facet].name, "G1");
    const ListedFacet p1 = facetOnLine(text, 5 + 5);
    EXPECT_FALSE(p1.inPreform);
    EXPECT_EQ(stone.facets[p1.facet].name, "P1");
    // The design's girdle facets are the preform's planes and carry the mark.
    const std::vector<bool> inPreform = preformMatches(stone);
    ASSERT_EQ(inPreform.size(), static_cast<size_t>(stone.nFacet));
    for (int32_t i = 0; i < stone.nFacet; ++i) EXPECT_EQ(inPreform[i], stone.facets[i].name[0] == 'G') << i;
}

// Copy to Preform on a design cut pavilion first, before any crown facet:
// every facet now lies in the preform and is listed under its heading; the
// design adds no second heading over no rows. Once the crown is cut, the
// design's own rows come under their heading as before.
TEST(InstructionText, NoHeadingOverNoRowsAfterCopyToPreform) {
    Stone stone;
    cutTier(stone, {"P", -41, depthThrough(-41, 1.0, -0.02), range(12, 12, 96), "To a point"});
    cutTier(stone, {"G", 90, 1.0, range(12, 12, 96), "Round outline"});
    {
        computeBounds(stone);
        copyToPreform(stone, stone);
    }
    const std::string preformRows =
        "PREFORM\n"
        "\tP\t41.00\xB0\t96-12-24-36-48-60-72-84\tTo a point\n"
        "\tG\t90.00\xB0\t96-12-24-36-48-60-72-84\tRound outline\n";
    int lines = 0;
    InstructionText text;
    instructionText(stone, CLIPBOARD_WIDTH, lines, text);
    EXPECT_EQ(text.instructions, preformRows);
    EXPECT_EQ(lines, 3);

    cutTier(stone, {"C", 40, depthThrough(40, 1.0, 0.02), range(12, 12, 96), "Crown mains"});
    lines = 0;
    instructionText(stone, CLIPBOARD_WIDTH, lines, text);
    EXPECT_EQ(text.instructions, preformRows + "CROWN\n\tC\t40.00\xB0\t96-12-24-36-48-60-72-84\tCrown mains\n");
    EXPECT_EQ(lines, 5);
    EXPECT_EQ(stone.facets[facetOnLine(text, 4).facet].name, "C");
}

// Breaking of instructions: the first lines share the row with the index
// column, lines beyond the index lines get half the width again; a word
// longer than the column breaks at the next blank after it.
TEST(InstructionText, LongInstructionsBreakAtBlanks) {
    Stone stone;
    std::string words;
    for (int k = 0; k < 15; ++k) words += (k ? " " : "") + strprintf("word%04dx", k);
    cutTier(stone, {"A", 30, 0.9, {3}, words});
    cutTier(stone, {"B", 35, 0.9, {9}, std::string(60, 'a') + " end"});
    cutTier(stone, {"T", 0, 0.9, {96}, ""});
    int lines = 0;
    const std::string text = instructionsOf(stone, CLIPBOARD_WIDTH, &lines);
    EXPECT_EQ(text,
              "CROWN\n"
              "\tA\t30.00\xB0\t03\tword0000x word0001x word0002x word0003x\n"
              "\t\t\t\tword0004x word0005x word0006x word0007x\n"
              "\t\tword0008x word0009x word0010x word0011x word0012x word0013x word0014x\n"
              "\tB\t35.00\xB0\t09\t" + std::string(60, 'a') + "\n"
              "\t\t\t\tend\n"
              "\tT\t  0.00\xB0\tTable\n");
    EXPECT_EQ(lines, 7);
}

TEST(InstructionText, IndexFormatsFollowTheGear) {
    // Half notches need a decimal; a gear of 120 needs three digits.
    Stone half;
    half.indexOffset = 0.5;
    cutTier(half, {"H", 40, 0.9, {3.5, 27.5}, ""});
    EXPECT_EQ(instructionsOf(half, CLIPBOARD_WIDTH), "CROWN\n\tH\t40.00\xB0\t03.5-27.5\n");

    Stone big;
    big.gear = 120;
    cutTier(big, {"B", 40, 0.9, {5, 65}, ""});
    EXPECT_EQ(instructionsOf(big, CLIPBOARD_WIDTH), "CROWN\n\tB\t40.00\xB0\t005-065\n");

    // Pavilion indexes are mirrored; 24 is listed as 72, a culet as Culet.
    Stone pav;
    cutTier(pav, {"P", -40, 0.7, {24}, ""});
    pav.newFacet(0, 0, -1, 0.8, "K");
    EXPECT_EQ(instructionsOf(pav, CLIPBOARD_WIDTH), "PAVILION\n\tP\t40.00\xB0\t72\n\tK\t  0.00\xB0\tCulet\n");
}

// The rows the cut list finds a clicked tier by: each listed facet's line,
// checked against the text itself, line by line.
TEST(InstructionText, LinesOfFacetsAreTheRowsOfTheirTiers) {
    Stone emerald = makeEmeraldCut();
    copyToPreform(emerald, emerald);
    cutTier(emerald, {"X", 38, depthThrough(38, 1.0, 0.05), {12, 36, 60, 84}, "Extra crown"});
    std::vector<Stone> designs;
    designs.push_back(makeRoundBrilliant());
    designs.push_back(makeBrilliantOverPreform());
    designs.push_back(std::move(emerald));
    for (const Stone& stone : designs)
        for (const int width : {CUT_LIST_WIDTH, CLIPBOARD_WIDTH}) {
            SCOPED_TRACE(stone.facets[stone.nFacet - 1].name + " at " + std::to_string(width));
            const int first = 3;  // the count goes on from the caller's value
            int counter = first;
            InstructionText text;
            instructionText(stone, width, counter, text);
            std::vector<std::string> lines;
            for (size_t at = 0; at < text.instructions.size();) {
                const size_t end = text.instructions.find('\n', at);
                lines.push_back(text.instructions.substr(at, end - at));
                at = end + 1;
            }
            ASSERT_EQ(counter - first, static_cast<int>(lines.size()));
            const auto isTierRow = [&](int line) {
                const int at = line - first;
                return at >= 0 && at < static_cast<int>(lines.size()) && lines[at].size() > 1 && lines[at][0] == '\t' &&
                       lines[at][1] != '\t';
            };
            const auto angleShown = [&](int line) {
                const std::string& row = lines[line - first];
                const size_t tab = row.find('\t', 1);
                return std::strtod(row.c_str() + tab + 1, nullptr);
            };
            std::vector<bool> claimed(lines.size(), false);
            const auto check = [&](const Stone& s, const std::vector<int32_t>& lineOf, bool inPreform) {
                ASSERT_EQ(lineOf.size(), static_cast<size_t>(s.nFacet));
                const std::vector<bool> matches = preformMatches(s);
                for (int32_t i = 0; i < s.nFacet; ++i) {
                    const int line = lineOf[i];
                    if (s.facets[i].isRough() || matches[i]) {
                        EXPECT_EQ(line, -1) << i;
                        continue;
                    }
                    // Only a design over a preform leaves out facets of its own.
                    if (line < 0 && s.preform) continue;
                    ASSERT_TRUE(isTierRow(line)) << i << " on line " << line;
                    claimed[line - first] = true;
                    const double angle = std::fabs(s.facets[i].c) <= EPS ? 90 : std::fabs(s.facetAngleOf(i));
                    EXPECT_NEAR(angleShown(line), angle, 0.005) << i;
                    if (i > 0 && s.facets[i - 1].tier == s.facets[i].tier && lineOf[i - 1] >= 0) {
                        EXPECT_EQ(lineOf[i - 1], line) << i;
                    }
                    const ListedFacet listed = facetOnLine(text, line);
                    EXPECT_EQ(listed.inPreform, inPreform) << i;
                    EXPECT_EQ((inPreform ? *stone.preform : stone).facets[listed.facet].tier, s.facets[i].tier) << i;
                }
            };
            check(stone, text.lineOfFacet, false);
            if (stone.preform) {
                check(*stone.preform, text.lineOfPreformFacet, true);
            } else {
                EXPECT_TRUE(text.lineOfPreformFacet.empty());
            }
            // Every row that names a tier leads to a facet of it; headings
            // and continuation lines lead nowhere.
            for (size_t k = 0; k < lines.size(); ++k) {
                const int line = first + static_cast<int>(k);
                EXPECT_EQ(claimed[k], isTierRow(line)) << lines[k];
                if (!isTierRow(line)) {
                    EXPECT_LT(facetOnLine(text, line).facet, 0) << lines[k];
                }
            }
        }
}

// A line is looked up among the design's facets first, then its preform's.
TEST(InstructionText, FacetOnLineSearchesTheDesignThenItsPreform) {
    InstructionText text;
    text.lineOfFacet.assign(6, -1);
    text.lineOfFacet[3] = 7;
    text.lineOfPreformFacet.assign(6, -1);
    text.lineOfPreformFacet[1] = 9;
    EXPECT_EQ(facetOnLine(text, 7).facet, 3);
    EXPECT_FALSE(facetOnLine(text, 7).inPreform);
    EXPECT_EQ(facetOnLine(text, 9).facet, 1);
    EXPECT_TRUE(facetOnLine(text, 9).inPreform);
    EXPECT_EQ(facetOnLine(text, 10).facet, -1);
    EXPECT_EQ(facetOnLine(text, -1).facet, -1);  // not the first facet left unlisted
}

// A design without a gear says so for every facet listed, in the text's
// notes: reading the stone leaves its own notes alone.
TEST(InstructionText, AZeroGearIsNotedInTheText) {
    Stone stone = makeRoundBrilliant();
    stone.gear = 0;
    (void)stone.takeDiagnostics();
    int lines = 0;
    InstructionText text;
    instructionText(stone, CLIPBOARD_WIDTH, lines, text);
    EXPECT_EQ(text.notes.size(), static_cast<size_t>(stone.nFacet - stone.nRough));
    EXPECT_EQ(text.notes[0].text, "Zero index gear");
    EXPECT_TRUE(stone.diagnostics().empty());
}

TEST(StatisticsText, ProportionsAndTheirAbsence) {
    // Crown and pavilion overlap in height: H/W instead of P/W and C/W.
    const double k = 1 / std::sqrt(2.0);
    Stone tilted;
    tilted.newFacet(k, 0, k, 0.5);
    tilted.newFacet(-k, 0, -k, 0.5);
    tilted.mirror = 0;
    tilted.symmetry = 1;
    tilted.gear = -80;
    tilted.heading[1] = "Second";
    computeBounds(tilted);
    const std::string text = statisticsText(tilted);
    EXPECT_EQ(text.substr(0, text.find("L/W")),
              "\nSecond\nAngles for R.I. = 1.540\n2 facets\n1-fold radial symmetry\n80 index\n");
    EXPECT_NE(text.find("\nH/W = 1.000\n"), std::string::npos) << text;

    // With no width only the first lines are written.
    Stone flat;
    computeBounds(flat);
    flat.stats.maxX = flat.stats.minX;
    EXPECT_EQ(statisticsText(flat),
              "\nAngles for R.I. = 1.540\n0 facets\n8-fold, mirror-image symmetry\n96 index\n");
}
}  // namespace
}  // namespace brevix
