// The Datavue index: reading the dBase file (and surviving a damaged one),
// the matching rule, and the search dialog's stepping, editing rule and
// previews without its window.
#include <gtest/gtest.h>

#include <malloc.h>

#include <sstream>

#include "file_test_support.h"
#include "files/datavue_search.h"
#include "files/dbf_table.h"
#include "files/memory_input.h"
#include "platform/registry.h"
#include "support/datavue_database.h"

namespace brevix {
namespace {

using testing::bytesOf;
using testing::ScratchDir;

struct Read {
    int result;
    DbfTable table;
    std::string notes;
};

Read readBytes(const std::string& bytes) {
    Read r;
    MemoryInput in(bytesOf(bytes));
    std::ostringstream notes;
    r.result = readDbf(r.table, in, notes);
    r.notes = notes.str();
    return r;
}

std::string value(const DbfTable& t, int record, const char* field) {
    auto v = fieldValue(t, record, fieldIndexOf(t, field));
    return v ? std::string(*v) : std::string("<none>");
}

TEST(DbfReader, ReadsFieldsAndValuesWithTrailingBlanksRemoved) {
    const std::vector<testdb::DbfField> fields = {{"D_NAME", 12}, {"D_CODE", 6}};
    const Read r = readBytes(testdb::dbfBytes(fields, {{"  Oval  ", "02.1"}, {"Round", ""}, {"", "07.2"}}));
    ASSERT_EQ(r.result, DBF_READ);
    EXPECT_EQ(r.notes, "");
    EXPECT_EQ(r.table.recordCount, 3);
    EXPECT_EQ(r.table.fieldCount, 2);
    EXPECT_EQ(r.table.fieldNames, (std::vector<std::string>{"D_NAME", "D_CODE"}));
    EXPECT_EQ(r.table.fieldLengths, (std::vector<int32_t>{12, 6}));
    EXPECT_EQ(r.table.values.substr(0, r.table.valuesLength), "  Oval      02.1  ");
    EXPECT_EQ(value(r.table, 0, "D_NAME"), "  Oval");
    EXPECT_EQ(value(r.table, 1, "D_CODE"), "");
    // A record whose first field is empty reads as nothing in every field.
    EXPECT_EQ(value(r.table, 2, "D_CODE"), "<none>");
    EXPECT_EQ(value(r.table, 3, "D_NAME"), "<none>");
    EXPECT_EQ(value(r.table, -1, "D_NAME"), "<none>");
    EXPECT_EQ(value(r.table, 0, "D_OTHER"), "<none>");
    EXPECT_EQ(fieldIndexOf(r.table, "d_code"), -1);

    // The end-of-file mark is not needed after the last record.
    const Read noMark = readBytes(testdb::dbfBytes(fields, {{"Oval", "02.1"}, {"Round", "01.1"}}, false));
    EXPECT_EQ(noMark.table.recordCount, 2);
    EXPECT_EQ(noMark.notes, "");
    EXPECT_EQ(value(noMark.table, 1, "D_CODE"), "01.1");
}

// A crafted index of the smallest records there are (a deletion byte and
// one byte of value) is held in no more memory than the file itself.
TEST(DbfReader, TinyRecordsAreHeldInNoMoreThanTheFile) {
    constexpr int kRecords = 400000;
    std::vector<std::vector<std::string>> records(kRecords, std::vector<std::string>{"x"});
    const std::string bytes = testdb::dbfBytes({{"D_NAME", 1}}, records);
    MemoryInput in(bytesOf(bytes));
    std::ostringstream notes;
    const size_t before = mallinfo2().uordblks;
    DbfTable table;
    ASSERT_EQ(readDbf(table, in, notes), DBF_READ);
    const size_t held = mallinfo2().uordblks - before;
    EXPECT_EQ(table.recordCount, kRecords);
    EXPECT_EQ(value(table, kRecords - 1, "D_NAME"), "x");
    // A sanitizer's allocator leaves mallinfo at zero: nothing to compare then.
    EXPECT_LE(held, bytes.size()) << "held " << held << " bytes for a file of " << bytes.size();
}

TEST(DbfReader, DamagedFilesNeverReadBeyondWhatTheyHold) {
    const std::vector<testdb::DbfField> fields = {{"D_NAME", 12}, {"D_CODE", 6}};
    const std::string good = testdb::dbfBytes(fields, {{"Oval", "02.1"}, {"Round", "01.1"}, {"Pear", "05.1"}});

    // More records announced than the file holds.
    const Read more = readBytes(testdb::dbfBytes(fields, {{"Oval", "02.1"}, {"Round", "01.1"}}, true, 4000000000LL));
    EXPECT_EQ(more.result, DBF_READ);
    EXPECT_EQ(more.table.recordCount, 2);
    EXPECT_EQ(more.notes, "File ended prematurely\nOnly 2 out of 4000000000 records read\n");

    // Cut inside the third record.
    const Read cut = readBytes(good.substr(0, good.size() - 10));
    EXPECT_EQ(cut.table.recordCount, 2);
    EXPECT_EQ(cut.notes, "File ended prematurely\nOnly 2 out of 3 records read\n");

    // Header or descriptors incomplete.
    EXPECT_EQ(readBytes(good.substr(0, 20)).result, DBF_INCOMPLETE);
    EXPECT_EQ(readBytes(good.substr(0, 32 + 40)).result, DBF_INCOMPLETE);

    // A record length of zero, or field lengths beyond the record length:
    // the fields do not make up the record, so this is no dBase table.
    std::string zero = good;
    zero[10] = zero[11] = 0;
    const Read none = readBytes(zero);
    EXPECT_EQ(none.result, DBF_NOT_A_TABLE);
    EXPECT_EQ(none.table.recordCount, 0);
    std::string wide = good;
    wide[32 + 16] = static_cast<char>(200);
    const Read clipped = readBytes(wide);
    EXPECT_EQ(clipped.result, DBF_NOT_A_TABLE);
    EXPECT_TRUE(clipped.table.values.empty());

    DbfTable table;
    std::ostringstream notes;
    EXPECT_EQ(readDbf(table, "/nonexistent/dlist.dbf", notes), DBF_CANNOT_OPEN);
}

TEST(DbfSearch, MatchingRule) {
    const Read r = readBytes(testdb::dbfBytes(testdb::datavueFields(), testdb::sampleRecords()));
    const DbfTable& t = r.table;
    DbfQuery query(static_cast<size_t>(t.fieldCount));
    auto first = [&](const char* field, const std::string& text, int start = 1, int step = 1) {
        DbfQuery q = query;
        q[fieldIndexOf(t, field)] = text;
        return findRecord(t, q, start, step);
    };
    EXPECT_EQ(first("D_NAME", "EMERALD"), 1);  // "Square emerald"
    EXPECT_EQ(first("D_NAME", "EMERALD", 2), 4);
    EXPECT_EQ(first("D_NAME", "emerald", 7, -1), 7);
    EXPECT_EQ(first("D_NAME", "Square emerald and more"), t.recordCount);
    EXPECT_EQ(first("D_CODE", "07."), 1);
    EXPECT_EQ(first("D_CODE", "07.", 2), 7);
    // An empty query matches every record; record 6 has an empty first field
    // and so matches no query text.
    EXPECT_EQ(findRecord(t, query, 0, 1), 0);
    EXPECT_EQ(first("D_DESIGNER", "Nobody"), 7);
    // Two fields at once must both match.
    DbfQuery both = query;
    both[fieldIndexOf(t, "D_DESIGNER")] = "lapidary";
    both[fieldIndexOf(t, "D_CODE")] = "P";
    EXPECT_EQ(findRecord(t, both, 1, 1), 4);
    // Out of range starts find nothing.
    EXPECT_EQ(findRecord(t, query, -1, -1), t.recordCount);
    EXPECT_EQ(findRecord(t, query, t.recordCount, 1), t.recordCount);
}

class DatavueSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdb::writeSampleDatabase(dir.path());
        DbfTable table;
        std::ostringstream notes;
        ASSERT_EQ(readDbf(table, (dir / "dlist.dbf").string(), notes), DBF_READ);
        search.attach(std::move(table), dir.path().string() + "/");
    }
    ScratchDir dir;
    DatavueSearch search;
};

TEST_F(DatavueSearchTest, ForwardStartsAtRecordOneAndBackwardAtTheLast) {
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.currentRecord(), 1);
    EXPECT_EQ(search.edits[DV_NAME], "Square emerald");
    EXPECT_EQ(search.edits[DV_REMARKS], "Step cut with a wide table");
    EXPECT_EQ(search.shape, 7);
    EXPECT_EQ(search.caption(), "PREVIEW");
    ASSERT_EQ(search.previewKind(), PreviewKind::Thumbnail);
    EXPECT_EQ(search.previewStone()->gear, 96);
    EXPECT_EQ(search.previewStone()->symmetry, 4);
    EXPECT_EQ(search.previewStone()->mirror, 0);
    EXPECT_TRUE(search.canOpen());

    DatavueSearch backward;
    backward.attach(search.table(), search.libraryFolder());
    EXPECT_EQ(backward.findAndShow(-1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(backward.currentRecord(), 7);
    EXPECT_EQ(backward.caption(), "PREVIEW NOT AVAILABLE");
    EXPECT_FALSE(backward.canOpen());
    // Going back never shows record 0.
    for (int i = 0; i < 6; ++i) backward.findAndShow(-1);
    EXPECT_EQ(backward.currentRecord(), 1);
    EXPECT_EQ(backward.findAndShow(-1), DatavueSearch::Outcome::Beep);
    EXPECT_FALSE(backward.canOpen());
    EXPECT_TRUE(search.takeNotes().empty());
    EXPECT_TRUE(backward.takeNotes().empty());
}

TEST_F(DatavueSearchTest, ShapeBoxSearchesItsCodeAndTheFourthFindNextSaysLastOne) {
    // After a shown record the choice of a shape empties the other fields.
    search.findAndShow(+1);
    EXPECT_EQ(search.shapeChosen(7), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.currentRecord(), 1);
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.currentRecord(), 7);
    EXPECT_EQ(search.edits[DV_CODE], "07.007");

    search.editChanged(DV_NAME, "o");  // clears the others
    EXPECT_EQ(search.edits[DV_CODE], "");
    EXPECT_EQ(search.shape, NO_SHAPE);
    search.editChanged(DV_NAME, "ov");
    search.editChanged(DV_NAME, "emerald");  // "Square emerald", "Emerald cut", "Lost emerald"
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.foundCount(), 3);
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::LastOne);
    const Diagnostics said = search.takeNotes();
    EXPECT_EQ(said.texts(), std::vector<std::string>{"Last one, 3 total"});
    EXPECT_EQ(said[0].kind, DiagKind::Information);
    EXPECT_TRUE(search.takeNotes().empty());  // taken once
    // The query comes back into the fields, ready for another round.
    EXPECT_EQ(search.edits[DV_NAME], "emerald");
    EXPECT_EQ(search.edits[DV_CODE], "");
    EXPECT_EQ(search.foundCount(), 0);
    EXPECT_EQ(search.previewKind(), PreviewKind::None);
    EXPECT_FALSE(search.canOpen());
    EXPECT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.currentRecord(), 1);

    search.shapeChosen(0);  // "Any": no code, so the first record again
    EXPECT_EQ(search.currentRecord(), 1);
    EXPECT_EQ(search.shape, 7);
    EXPECT_EQ(shapeOfCode("46.1"), 46);
    EXPECT_EQ(shapeOfCode("47.1"), 0);
    EXPECT_EQ(shapeOfCode("x"), 0);
}

TEST_F(DatavueSearchTest, PicturesAndRecordsWithoutAName) {
    search.editChanged(DV_DESIGNER, "D. Designer");
    ASSERT_EQ(search.findAndShow(+1), DatavueSearch::Outcome::Shown);
    EXPECT_EQ(search.previewKind(), PreviewKind::Picture);
    EXPECT_EQ(search.caption(), "");
    EXPECT_TRUE(isWmf(search.picture()));
    EXPECT_TRUE(search.canOpen());

    // Record 6's first field is empty: every field shows empty, no preview.
    search.updating = false;
    search.editChanged(DV_REMARKS, "First field");
    EXPECT_EQ(search.edits[DV_DESIGNER], "");
    search.editChanged(DV_REMARKS, "");
    search.findAndShow(+1);
    for (int i = 0; i < 5; ++i) search.findAndShow(+1);
    ASSERT_EQ(search.currentRecord(), 6);
    for (const std::string& text : search.edits) EXPECT_EQ(text, "");
    EXPECT_EQ(search.caption(), "PREVIEW NOT AVAILABLE");
    EXPECT_FALSE(search.canOpen());
    EXPECT_FALSE(search.openDesign());
}

TEST_F(DatavueSearchTest, UnknownFieldsAreReportedOnceEach) {
    auto fields = testdb::datavueFields();
    fields.push_back({"D_COLOUR", 8});
    fields.push_back({"D_SIZE", 4});
    const Read r = readBytes(testdb::dbfBytes(fields, testdb::sampleRecords()));
    DatavueSearch other;
    other.attach(r.table, "");
    EXPECT_EQ(other.takeNotes().texts(), (std::vector<std::string>{"Database has unrecognized field:\nD_COLOUR",
                                                           "Database has unrecognized field:\nD_SIZE"}));
    EXPECT_EQ(other.findAndShow(+1), DatavueSearch::Outcome::Shown);
}

TEST_F(DatavueSearchTest, DatabasePathLivesInTheRegistry) {
    setRegistryFolder(dir.path().string());
    EXPECT_EQ(databasePath(), "c:\\dvue2\\dlist.dbf");
    EXPECT_TRUE(storeDatabasePath("/data/dlist.dbf"));
    EXPECT_EQ(databasePath(), "/data/dlist.dbf");
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path"), "/data/dlist.dbf");
    setRegistryFolder("");
}

}  // namespace
}  // namespace brevix
