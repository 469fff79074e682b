// What a reader accepts, the writer writes; what the writer cannot write so
// that it reads back, it refuses; and texts and numbers that come in stay
// within what goes out again.
#include <gtest/gtest.h>

#include <fstream>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/binary_io.h"
#include "files/gem_format.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

// A stone whose table lies `tableDepth` above the centre.
Stone slabWithTable(double tableDepth, const std::string& tableName = "T") {
    Stone s;
    cutTier(s, {"G", 90, 1.0, {12, 24, 36, 48, 60, 72, 84, 96}, "Girdle"});
    cutTier(s, {tableName, 0, tableDepth, {96}, ""});
    return s;
}

std::string settingsAndLines(int32_t gear, const std::string& heading) {
    std::string out;
    le::putDouble(out, END_OF_FACETS);
    le::putI32(out, 8);
    le::putI32(out, 1);
    le::putI32(out, gear);
    le::putDouble(out, 1.54);
    le::putI32(out, OFFSET_AS_DOUBLE);
    le::putDouble(out, 0);
    out.push_back(static_cast<char>(heading.size()));
    out += heading;
    out.append(7, '\0');
    return out;
}

std::string facetRecord(double a, double b, double c, double d, const std::string& text) {
    std::string out;
    const double k = 0.9 / d;
    le::putDouble(out, a * k);
    le::putDouble(out, b * k);
    le::putDouble(out, c * k);
    le::putI32(out, 1);
    out.push_back(static_cast<char>(text.size()));
    out += text;
    le::putI32(out, 0);
    return out;
}

}  // namespace

TEST(GemReopen, AFacetTooNearTheCentreIsRefusedByNameAndNothingIsWritten) {
    ScratchDir dir;
    Stone near = slabWithTable(0.005);
    ASSERT_EQ(designFacets(near), 9);
    Messages m;
    std::ostringstream out;
    Diagnostics notes;
    EXPECT_FALSE(writeGem(near, out, notes));
    EXPECT_TRUE(out.str().empty());
    const std::string expected =
        "Cannot save as a .gem file: design facet 9 (T) lies 0.005000 from the centre; a .gem file "
        "holds facets at least 0.009 from it.\nSave as a text (.asc) file instead.";
    EXPECT_EQ(notes.texts(), std::vector<std::string>{expected});
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);

    // The file on disk is neither created nor replaced, and the refusal is
    // the note, not the failure to write.
    const auto file = dir / "near.gem";
    notes.clear();
    EXPECT_FALSE(writeGemFile(near, file.string(), notes));
    EXPECT_FALSE(std::filesystem::exists(file));
    writeFileBytes(file, "old");
    EXPECT_FALSE(writeGemFile(near, file.string(), notes));
    EXPECT_EQ(readFileBytes(file), "old");
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{expected, expected}));

    // The text format holds it, and so does .gem at the limit itself.
    EXPECT_EQ(designFacets(fromAsc(ascOf(near))), 9);
    Stone atLimit = slabWithTable(0.0091);
    const std::string bytes = gemOf(atLimit);
    EXPECT_TRUE(isGemFile(bytesOf(bytes)));
    EXPECT_EQ(designFacets(fromGem(bytes)), 9);
    EXPECT_EQ(notes.size(), 2u);     // the two refusals to write the file, checked above
    EXPECT_TRUE(m.texts().empty());  // nothing from the readers or the writers since
}

TEST(GemReopen, AFacetTooNearTheCentreOfThePreformIsNamedAsThePreforms) {
    Stone s = slabWithTable(1.0);
    s.setPreform(std::make_unique<Stone>(slabWithTable(0.004, "")));
    Messages m;
    EXPECT_EQ(gemSaveProblem(s),
              "Cannot save as a .gem file: preform facet 9 lies 0.004000 from the centre; a .gem file "
              "holds facets at least 0.009 from it.\nSave as a text (.asc) file instead.");
}

TEST(AscReopen, LinesAndInstructionsAsLongAsTheReaderTakesAreWrittenAndReadBack) {
    // 509 characters: all that a 511-character line holds after "H " or "G ".
    const std::string longest(509, 'h');
    Stone s;
    cutTier(s, {"G", 90, 1.0, {12, 24, 36, 48, 60, 72, 84, 96}, std::string(509, 'i')});
    cutTier(s, {"M", -41, 0.5, {96, 48}, std::string(508, 'm')});
    s.heading[0] = longest;
    s.footnote[3] = longest;
    Messages m;
    const std::string text = ascOf(s);
    EXPECT_TRUE(m.texts().empty());
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 511u);
    // The 509-character instruction starts its own line without the blank.
    EXPECT_NE(text.find("\nG " + std::string(509, 'i') + "\n"), std::string::npos);
    EXPECT_NE(text.find("\n G " + std::string(508, 'm') + "\n"), std::string::npos);

    Stone back = fromAsc(text);
    EXPECT_TRUE(m.texts().empty());
    EXPECT_EQ(back.heading[0], longest);
    EXPECT_EQ(back.footnote[0], longest);
    EXPECT_EQ(back.instructionOf(back.nRough + 7), std::string(509, 'i'));
    EXPECT_EQ(back.instructionOf(back.nFacet - 1), std::string(508, 'm'));
    EXPECT_EQ(ascOf(back), text);

    // One more character is more than the reader takes: refused, not cut.
    s.heading[0] += 'h';
    std::ostringstream refused;
    Diagnostics notes;
    EXPECT_FALSE(writeAsc(s, refused, notes));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text,
              "Cannot save as a text file: heading line 1 is 510 characters long; a line of a text "
              "design file holds at most 509.\nShorten it and save again.");
}

TEST(AscReopen, ALineReadFromATextDesignIsSavedAgain) {
    // What a file holds, read and saved, must save: the line at the reader's
    // very limit, with its key at the start of the line.
    const std::string file = "Brevix 5.0\ng 96 0.0\nH " + std::string(509, 'x') +
                             "\na 90.000000 1.11111111 12 24 36 48 60 72 84 96\nG " + std::string(509, 'y') +
                             "\nF " + std::string(509, 'z') + "\n";
    Messages m;
    Stone s = fromAsc(file);
    EXPECT_EQ(s.heading[0].size(), 509u);
    EXPECT_EQ(s.instructionOf(s.nFacet - 1).size(), 509u);
    std::ostringstream out;
    Diagnostics notes;
    EXPECT_TRUE(writeAsc(s, out, notes));
    EXPECT_TRUE(m.texts().empty());
    EXPECT_TRUE(notes.empty());
    Stone again = fromAsc(out.str());
    EXPECT_EQ(again.heading[0], s.heading[0]);
    EXPECT_EQ(again.footnote[0], s.footnote[0]);
    EXPECT_EQ(again.instructionOf(again.nFacet - 1), s.instructionOf(s.nFacet - 1));
}

TEST(GemTexts, EachTextEndsAtItsFirstZeroByte) {
    std::string bytes = facetRecord(0, 1, 0, 1.0, std::string("G\0X\tGir\0dle", 11)) +
                        facetRecord(0, 0, 1, 0.5, std::string("T\tTable", 7)) +
                        settingsAndLines(96, std::string("ab\0cd", 5));
    Messages m;
    Stone s = fromGem(bytes);
    ASSERT_EQ(designFacets(s), 2);
    EXPECT_TRUE(m.texts().empty());
    EXPECT_EQ(s.facets[s.nRough].name, "G");
    EXPECT_EQ(s.instructionOf(s.nRough), "");
    EXPECT_EQ(s.facets[s.nRough + 1].name, "T");
    EXPECT_EQ(s.instructionOf(s.nRough + 1), "Table");
    EXPECT_EQ(s.heading[0], "ab");

    // What the reader took is what the text format keeps: nothing is lost
    // between the two formats any more.
    Stone viaText = fromAsc(ascOf(s));
    EXPECT_EQ(viaText.heading[0], "ab");
    EXPECT_EQ(viaText.facets[viaText.nRough + 1].name, "T");
    EXPECT_EQ(viaText.instructionOf(viaText.nFacet - 1), "Table");
    EXPECT_TRUE(gemOf(fromGem(gemOf(s))) == gemOf(s));
}

TEST(GearBounds, ReadersRefuseAGearBeyondAHundredThousandTeeth) {
    Messages m;
    // Text: reading stops at the g record, before any index.
    Stone s = fromAsc("Brevix 5.0\ng -2147483648 0.0\ny 8 y\na 41 1 3 15\n");
    EXPECT_EQ(m.texts(), std::vector<std::string>{
                             "The index gear in this file has -2147483648 teeth; a design has at most "
                             "100000.\nReading stopped there: the design holds what came before the gear."});
    EXPECT_EQ(s.gear, 96);
    EXPECT_EQ(designFacets(s), 0);
    m.sink.clear();
    EXPECT_EQ(fromAsc("Brevix 5.0\ng 100000 0.0\na 41 1 3\n").gear, 100000);
    EXPECT_EQ(fromAsc("Brevix 5.0\ng -100000 0.0\na 41 1 3\n").gear, -100000);
    EXPECT_TRUE(m.texts().empty());

    // Binary: the facets before the settings stay; the gear and the lines do not come.
    const std::string table = facetRecord(0, 0, 1, 0.5, "T\t");
    Stone b = fromGem(table + settingsAndLines(100001, "Head"));
    EXPECT_EQ(m.texts(), std::vector<std::string>{
                             "The index gear in this file has 100001 teeth; a design has at most "
                             "100000.\nReading stopped there: the design holds what came before the gear."});
    EXPECT_EQ(designFacets(b), 1);
    EXPECT_EQ(b.gear, 96);
    EXPECT_EQ(b.heading[0], "");
    EXPECT_EQ(fromGem(table + settingsAndLines(-100000, "Head")).heading[0], "Head");
}

TEST(GearBounds, WritersRefuseAGearNoReaderTakesAndTextsStayNarrow) {
    Stone s = slabWithTable(1.0);
    s.gear = 100001;
    Messages m;
    std::ostringstream gem, asc;
    Diagnostics notes;
    EXPECT_FALSE(writeGem(s, gem, notes));
    EXPECT_FALSE(writeAsc(s, asc, notes));
    EXPECT_TRUE(gem.str().empty());
    EXPECT_TRUE(asc.str().empty());
    const std::string refused =
        "Cannot save: the index gear has 100001 teeth; a design file holds at most 100000.\n"
        "Choose a smaller gear with Edit > Index Gear and save again.";
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{refused, refused}));

    // Whatever gear a stone carries, its texts are as wide as its digits, never
    // as wide as the gear itself.
    s.gear = INT32_MIN;
    computeBounds(s);
    const std::string statistics = statisticsText(s);
    EXPECT_NE(statistics.find("2147483648 index\n"), std::string::npos) << statistics;
    InstructionText text;
    int lines = 0;
    instructionText(s, CLIPBOARD_WIDTH, lines, text);
    EXPECT_LT(text.instructions.size(), 400u) << text.instructions;
}
