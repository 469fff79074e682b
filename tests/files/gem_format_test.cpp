#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/binary_io.h"
#include "files/gem_format.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

// One facet record: the pole of the plane (normal, internal distance d), a
// tier, a text and an empty corner ring.
void facetRecord(std::string& out, double a, double b, double c, double d, const std::string& text) {
    const double k = 0.9 / d;
    le::putDouble(out, a * k);
    le::putDouble(out, b * k);
    le::putDouble(out, c * k);
    le::putI32(out, 1);
    out.push_back(static_cast<char>(text.size()));
    out += text;
    le::putI32(out, 0);
}

void settings(std::string& out, int32_t marker, double offset) {
    le::putDouble(out, END_OF_FACETS);
    le::putI32(out, 4);   // symmetry
    le::putI32(out, 0);   // mirror
    le::putI32(out, 64);  // gear
    le::putDouble(out, 1.76);
    le::putI32(out, marker);
    if (marker == OFFSET_AS_DOUBLE) le::putDouble(out, offset);
}

void lines(std::string& out, const std::string& first) {
    out.push_back(static_cast<char>(first.size()));
    out += first;
    out.append(7, '\0');
}

Stone girdle(const std::string& name, const std::string& instruction) {
    Stone s;
    cutTier(s, {name, 90, 1.0, {12, 24, 36, 48, 60, 72, 84, 96}, instruction});
    return s;
}

}  // namespace

TEST(GemLayout, SettingsMarkerAndEndOfFacets) {
    std::string bytes;
    facetRecord(bytes, 0, 1, 0, 1.0, "G\tGirdle");
    settings(bytes, 3, 0);  // an offset kept as a whole number: no double follows
    lines(bytes, "Head");
    Stone s = fromGem(bytes);
    EXPECT_EQ(designFacets(s), 1);
    EXPECT_EQ(s.symmetry, 4);
    EXPECT_EQ(s.mirror, 0);
    EXPECT_EQ(s.gear, 64);
    EXPECT_DOUBLE_EQ(s.refractiveIndex, 1.76);
    EXPECT_DOUBLE_EQ(s.indexOffset, 3.0);
    EXPECT_EQ(s.heading[0], "Head");

    // The file may end right after the facet list: the caller's settings stay.
    std::string shortFile;
    facetRecord(shortFile, 0, 1, 0, 1.0, "\t");
    le::putDouble(shortFile, END_OF_FACETS);
    Stone caller(ROUGH_HALF);
    caller.symmetry = 5;
    caller.mirror = 1;
    readGem(caller, bytesOf(shortFile));
    passOn(caller);
    EXPECT_EQ(caller.symmetry, 5);
    EXPECT_EQ(caller.mirror, 1);
    EXPECT_EQ(caller.gear, 96);
    EXPECT_EQ(designFacets(caller), 1);

    // The end marker is exactly these bytes.
    std::string end;
    le::putDouble(end, END_OF_FACETS);
    EXPECT_EQ(end, std::string("\x00\x00\x00\x00\xF0\x69\xF8\xC0", 8));
}

TEST(GemLayout, EveryFacetCarriesItsTiersInstructionAndOnlyTheLastKeepsIt) {
    const Stone s = girdle("G", "Cut girdle");
    const std::string bytes = gemOf(s);
    size_t count = 0;
    for (size_t at = bytes.find("G\tCut girdle"); at != std::string::npos;
         at = bytes.find("G\tCut girdle", at + 1))
        ++count;
    EXPECT_EQ(count, 8u);
    Stone back = fromGem(bytes);
    int holders = 0;
    for (int32_t i = 0; i < back.nFacet; ++i) holders += !back.facets[i].instruction.empty();
    EXPECT_EQ(holders, 1);
    EXPECT_EQ(back.facets[back.nFacet - 1].instruction, "Cut girdle");
}

TEST(GemLayout, PreformFollowsTheLastFootnoteAndReadsBack) {
    Stone s = girdle("G", "");
    auto preform = std::make_unique<Stone>(s);
    cutTier(s, {"P", -45, 0.8, {12, 36, 60, 84}, "Pavilion"});
    s.setPreform(std::move(preform));
    s.footnote[3] = "foot";
    const std::string bytes = gemOf(s);
    const std::string marker = "foot" + std::string("\x07preform", 8);
    ASSERT_NE(bytes.find(marker), std::string::npos);

    Messages m;
    Stone back = fromGem(bytes);
    EXPECT_EQ(m.texts(), std::vector<std::string>{"File has a preform"});
    ASSERT_NE(back.preform, nullptr);
    EXPECT_EQ(designFacets(*back.preform), 8);
    EXPECT_EQ(designFacets(back), 12);
    EXPECT_EQ(designFacets(fromGem(gemOf(back))), 12);
}

TEST(GemLayout, HeadingOver79CharactersWarnsAfterTheFileIsComplete) {
    Stone s = girdle("G", "");
    s.heading[1] = std::string(80, 'h');
    Messages m;
    const std::string bytes = gemOf(s);
    EXPECT_EQ(m.texts(), std::vector<std::string>{"Warning: Line length > 79 characters will cause "
                                                  "heading\nand/or footnote to be ignored by DOS "
                                                  "Brevix"});
    EXPECT_EQ(fromGem(bytes).heading[1], std::string(80, 'h'));
}

TEST(GemCheck, PolesOutsideTheStoneOrNotANumberFailTheCheck) {
    std::string good, close, zero, nan;
    facetRecord(good, 0, 1, 0, 0.0091, "\t");  // pole length 98.9: still valid
    facetRecord(close, 0, 1, 0, 0.005, "\t");  // pole length 180
    le::putDouble(zero, 0);
    le::putDouble(zero, 0);
    le::putDouble(zero, 0);
    le::putI32(zero, 1);
    zero += std::string("\0\0\0\0\0", 5);
    facetRecord(nan, 0, std::numeric_limits<double>::quiet_NaN(), 0, 1, "\t");
    EXPECT_TRUE(isGemFile(bytesOf(good)));
    EXPECT_FALSE(isGemFile(bytesOf(close)));
    EXPECT_FALSE(isGemFile(bytesOf(zero)));
    EXPECT_FALSE(isGemFile(bytesOf(nan)));
    EXPECT_TRUE(isGemFile(bytesOf("")));  // no facet list at all is not a broken one

    Messages m;
    Stone s = fromGem(zero);
    EXPECT_EQ(designFacets(s), 0);
    EXPECT_EQ(fromGem(close + good).nFacet, 6);  // the reader stops where the check fails
    EXPECT_EQ(designFacets(fromGem(good + close)), 1);
    EXPECT_EQ(m.texts(), (std::vector<std::string>{
                             "Binary file is corrupt.\n(While reading a facet plane. Pole length = "
                             "0)\nCould it be a text file?",
                             "Binary file is corrupt.\n(While reading a facet plane. Pole length = "
                             "180)\nCould it be a text file?",
                             "Binary file is corrupt.\n(While reading a facet plane. Pole length = "
                             "180)\nCould it be a text file?"}));
}

TEST(GemCorrupt, TextLengthOver79StopsReadingAndKeepsEarlierFacets) {
    std::string bytes;
    facetRecord(bytes, 0, 1, 0, 1.0, "A\t" + std::string(77, 'x'));  // 79 characters
    facetRecord(bytes, 1, 0, 0, 1.0, "B\t" + std::string(78, 'x'));  // 80 characters
    facetRecord(bytes, -1, 0, 0, 1.0, "\t");
    settings(bytes, OFFSET_AS_DOUBLE, 0);
    Messages m;
    Stone s = fromGem(bytes);
    EXPECT_EQ(m.texts(), std::vector<std::string>{"Binary file is corrupt.\n(While reading "
                                                  "name/instructions. String length = 80)\nCould "
                                                  "it be a text file?"});
    ASSERT_EQ(designFacets(s), 2);
    EXPECT_EQ(s.facets[s.nFacet - 2].name, "A");
    EXPECT_EQ(s.gear, 96);  // the settings were not reached
}

TEST(GemCorrupt, TruncatedFilesReportAndKeepWhatWasRead) {
    const std::string full = gemOf(girdle("G", "Girdle"));
    const int total = designFacets(fromGem(full));
    const std::vector<std::string> allowed = {
        "Binary file is corrupt.\n(While reading name/instructions. String length = -1)\nCould it "
        "be a text file?",
        "Binary file is corrupt.\n(While skipping vertices.)\nCould it be a text file?",
        "Binary file is corrupt.\n(It ends inside the list of facets.)\nCould it be a text file?"};
    int previous = 0;
    for (size_t size = 0; size <= full.size(); ++size) {
        Messages m;
        Stone s = fromGem(full.substr(0, size));
        const int facets = designFacets(s);
        EXPECT_GE(facets, previous) << size;
        EXPECT_LE(facets, total);
        EXPECT_EQ(s.eulerSum(), 2);
        ASSERT_LE(m.texts().size(), 1u) << size;
        if (!m.texts().empty()) {
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), m.texts()[0]), allowed.end());
        }
        // A file that breaks off after its first number, anywhere before the end of its facet list
        // (the last 40 bytes are the end marker, the settings and eight
        // empty lines, which may be cut short silently) is reported.
        if (size >= 8 && size < full.size() - 40) {
            EXPECT_EQ(m.texts().size(), 1u) << size;
        }
        previous = facets;
    }
    EXPECT_EQ(previous, total);
}

TEST(GemCorrupt, TextOfAPlaneThatMissesIsDropped) {
    std::string bytes;
    facetRecord(bytes, 0, 1, 0, 1.0, "First\tOne");
    facetRecord(bytes, 0, 1, 0, 1.0, "Again\tTwo");  // the same plane: it misses
    settings(bytes, OFFSET_AS_DOUBLE, 0);
    Stone s = fromGem(bytes);
    ASSERT_EQ(designFacets(s), 1);
    EXPECT_EQ(s.facets[s.nFacet - 1].name, "First");
    EXPECT_EQ(s.facets[s.nFacet - 1].instruction, "One");
}

TEST(GemWriting, TextsTheReaderWouldRejectAreRefusedNamingTheFacet) {
    Stone ok = girdle("N", std::string(77, 'i'));  // 1 + tab + 77 = 79
    EXPECT_EQ(gemSaveProblem(ok), "");
    EXPECT_EQ(designFacets(fromGem(gemOf(ok))), 8);

    Stone s = girdle("N", std::string(78, 'i'));
    std::ostringstream out;
    Diagnostics notes;
    EXPECT_FALSE(writeGem(s, out, notes));
    EXPECT_TRUE(out.fail());
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(notes.texts(), std::vector<std::string>{
                             "Cannot save as a .gem file: the name, a tab and the cutting instruction "
                             "of design facet 1 (N) is 80 characters long; a .gem file holds at most "
                             "79.\nShorten it, or save as a text (.asc) file."});

    Stone line = girdle("N", "");
    line.footnote[2] = std::string(256, 'f');
    EXPECT_EQ(gemSaveProblem(line),
              "Cannot save as a .gem file: footnote line 3 of the design is 256 characters long; a "
              ".gem file holds at most 255.\nShorten it, or save as a text (.asc) file.");
}

TEST(GemWriting, RefusedSaveLeavesThePreviousFile) {
    ScratchDir dir;
    const auto path = (dir / "design.gem").string();
    Diagnostics notes;
    ASSERT_TRUE(writeGemFile(girdle("G", "short"), path, notes));
    EXPECT_TRUE(notes.empty());
    const std::string before = readFileBytes(path);
    EXPECT_FALSE(writeGemFile(girdle("G", std::string(100, 'i')), path, notes));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);
    EXPECT_EQ(notes[0].text.rfind("Cannot save as a .gem file: the name, a tab and the cutting instruction", 0), 0u);
    EXPECT_EQ(readFileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}
