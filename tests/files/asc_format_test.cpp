#include <gtest/gtest.h>

#include <cmath>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/asc_format.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

const char* const kHeader = "Brevix 5.0\ng 96 0.0\n";

// A girdle tier of `count` facets spread evenly round the gear.
Stone girdleStone(int32_t gear, int count, const std::string& name = "",
                  const std::string& instruction = "") {
    Stone s;
    s.gear = gear;
    TierSetting tier{name, 90, 1.0, {}, instruction};
    for (int i = 1; i <= count; ++i) tier.indexes.push_back(double(gear) * i / count);
    cutTier(s, tier);
    return s;
}

}  // namespace

TEST(AscHeader, VersionAndWordDecideWhetherTheFileIsRead) {
    EXPECT_TRUE(isAscFile(bytesOf("Brevix 3.99\n")));
    EXPECT_TRUE(isAscFile(bytesOf("\n\n  Brevix\n5.0 a 40 1 3\n")));
    EXPECT_FALSE(isAscFile(bytesOf("Brevix 3.98\n")));
    EXPECT_FALSE(isAscFile(bytesOf("brevix 5.0\n")));
    EXPECT_FALSE(isAscFile(bytesOf("Brevix\n")));
    EXPECT_FALSE(isAscFile(bytesOf("")));

    Messages m;
    Stone s = fromAsc("BREVIX 5.0\na 90 1 3\n");
    EXPECT_EQ(m.texts(), std::vector<std::string>{"Not a Brevix text file"});
    EXPECT_EQ(s.nFacet, 6);
    EXPECT_EQ(s.nRough, 6);
}

TEST(AscHeader, CheckLeavesTheStreamWhereItWas) {
    std::istringstream in("Brevix 5.0\na 90 1 3 9\n");
    ASSERT_TRUE(isAscFile(in));
    Stone s;
    readAsc(s, in);
    passOn(s);
    EXPECT_EQ(designFacets(s), 2);
}

TEST(AscWriting, TierLinesHoldSixteenIndexesThenContinue) {
    Stone s = girdleStone(80, 20, "", "Girdle");
    const std::string text = ascOf(s);
    EXPECT_NE(text.find("a 90.000000 1.11111111 4 8 12 16 20 24 28 32 36 40 44 48 52 56 60 64\n"
                        " 68 72 76 80 G Girdle\n"),
              std::string::npos)
        << text;
}

TEST(AscWriting, IndexesAreWholeUnlessTheyHaveAFraction) {
    Stone s;
    cutTier(s, {"", 40, 0.8, {23.5}, ""});
    cutTier(s, {"", 41, 0.8, {24.004}, ""});
    cutTier(s, {"", 42, 0.8, {0.995}, ""});
    const std::string text = ascOf(s);
    EXPECT_NE(text.find("a 40.000000 0.88888889 23.50\n"), std::string::npos) << text;
    EXPECT_NE(text.find("a 41.000000 0.88888889 24\n"), std::string::npos) << text;
    EXPECT_NE(text.find("a 42.000000 0.88888889 1\n"), std::string::npos) << text;
}

TEST(AscWriting, LevelFacetsCarryTheirSideInTheDepth) {
    Stone s;
    s.newFacet(0, 0, 1, 0.45);
    s.newFacet(0, 0, -1, 0.9);
    const std::string text = ascOf(s);
    EXPECT_NE(text.find("a 0.000000 0.50000000 96\na -0.000000 -1.00000000 96\n"), std::string::npos)
        << text;

    // On reading, angle 0 forces index 0 and a negative depth makes a culet.
    Stone back = fromAsc(std::string(kHeader) + "a 0 0.5 17\na 0.0 -1.0 40\n");
    ASSERT_EQ(designFacets(back), 2);
    EXPECT_DOUBLE_EQ(back.facets[back.nFacet - 2].c, 1);
    EXPECT_DOUBLE_EQ(back.facets[back.nFacet - 1].c, -1);
    EXPECT_NEAR(back.facets[back.nFacet - 1].d, 0.9, 1e-15);
}

TEST(AscWriting, NearlyLevelPavilionFacetReadsBackOnThePavilion) {
    // A pavilion facet tilted by a few ten-thousandths of a degree is not
    // level: its depth must keep its sign so that it is not read as crown.
    Stone s;
    const double tilt = -0.0005 * PI / 180;
    s.cutByAngle(0, tilt, -0.9, false);
    ASSERT_LT(s.facets[s.nFacet - 1].c, 0);
    Stone back = fromAsc(ascOf(s));
    ASSERT_EQ(designFacets(back), 1);
    EXPECT_LT(back.facets[back.nFacet - 1].c, 0);
}

TEST(AscWriting, SettingsKeepTheirValue) {
    Stone s = girdleStone(96, 8);
    s.indexOffset = 0.5;
    s.refractiveIndex = 1.76;
    EXPECT_NE(ascOf(s).find("g 96 0.5\ny 8 y\nI 1.76\n"), std::string::npos);
    // More decimals than the usual ones are written rather than rounded away.
    s.indexOffset = 0.25;
    s.refractiveIndex = 1.544;
    const std::string text = ascOf(s);
    EXPECT_NE(text.find("g 96 0.25\ny 8 y\nI 1.544\n"), std::string::npos) << text;
    const Stone back = fromAsc(text);
    EXPECT_EQ(back.indexOffset, 0.25);
    EXPECT_EQ(back.refractiveIndex, 1.544);
    EXPECT_EQ(ascOf(back), text);
}

TEST(AscReading, SymmetryAndMirrorComeFromTheYRecordOrDefault) {
    Stone s(ROUGH_HALF);
    s.symmetry = 8;
    s.mirror = 1;
    readAsc(s, bytesOf(std::string(kHeader) + "a 90 1 3 9\n"));
    passOn(s);
    EXPECT_EQ(s.symmetry, 1);
    EXPECT_EQ(s.mirror, 0);

    Stone t = fromAsc(std::string(kHeader) + "y 4 Yes\nI 1.76\na 90 1 3\n");
    EXPECT_EQ(t.symmetry, 4);
    EXPECT_EQ(t.mirror, 1);
    EXPECT_DOUBLE_EQ(t.refractiveIndex, 1.76);
}

TEST(AscReading, HeadingAndFootnoteLinesPackAndShareTheirCounter) {
    Stone s = girdleStone(96, 8);
    s.heading = {"one", "", "three", ""};
    s.footnote = {"", "", "", "last"};
    const std::string text = ascOf(s);
    EXPECT_NE(text.find("I 1.54\nH one\nH three\na "), std::string::npos) << text;
    Stone back = fromAsc(text);
    EXPECT_EQ(back.heading, (std::array<std::string, 4>{"one", "three", "", ""}));
    EXPECT_EQ(back.footnote, (std::array<std::string, 4>{"last", "", "", ""}));

    // Rest of the line: two characters after the key; a fifth line in a row is dropped.
    Stone five = fromAsc(std::string(kHeader) + "H  indented\nF f1\nH h3\nH h4\nH h5\n");
    EXPECT_EQ(five.heading, (std::array<std::string, 4>{" indented", "", "h3", "h4"}));
    EXPECT_EQ(five.footnote[1], "f1");
}

TEST(AscReading, LinesLongerThanTheBufferContinueAsTheNextLine) {
    const std::string longHeading(600, 'x');
    Stone s = fromAsc(std::string(kHeader) + "H " + longHeading + "\n");
    EXPECT_EQ(s.heading[0], std::string(509, 'x'));
    EXPECT_EQ(designFacets(s), 0);
}

TEST(AscReading, CarriageReturnLineEndsReadLikeNewlines) {
    const std::string unix = "Brevix 5.0\ng 96 0.0\na 90 1 3 n G 9 G Girdle\nH Head\n";
    std::string dos;
    for (char c : unix) dos += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Stone a = fromAsc(unix), b = fromAsc(dos);
    EXPECT_EQ(ascOf(a), ascOf(b));
    EXPECT_EQ(b.heading[0], "Head");
    EXPECT_EQ(b.instructionOf(b.nFacet - 1), "Girdle");
}

TEST(AscReading, FaultyRecordsAreReportedAndSkipped) {
    Messages m;
    Stone s = fromAsc(std::string(kHeader) +
                      "3 5 n Stray\n"          // indexes before any a record
                      "a 40 1e-9 3 9\n"        // a tier through the centre
                      "G\n"                    // G with nothing after it
                      "a 90 1 3 n Girdle 9\n"  // a good tier
                      "+4 .5 # comment\n");    // tokens of no record
    EXPECT_EQ(designFacets(s), 2);
    EXPECT_EQ(s.facets[s.nFacet - 2].name, "Girdle");
    EXPECT_EQ(m.texts(), (std::vector<std::string>{
                             "Facet through center ignored", "Facet through center ignored",
                             "G but no cutting instructions",
                             "2 facet index(es) came before the first angle and depth (a record) "
                             "and were ignored"}));

    Messages zero;
    Stone g = fromAsc("Brevix 5.0\ng 0 0.0\na 90 1 3 9\n");
    EXPECT_EQ(designFacets(g), 0);
    EXPECT_EQ(zero.texts(), std::vector<std::string>{
                                "2 facet index(es) were ignored because the index gear is 0"});
}

TEST(AscReading, NamesAndInstructionsOfMissingFacetsAreDropped) {
    // The second 3 cuts the same plane again and misses: its name must not
    // rename the facet before it; a tier that made no facet keeps its G.
    Stone s = fromAsc(std::string(kHeader) +
                      "a 90 1 3 n First G Tier one\na 90 1 3 n Again G Not mine\n");
    ASSERT_EQ(designFacets(s), 1);
    EXPECT_EQ(s.facets[s.nFacet - 1].name, "First");
    EXPECT_EQ(s.instructionOf(s.nFacet - 1), "Tier one");
}

TEST(AscReading, OverlongNameIsCutTo255Characters) {
    Messages m;
    Stone s = fromAsc(std::string(kHeader) + "a 90 1 3 n " + std::string(300, 'N') + "\n");
    EXPECT_EQ(s.facets[s.nFacet - 1].name, std::string(255, 'N'));
    EXPECT_TRUE(m.has("A facet name longer than 255 characters was cut to its first 255"));
}

TEST(AscReading, PreformIsTheStoneBeforeTheFirstCutThatWipesOutAFacet) {
    Stone s = fromAsc(std::string(kHeader) +
                      "a 90 1 12 24 36 48 60 72 84 96 n Octagon\n"
                      "a -45 0.9 12 24\n"
                      "a 90 0.95 96 12 24\n");  // the deeper 96 wipes out the octagon's 96
    ASSERT_NE(s.preform, nullptr);
    EXPECT_EQ(designFacets(*s.preform), 10);
    EXPECT_EQ(s.preform->facets[s.preform->nFacet - 3].name, "Octagon");
    EXPECT_EQ(designFacets(s), 10 - 3 + 3);

    Stone plain = fromAsc(std::string(kHeader) + "a 90 1 12 24 36 48\n");
    EXPECT_EQ(plain.preform, nullptr);
}

TEST(AscTexts, NamesWithBlanksAndTextsWithLineBreaksReadBackWhole) {
    Stone s = girdleStone(96, 8, "Main 1", "Cut\nto size");
    s.heading[0] = "Heading\r\nsplit";
    Messages m;
    const std::string text = ascOf(s);
    EXPECT_NE(text.find(" n Main_1"), std::string::npos);
    Stone back = fromAsc(text);
    EXPECT_EQ(designFacets(back), 8);
    EXPECT_EQ(back.facets[back.nFacet - 1].name, "Main_1");
    EXPECT_EQ(back.instructionOf(back.nFacet - 1), "Cut to size");
    EXPECT_EQ(back.heading[0], "Heading  split");
    EXPECT_TRUE(m.has("Blanks in facet names were written as \"_\" so that each name reads back as "
                      "one word (for example \"Main 1\")"));
}

TEST(AscTexts, LongNamesNeverPushALinePastTheReadersBuffer) {
    const std::string name(200, 'L');
    Stone s = girdleStone(96, 16, name, "Instruction");
    const std::string text = ascOf(s);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 511u);
    Stone back = fromAsc(text);
    ASSERT_EQ(designFacets(back), 16);
    for (int32_t i = back.nRough; i < back.nFacet; ++i) EXPECT_EQ(back.facets[i].name, name);
    EXPECT_EQ(ascOf(back), text);
}

TEST(AscTexts, TextsTooLongForALineAreRefusedNotTruncated) {
    Stone s = girdleStone(96, 8, "G", std::string(600, 'i'));
    std::ostringstream out;
    Diagnostics notes;
    EXPECT_FALSE(writeAsc(s, out, notes));
    EXPECT_TRUE(out.fail());
    EXPECT_TRUE(out.str().empty());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);
    EXPECT_EQ(notes[0].text,
              "Cannot save as a text file: the cutting instruction of design facet 1 (G) is 600 "
              "characters long; a line of a text design file holds at most 509.\nShorten it and "
              "save again.");
}

TEST(AscReading, PlaneTheKernelCannotCutStopsReadingWithTheStoneBeforeIt) {
    // The last row lies 2e-8 inside the pavilion mains cut before it: the
    // kernel gives up on such a plane (today on the 36). Whatever it does,
    // the stone must stay a polyhedron; when reading stops, it holds exactly
    // what the file held before the failing plane.
    const std::string before = std::string(kHeader) +
                               "a 90.000000 1.11111111 3 9 15 21 27 33 39 45 51 57 63 69 75 81 87 93\n"
                               "a -40.750000 0.76475002 12 24 36 48 60 72 84 96\n"
                               "a -40.750000 0.7647500 1 24";
    Messages m;
    const Stone s = fromAsc(before + " 36 n Lost G Lost too\n");
    EXPECT_EQ(s.eulerSum(), 2);
    const auto texts = m.texts();
    if (!texts.empty() && texts.back().starts_with("Reading stopped at facet plane ")) {
        EXPECT_EQ(texts.back(), "Reading stopped at facet plane 27; the design holds the facets before it");
        EXPECT_TRUE(texts[texts.size() - 2].starts_with("Internal error: "));
        EXPECT_EQ(ascOf(s), ascOf(fromAsc(before + "\n")));
    }
}

TEST(AscReading, WildSettingsDoNotHangTheWriter) {
    Messages m;
    // Both indexes give the same plane once the offset swamps them.
    const Stone s = fromAsc("Brevix 5.0\ng 80 7777777777777777777777777777777777777770.5\n"
                            "a -45 0.58 24 72\n");
    EXPECT_EQ(designFacets(s), 1);
    EXPECT_FALSE(ascOf(s).empty());
    const Stone huge = fromAsc("Brevix 5.0\ng -99999999999 1e400\na 45 0.9 5\n");
    EXPECT_EQ(huge.gear, 96);  // refused: no design has such a gear
    EXPECT_EQ(designFacets(huge), 0);
    EXPECT_FALSE(ascOf(huge).empty());
}
