// Hostile and broken input: design files cut short, values no design can
// hold, paths that are no regular file, crafted database indexes, and the
// temporary files a killed writer leaves behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/binary_io.h"
#include "files/dbf_table.h"
#include "files/design_damage.h"
#include "files/file_access.h"
#include "files/memory_input.h"
#include "files/replacing_file.h"
#include "support/datavue_database.h"

namespace brevix {
namespace {

using testing::bytesOf;
using testing::designFacets;
using testing::fromAsc;
using testing::fromGem;
using testing::gemOf;
using testing::Messages;
using testing::ScratchDir;
namespace fs = std::filesystem;

// Where the settings of a written .gem begin: right after the end marker.
size_t settingsAt(const std::string& gem) {
    std::string marker;
    le::putDouble(marker, END_OF_FACETS);
    const size_t at = gem.find(marker);
    EXPECT_NE(at, std::string::npos);
    return at + marker.size();
}

// ---- files cut short ------------------------------------------------------

TEST(DesignDamage, GemCutAnywhereBeforeItsLinesIsDamagedAndAWholeFileIsNot) {
    const std::string whole = gemOf(makeRoundBrilliant());
    const size_t settings = settingsAt(whole);
    const size_t lines = settings + 3 * 4 + 8 + 4 + 8;
    EXPECT_EQ(gemDamage(bytesOf(whole)), "");
    EXPECT_EQ(gemDamage(bytesOf("")), "The file is empty.");
    EXPECT_EQ(gemDamage(bytesOf(std::string(1, '\x40'))), "It ends inside its list of facets.");
    EXPECT_EQ(gemDamage(bytesOf(whole.substr(0, settings - 8))), "It ends inside its list of facets.");
    EXPECT_EQ(gemDamage(bytesOf(whole.substr(settings - 8, 8))),
              "It ends inside its design settings (symmetry, gear, refractive index).");
    for (size_t size = settings; size < lines; ++size)
        EXPECT_EQ(gemDamage(bytesOf(whole.substr(0, size))),
                  "It ends inside its design settings (symmetry, gear, refractive index).")
            << size;
    // Ending right after the settings is what writers without lines did;
    // once the lines begin, all eight must be there.
    EXPECT_EQ(gemDamage(bytesOf(whole.substr(0, lines))), "");
    for (size_t size = lines + 1; size < lines + 8; ++size)
        EXPECT_EQ(gemDamage(bytesOf(whole.substr(0, size))), "It ends inside its heading and footnote lines.");

    // A preform cut short, and the word that announces it cut short.
    Stone withPreform = makeRoundBrilliant();
    withPreform.setPreform(std::make_unique<Stone>(makeRoundBrilliant()));
    const std::string both = gemOf(withPreform);
    EXPECT_EQ(gemDamage(bytesOf(both)), "");
    EXPECT_EQ(gemDamage(bytesOf(both.substr(0, both.size() - 3))), "It ends inside its preform.");
    EXPECT_EQ(gemDamage(bytesOf(both.substr(0, whole.size() + 4))), "It ends inside its preform.");

    // The check leaves the stream where it found it.
    MemoryInput in(bytesOf(whole));
    in.seekg(3);
    gemDamage(in);
    EXPECT_EQ(in.tellg(), 3);
}

TEST(DesignDamage, ATextDesignsLastLineWithoutALineBreakIsToldNotRefused) {
    const std::string whole = testing::ascOf(makeRoundBrilliant());
    EXPECT_FALSE(lastLineUnended(bytesOf(whole)));
    EXPECT_FALSE(lastLineUnended(bytesOf(whole + "  \t\x1A")));
    EXPECT_FALSE(lastLineUnended(bytesOf("Brevix 5.0\r\ng 96 0.0\r\n")));
    EXPECT_TRUE(lastLineUnended(bytesOf(whole.substr(0, whole.size() - 1))));
    // Longer than one step back from the end.
    EXPECT_TRUE(lastLineUnended(bytesOf("Brevix 5.0\nH " + std::string(10000, 'x'))));
    EXPECT_FALSE(lastLineUnended(bytesOf("Brevix 5.0\n" + std::string(10000, ' '))));
    // The reader takes the last line as it takes any other.
    Stone ended, unended;
    readAsc(ended, bytesOf(whole));
    readAsc(unended, bytesOf(whole.substr(0, whole.size() - 1)));
    EXPECT_EQ(unended.nFacet, ended.nFacet);
    EXPECT_EQ(testing::ascOf(unended), whole);
}

// ---- values no design can hold ------------------------------------------

struct Refused {
    std::vector<std::string> messages;
    Stone stone{ROUGH_HALF};
};

Refused readGemWith(void (*change)(Stone&)) {
    Stone design = makeRoundBrilliant();
    change(design);
    Messages m;
    Refused r;
    r.stone = fromGem(gemOf(design));
    r.messages = m.texts();
    return r;
}

TEST(DesignValues, GemRefusesWhatNoDesignHoldsAndKeepsTheDefault) {
    const int facets = designFacets(makeRoundBrilliant());

    Refused ri = readGemWith([](Stone& s) { s.refractiveIndex = std::numeric_limits<double>::quiet_NaN(); });
    EXPECT_EQ(ri.messages, std::vector<std::string>{
                               "The refractive index in this file is not a number; a design's refractive index "
                               "lies between 1.01 and 3.00.\nThe design keeps 1.54."});
    EXPECT_DOUBLE_EQ(ri.stone.refractiveIndex, 1.54);
    EXPECT_EQ(designFacets(ri.stone), facets);  // the rest of the design is read

    Refused inf = readGemWith([](Stone& s) { s.refractiveIndex = std::numeric_limits<double>::infinity(); });
    ASSERT_EQ(inf.messages.size(), 1u);
    EXPECT_EQ(inf.messages[0].rfind("The refractive index in this file is infinite; ", 0), 0u);

    Refused offset = readGemWith([](Stone& s) { s.indexOffset = std::numeric_limits<double>::quiet_NaN(); });
    EXPECT_EQ(offset.messages, std::vector<std::string>{"The index offset in this file is not a number; a "
                                                        "design's index offset is a number of notches.\n"
                                                        "The design keeps 0."});
    EXPECT_EQ(offset.stone.indexOffset, 0);

    for (int32_t symmetry : {0, -3, 2147483647}) {
        Stone design = makeRoundBrilliant();
        design.symmetry = symmetry;
        Messages m;
        Stone back = fromGem(gemOf(design));
        EXPECT_EQ(m.texts(), std::vector<std::string>{
                                 "The symmetry in this file is " + std::to_string(symmetry) +
                                 "; a design's symmetry is a whole number from 1 to 1000.\nThe design keeps 8."});
        EXPECT_EQ(back.symmetry, 8);
    }
}

TEST(DesignValues, TextRefusesTheSameValuesAndStopsAtAnOffsetThatWouldMisplaceFacets) {
    {
        Messages m;
        Stone s = fromAsc("Brevix 5.0\ng 96 0.0\ny 0 y\nI nan\na 41 1.1 3 6 9 12 15 18 21 24\n");
        EXPECT_EQ(m.texts(),
                  (std::vector<std::string>{
                      "The symmetry in this file is 0; a design's symmetry is a whole number from 1 to 1000.\n"
                      "The design keeps 1.",
                      "The refractive index in this file is not a number; a design's refractive index lies between "
                      "1.01 and 3.00.\nThe design keeps 1.54."}));
        EXPECT_EQ(s.symmetry, 1);
        EXPECT_DOUBLE_EQ(s.refractiveIndex, 1.54);
        EXPECT_GT(designFacets(s), 0);
    }
    {
        Messages m;
        Stone s = fromAsc("Brevix 5.0\ny 2147483647 n\nI 1e999\n");
        ASSERT_EQ(m.texts().size(), 2u);
        EXPECT_EQ(s.symmetry, 1);
        EXPECT_DOUBLE_EQ(s.refractiveIndex, 1.54);
    }
    {
        Messages m;
        Stone s = fromAsc("Brevix 5.0\ng 96 nan\na 41 1.1 3 6 9 12\n");
        EXPECT_EQ(m.texts(), std::vector<std::string>{
                                 "The index offset in this file is not a number; a design's index offset is a "
                                 "number of notches.\nReading stopped there: the design holds what came before it."});
        EXPECT_EQ(designFacets(s), 0);
        EXPECT_EQ(s.indexOffset, 0);
    }
    // Values a cutter may type read without a word.
    Messages m;
    Stone s = fromAsc("Brevix 5.0\ng 96 0.5\ny 12 y\nI 2.42\n");
    EXPECT_TRUE(m.texts().empty());
    EXPECT_EQ(s.symmetry, 12);
    EXPECT_DOUBLE_EQ(s.refractiveIndex, 2.42);
    EXPECT_DOUBLE_EQ(s.indexOffset, 0.5);
}

// ---- paths that are no regular file -------------------------------------

TEST(FileAccess, ReasonsForFilesThatCannotBeReadOrWritten) {
    ScratchDir dir;
    const std::string folder = (dir / "design.asc").string();
    fs::create_directory(folder);
    const std::string pipe = (dir / "pipe.gem").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string file = (dir / "real.gem").string();
    testing::writeFileBytes(file, "x");

    EXPECT_EQ(readProblem(file), "");
    EXPECT_EQ(readProblem(folder), "It is a folder, not a file.");
    EXPECT_EQ(readProblem(pipe), "It is a device, a pipe or a socket, not a file.");
    EXPECT_EQ(readProblem("/dev/null"), "It is a device, a pipe or a socket, not a file.");
    EXPECT_EQ(readProblem((dir / "none.gem").string()), "There is no such file.");
    EXPECT_EQ(readProblem((dir / "gone" / "deeper" / "x.gem").string()),
              "There is no folder " + (dir / "gone").string() + ".");
    EXPECT_EQ(readProblem(file + "/x.gem"), file + " is a file, not a folder.");

    EXPECT_EQ(writeProblem((dir / "gone" / "x.png").string(), ENOENT),
              "There is no folder " + (dir / "gone").string() + ".");
    EXPECT_EQ(writeProblem(folder, 0), "It is a folder, not a file.");
    EXPECT_EQ(writeProblem(file, ENOSPC), "The disk is full.");
    EXPECT_EQ(fileMessage("Cannot open %s to read", file, ""), "Cannot open " + file + " to read");

    if (::geteuid() != 0) {  // root reads and writes anything
        fs::permissions(file, fs::perms::none);
        EXPECT_EQ(readProblem(file), "Permission denied.");
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(writeProblem((dir / "new.gem").string(), EACCES), "Permission denied.");
    }

    // The readers refuse them without opening them (a pipe would wait for ever).
    Messages m;
    Stone s(ROUGH_HALF);
    EXPECT_FALSE(readGemFile(s, pipe));
    EXPECT_FALSE(readAscFile(s, folder));
    testing::passOn(s);
    EXPECT_EQ(m.texts(), (std::vector<std::string>{
                             "Cannot open " + pipe + " to read\nIt is a device, a pipe or a socket, not a file.",
                             "Cannot open " + folder + " to read\nIt is a folder, not a file."}));
}

// ---- temporary files of a killed writer ---------------------------------

TEST(ReplacingFile, TemporaryFilesOfWritersThatAreGoneAreRemovedOthersStay) {
    ScratchDir dir;
    const fs::path target = dir / "design.gem";
    // A process number above any the system hands out: no such process runs.
    const fs::path stale = dir / "design.gem.99999999-0-123.tmp";
    const fs::path running = dir / ("design.gem.1-4-56.tmp");  // process 1 always runs
    const fs::path otherTarget = dir / "other.gem.99999999-0-123.tmp";
    const fs::path notOurs = dir / "design.gem.notes.tmp";
    for (const fs::path& p : {stale, running, otherTarget, notOurs}) testing::writeFileBytes(p, "half");

    ReplacingFile file(target.string());
    ASSERT_TRUE(file.isOpen());
    file.stream() << "design";
    ASSERT_TRUE(file.commit());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(otherTarget));  // cleared when that target is written
    EXPECT_TRUE(fs::exists(notOurs));
    EXPECT_EQ(testing::readFileBytes(target), "design");
}

TEST(ReplacingFile, ProblemSaysWhyTheFileCouldNotBeCreated) {
    ScratchDir dir;
    const std::string missing = (dir / "gone" / "x.asc").string();
    ReplacingFile file(missing);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.problem(), "There is no folder " + (dir / "gone").string() + ".");
    Diagnostics notes;
    EXPECT_FALSE(writeAscFile(makeRoundBrilliant(), missing, notes));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"Cannot open " + missing + " to write.\nThere is no folder " +
                                                  (dir / "gone").string() + "."});
}

// ---- database indexes that are no dBase table ---------------------------

int readDbfBytes(const std::string& bytes, DbfTable& table) {
    MemoryInput in(bytesOf(bytes));
    std::ostringstream notes;
    return readDbf(table, in, notes);
}

TEST(DbfNotATable, CraftedHeadersAreRefusedBeforeAnyRecordIsHeld) {
    // Two thousand fields of one byte in a record of two: fields times
    // records would be held, far more than the file.
    std::string crafted;
    crafted.push_back(0x03);
    crafted.append(3, '\0');
    le::putU32(crafted, 1000000);
    le::putU16(crafted, 65535);
    le::putU16(crafted, 2);
    crafted.append(20, '\0');
    for (int f = 0; f < 2000; ++f) {
        std::string d(32, '\0');
        d[0] = 'F';
        d[16] = 1;
        crafted += d;
    }
    crafted.push_back(0x0D);
    crafted.append(100000, ' ');
    DbfTable table;
    EXPECT_EQ(readDbfBytes(crafted, table), DBF_NOT_A_TABLE);
    EXPECT_TRUE(table.values.empty());
    EXPECT_EQ(table.fieldCount, 0);

    // Descriptors that run past the header's length.
    const std::vector<testdb::DbfField> fields = {{"D_NAME", 12}, {"D_CODE", 6}};
    std::string shortHeader = testdb::dbfBytes(fields, {{"Oval", "02.1"}});
    shortHeader[8] = 32 + 32;
    EXPECT_EQ(readDbfBytes(shortHeader, table), DBF_NOT_A_TABLE);
    // A field of no width.
    std::string noWidth = testdb::dbfBytes(fields, {{"Oval", "02.1"}});
    noWidth[32 + 16] = 0;
    noWidth[10] = 7;
    EXPECT_EQ(readDbfBytes(noWidth, table), DBF_NOT_A_TABLE);
    // Zeros, as /dev/zero or an empty disk image gives them.
    EXPECT_EQ(readDbfBytes(std::string(4096, '\0'), table), DBF_NOT_A_TABLE);

    // The file itself: a pipe is not opened, a folder neither.
    ScratchDir dir;
    const std::string pipe = (dir / "dlist.dbf").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::ostringstream notes;
    EXPECT_EQ(readDbf(table, pipe, notes), DBF_CANNOT_OPEN);
    EXPECT_EQ(readDbf(table, dir.path().string(), notes), DBF_CANNOT_OPEN);
}

}  // namespace
}  // namespace brevix
