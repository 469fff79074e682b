// Stow libraries and the member names of the Datavue database: finding a
// member, the corrupt-library messages, the library each volume goes to,
// and extraction into a file of its own.
#include <gtest/gtest.h>

#include <fstream>

#include "file_test_support.h"
#include "files/datavue_members.h"
#include "files/memory_input.h"
#include "files/stow_library.h"
#include "support/datavue_database.h"

namespace brevix {
namespace {

using testing::bytesOf;
using testing::ScratchDir;

std::optional<uint32_t> find(const std::string& library, const std::string& member, Diagnostics& notes,
                             std::string* bytes = nullptr) {
    MemoryInput in(bytesOf(library));
    auto size = stowFind(in, "GTUSER.STO", member, notes);
    if (size && bytes) {
        const auto data = readMemberBytes(in, *size);
        bytes->assign(data.begin(), data.end());
    }
    return size;
}

TEST(StowLibrary, FindsMembersWhateverTheCaseOfTheirNames) {
    const std::string library =
        testdb::stowBytes({{"pc0107.thb", "first"}, {"PC0512.THB", "second member"}, {"Pc0512.thb", "shadowed"}});
    Diagnostics messages;
    std::string bytes;
    ASSERT_EQ(find(library, "PC0107.THB", messages, &bytes), 5u);
    EXPECT_EQ(bytes, "first");
    // The first of two equal names wins.
    ASSERT_EQ(find(library, "pc0512.THB", messages, &bytes), 13u);
    EXPECT_EQ(bytes, "second member");
    EXPECT_FALSE(find(library, "PC0999.THB", messages));
    EXPECT_TRUE(messages.texts().empty());
}

// Each way a library can be corrupt gives its own message and no member.
TEST(StowLibrary, CorruptLibrariesAreReportedAndYieldNothing) {
    const std::string good = testdb::stowBytes({{"A.THB", "data"}});
    const size_t toc = good.size() - (12 + 18 + 5);
    auto broken = [&](size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    const struct {
        std::string library;
        const char* message;
    } cases[] = {
        {broken(0, 0x66), "Stow file GTUSER.STO is corrupt: header wrong\n"},
        {good.substr(0, 3), "Stow file GTUSER.STO is corrupt: header wrong\n"},
        {broken(toc, 0x66), "Stow file GTUSER.STO is corrupt: table of contents pointer foul\n"},
        {broken(6, 0x7F), "Stow file GTUSER.STO is corrupt: table of contents pointer foul\n"},
        {broken(toc + 4, 0x4D), "Stow file GTUSER.STO is corrupt: version number mismatch\n"},
        {broken(toc + 6, 0x01), "Stow file GTUSER.STO is corrupt: contents position mismatch\n"},
        {broken(toc + 10, 0x02), "Stow file GTUSER.STO is corrupt: number of files mismatch\n"},
    };
    for (const auto& c : cases) {
        Diagnostics messages;
        EXPECT_FALSE(find(c.library, "A.THB", messages));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(messages[0].kind, DiagKind::Warning);
    }
    // Entries cut short end the search silently.
    Diagnostics messages;
    EXPECT_FALSE(find(good.substr(0, good.size() - 3), "A.THB", messages));
    EXPECT_TRUE(messages.texts().empty());
}

TEST(StowLibrary, NewerVersionWarnsTwiceAndIsReadAnyway) {
    Diagnostics messages;
    std::string bytes;
    EXPECT_EQ(find(testdb::stowBytes({{"A.THB", "data"}}, 1101), "A.THB", messages, &bytes), 4u);
    EXPECT_EQ(bytes, "data");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Warning: GTUSER.STO was written with version 1.101",
                                                          "But this is only version 1.100"}));
}

TEST(StowLibrary, MemberSizeBeyondTheFileReadsOnlyWhatIsThere) {
    std::string library = testdb::stowBytes({{"A.THB", "data"}});
    // The size of the member claims 4 GiB.
    const size_t sizeField = library.size() - (18 + 5) + 4;
    for (int i = 0; i < 4; ++i) library[sizeField + i] = '\xFF';
    MemoryInput in(bytesOf(library));
    Diagnostics notes;
    auto size = stowFind(in, "X.STO", "A.THB", notes);
    ASSERT_EQ(size, 0xFFFFFFFFu);
    EXPECT_EQ(readMemberBytes(in, *size).size(), library.size() - 12);
}

TEST(MemberNames, PrefixVolumeAndKind) {
    auto name = [](const std::string& ref, const std::string& code, MemberKind kind) {
        return memberName(ref, code, kind).value().name;
    };
    EXPECT_EQ(name("BM0512.BMP", "01.002", MemberKind::Thumbnail), "PC0512.THB");
    EXPECT_EQ(name("BM0512.BMP", "01.002", MemberKind::DesignText), "PC0512.ASC");
    EXPECT_EQ(name("BM0512.BMP", "01.002P", MemberKind::Thumbnail), "PF0512.THB");
    EXPECT_EQ(name("BM0512.BMP", "01.002P", MemberKind::DesignText), "PF0512.ASC");
    // Only a capital P at the very end of the code.
    EXPECT_EQ(name("BM0512.BMP", "01.002p", MemberKind::DesignText), "PC0512.ASC");
    EXPECT_EQ(name("BM0512.BMP", "01.P02", MemberKind::DesignText), "PC0512.ASC");
    EXPECT_EQ(name("BM0512", "", MemberKind::Thumbnail), "PC0512.THB");
    // Picture references.
    EXPECT_EQ(name("BM9905.WMF", "05.005", MemberKind::Thumbnail), "GX9905.WMF");
    EXPECT_EQ(name("BM9905.wmf", "05.005", MemberKind::DesignText), "PC9905W.ASC");
    EXPECT_TRUE(memberName("BM9905.wmf", "", MemberKind::Thumbnail)->picture);
    EXPECT_FALSE(memberName("B", "01.001", MemberKind::Thumbnail));

    auto libraries = [](const std::string& ref) {
        const auto m = memberName(ref, "01.001", MemberKind::Thumbnail).value();
        return volumeLibrary(m, MemberKind::Thumbnail) + " " + volumeLibrary(m, MemberKind::DesignText);
    };
    EXPECT_EQ(libraries("BM0012.BMP"), "GTHB2799.STO GASC2799.STO");
    EXPECT_EQ(libraries("BM0112.BMP"), "GTHB0101.STO GASC0101.STO");
    EXPECT_EQ(libraries("BM0212.BMP"), "GTHB0208.STO GASC0208.STO");
    EXPECT_EQ(libraries("BM0512.BMP"), "GTHB0208.STO GASC0208.STO");
    EXPECT_EQ(libraries("BM0812.BMP"), "GTHB0208.STO GASC0208.STO");
    EXPECT_EQ(libraries("BM0912.BMP"), "GTHB0926.STO GASC0926.STO");
    EXPECT_EQ(libraries("BM2612.BMP"), "GTHB0926.STO GASC0926.STO");
    EXPECT_EQ(libraries("BM2712.BMP"), "GTHB2799.STO GASC2799.STO");
    EXPECT_EQ(libraries("BM9912.BMP"), "GTHB2799.STO GASC2799.STO");
    EXPECT_EQ(libraries("BMXY12.BMP"), "GTHB2799.STO GASC2799.STO");
    EXPECT_EQ(libraries("BM9912.WMF"), "GWMF.STO GASCWMF.STO");

    EXPECT_EQ(libraryFolderOf("/data/dvue2/dlist.dbf"), "/data/dvue2/");
    EXPECT_EQ(libraryFolderOf("dlist.dbf"), "");
}

class DatavueLibraries : public ::testing::Test {
protected:
    void SetUp() override { testdb::writeSampleDatabase(dir.path()); }
    std::string folder() const { return dir.path().string() + "/"; }
    ScratchDir dir;
};

TEST_F(DatavueLibraries, EachVolumeIsFoundInItsLibrary) {
    Diagnostics messages;
    for (const char* ref : {"BM0107.BMP", "BM0512.BMP", "BM2603.BMP"}) {
        auto thumbnail = findThumbnail(folder(), ref, "01.001", messages);
        ASSERT_TRUE(thumbnail) << ref;
        EXPECT_FALSE(thumbnail->picture);
        EXPECT_TRUE(hasDesignText(folder(), ref, "01.001", messages)) << ref;
    }
    // Volume 27 with the "P" code: the PF members of the 2799 libraries.
    EXPECT_TRUE(findThumbnail(folder(), "BM2704.BMP", "04.004P", messages));
    EXPECT_TRUE(hasDesignText(folder(), "BM2704.BMP", "04.004P", messages));
    EXPECT_FALSE(hasDesignText(folder(), "BM2704.BMP", "04.004", messages));
    EXPECT_FALSE(findThumbnail(folder(), "BM0700.BMP", "07.007", messages));
    EXPECT_TRUE(messages.texts().empty());

    auto picture = findThumbnail(folder(), "BM9905.WMF", "05.005", messages);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->picture);
    const std::string pear = testdb::pearPicture();
    EXPECT_EQ(readMemberBytes(*picture->member.stream, picture->member.size),
              std::vector<unsigned char>(pear.begin(), pear.end()));
    EXPECT_TRUE(hasDesignText(folder(), "BM9905.WMF", "05.005", messages));
    // A missing picture, unlike a missing thumbnail, is reported.
    EXPECT_FALSE(findThumbnail(folder(), "BM9906.WMF", "05.006", messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot open GX9906.WMF in library GWMF.STO"});
}

TEST_F(DatavueLibraries, TheUserAndUpdateLibrariesComeFirstAndACorruptOneIsPassed) {
    Diagnostics messages;
    testdb::writeBytes(dir / "GAUSER.STO", testdb::stowBytes({{"PC0512.ASC", "user's own"}}));
    EXPECT_EQ(designTextBytes(folder(), "BM0512.BMP", "01.002", messages), "user's own");
    EXPECT_TRUE(messages.empty());
    testdb::writeBytes(dir / "GAUSER.STO", "not a library");
    testdb::writeBytes(dir / "GAUPDATE.STO", testdb::stowBytes({{"PC0512.ASC", "update"}}));
    EXPECT_EQ(designTextBytes(folder(), "BM0512.BMP", "01.002", messages), "update");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Stow file GAUSER.STO is corrupt: header wrong\n"});
}

TEST_F(DatavueLibraries, ExtractionUsesAFreshFileAndLeavesTheUsersFilesAlone) {
    Diagnostics messages;
    // A file of the member's name in the current folder and in the library
    // folder: neither is read, changed or removed.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    testdb::writeBytes(dir / "PC0512.ASC", "the user's own design");
    std::string path;
    {
        auto extracted = extractDesignText(folder(), "BM0512.BMP", "01.002", messages);
        ASSERT_TRUE(extracted);
        path = extracted->path();
        EXPECT_EQ(extracted->memberName(), "PC0512.ASC");
        EXPECT_NE(std::filesystem::path(path).parent_path(), dir.path());
        EXPECT_EQ(testing::readFileBytes(path), testdb::ascText(makeRoundBrilliant()));
        ExtractedDesign moved = std::move(*extracted);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(testing::readFileBytes(dir / "PC0512.ASC"), "the user's own design");
    std::filesystem::current_path(previous);

    EXPECT_FALSE(extractDesignText(folder(), "", "01.002", messages));
    EXPECT_FALSE(extractDesignText(folder(), "BM0512.BMP", "", messages));
    EXPECT_FALSE(extractDesignText(folder(), "BM0599.BMP", "01.002", messages));
    EXPECT_TRUE(messages.empty());
}

TEST_F(DatavueLibraries, AMemberCutShortIsNotExtracted) {
    Diagnostics messages;
    std::string library = testdb::stowBytes({{"PC0512.ASC", "Brevix 5.0\n"}});
    const size_t sizeField = library.size() - (18 + 10) + 4;
    library[sizeField] = 100;  // claims more than the library holds
    testdb::writeBytes(dir / "GASC0208.STO", library);
    EXPECT_TRUE(hasDesignText(folder(), "BM0512.BMP", "01.002", messages));
    EXPECT_FALSE(extractDesignText(folder(), "BM0512.BMP", "01.002", messages));
}

}  // namespace
}  // namespace brevix
