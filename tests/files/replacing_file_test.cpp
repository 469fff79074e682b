#include <gtest/gtest.h>

#include <unistd.h>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/asc_format.h"
#include "files/c_numbers.h"
#include "files/replacing_file.h"

using namespace brevix;
using namespace brevix::testing;
namespace fs = std::filesystem;

namespace {
size_t filesIn(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}
}  // namespace

TEST(ReplacingFile, CleanStreamReplacesTheTargetKeepingItsPermissions) {
    ScratchDir dir;
    const fs::path target = dir / "design.asc";
    writeFileBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    {
        ReplacingFile file(target.string());
        ASSERT_TRUE(file.isOpen());
        file.stream() << "new";
        EXPECT_EQ(readFileBytes(target), "old");  // nothing changes before the commit
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(readFileBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(ReplacingFile, FailedOrAbandonedWriteLeavesThePreviousFile) {
    ScratchDir dir;
    const fs::path target = dir / "design.gem";
    writeFileBytes(target, "previous design");
    {
        ReplacingFile file(target.string());
        file.stream() << "half a design";
        file.stream().setstate(std::ios::badbit);  // as a full disk would
        EXPECT_FALSE(file.commit());
    }
    {
        ReplacingFile file(target.string());
        file.stream() << "never committed";
    }
    EXPECT_EQ(readFileBytes(target), "previous design");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(ReplacingFile, TargetsThatCannotBeWrittenAreReportedBeforeWriting) {
    ScratchDir dir;
    const std::string missing = (dir / "no-folder" / "x.asc").string();
    EXPECT_FALSE(ReplacingFile(missing).isOpen());
    Diagnostics notes;
    EXPECT_FALSE(writeAscFile(makeRoundBrilliant(), missing, notes));
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"Cannot open " + missing + " to write.\nThere is no folder " +
                                                  (dir / "no-folder").string() + "."});

    if (::geteuid() != 0) {  // root may write anything
        const fs::path locked = dir / "locked.asc";
        writeFileBytes(locked, "keep");
        fs::permissions(locked, fs::perms::owner_read);
        EXPECT_FALSE(ReplacingFile(locked.string()).isOpen());
        EXPECT_EQ(readFileBytes(locked), "keep");
    }
}

TEST(ReplacingFile, SavingThroughALinkWritesTheLinkedFile) {
    ScratchDir dir;
    const fs::path real = dir / "real.asc", link = dir / "link.asc";
    writeFileBytes(real, "old");
    fs::create_symlink(real, link);
    Diagnostics notes;
    ASSERT_TRUE(writeAscFile(makeRoundBrilliant(), link.string(), notes));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(isAscFile(bytesOf(readFileBytes(real))));
}

TEST(CNumbers, ParsingFollowsAtofWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(parseDouble("23.50"), 23.5);
    EXPECT_DOUBLE_EQ(parseDouble("+40"), 40);
    EXPECT_DOUBLE_EQ(parseDouble("-0.5abc"), -0.5);
    EXPECT_DOUBLE_EQ(parseDouble("1e3"), 1000);
    EXPECT_DOUBLE_EQ(parseDouble("0x10"), 16);
    EXPECT_EQ(parseDouble("abc"), 0);
    EXPECT_EQ(parseDouble("--1"), 0);
    EXPECT_TRUE(std::isinf(parseDouble("1e400")));
    EXPECT_EQ(parseDouble("1e-400"), 0);
    EXPECT_EQ(parseInt("96"), 96);
    EXPECT_EQ(parseInt("-96x"), -96);
    EXPECT_EQ(parseInt("99999999999"), 2147483647);
    EXPECT_EQ(parseInt("-99999999999"), -2147483647 - 1);
    std::string out;
    appendFixed(out, -0.0, 6);
    out += ' ';
    appendFixed(out, 0.125, 2);  // ties round to even, as printf does
    out += ' ';
    appendGeneral(out, 1.25e-11, 8);
    EXPECT_EQ(out, "-0.000000 0.12 1.25e-11");
}
