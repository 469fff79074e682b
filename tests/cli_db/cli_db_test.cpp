// brevix-cli db search and db extract: what they print, the files they
// write and their exit codes, on the tests' own small database.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "support/datavue_database.h"

namespace brevix {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CliDb : public ::testing::Test {
protected:
    struct Run {
        int code = -1;
        std::string out, err;
    };
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("brevix-cli-db-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "db");
        testdb::writeSampleDatabase(folder_ / "db");
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string dbf() const { return "'" + path("db/dlist.dbf") + "'"; }

    Run run(const std::string& arguments) {
        const std::string command = std::string("cd '") + folder_.string() + "' && '" + BREVIX_CLI + "' " +
                                    arguments + " >stdout 2>stderr </dev/null";
        const int status = std::system(command.c_str());
        Run result;
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readFile(folder_ / "stdout");
        result.err = readFile(folder_ / "stderr");
        return result;
    }
    fs::path folder_;
};

TEST_F(CliDb, SearchPrintsEachMatchInRecordOrder) {
    Run emerald = run("db search " + dbf() + " D_NAME=EMERALD");
    EXPECT_EQ(emerald.code, 0);
    EXPECT_EQ(emerald.out,
              "1\t07.001\tSquare emerald\tA. Lapidary\n"
              "4\t04.004P\tEmerald cut\tA. Lapidary\n"
              "7\t07.007\tLost emerald\tE. Nobody\n");
    EXPECT_EQ(emerald.err, "");

    // No FIELD=TEXT: every record but record 0, the one without a name too.
    Run all = run("db search " + dbf());
    EXPECT_EQ(all.code, 0);
    EXPECT_EQ(all.out.substr(0, 2), "1\t");
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 7);

    Run both = run("db search " + dbf() + " D_DESIGNER=lapidary D_CODE=07.");
    EXPECT_EQ(both.out, "1\t07.001\tSquare emerald\tA. Lapidary\n");

    Run none = run("db search " + dbf() + " D_NAME='Square emerald, large'");
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "");

    EXPECT_EQ(run("db search " + dbf() + " BMP_FILE=BM").code, 2);
    EXPECT_EQ(run("db search " + dbf() + " D_NAME").code, 2);
    EXPECT_EQ(run("db search").code, 2);
    EXPECT_EQ(run("db find " + dbf()).code, 2);
    Run missing = run("db search nowhere.dbf D_NAME=x");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "Cannot open nowhere.dbf to read\nThere is no such file.\n");
}

TEST_F(CliDb, ExtractWritesTheLibrarysBytes) {
    Run round = run("db extract " + dbf() + " 2 out.asc");
    EXPECT_EQ(round.code, 0);
    EXPECT_EQ(round.err, "");
    EXPECT_EQ(readFile(folder_ / "out.asc"), testdb::ascText(makeRoundBrilliant()));
    // Nothing else is left behind, in the current folder or beside the index.
    EXPECT_FALSE(fs::exists(folder_ / "PC0512.ASC"));
    EXPECT_FALSE(fs::exists(folder_ / "db" / "PC0512.ASC"));

    Run picture = run("db extract " + dbf() + " 5 pear.asc");
    EXPECT_EQ(picture.code, 0);
    EXPECT_EQ(readFile(folder_ / "pear.asc"), testdb::ascText(makeRoundBrilliant()));

    for (const char* record : {"0", "6", "7", "99"}) {
        Run none = run("db extract " + dbf() + " " + record + " none.asc");
        EXPECT_EQ(none.code, 1) << record;
        EXPECT_EQ(none.err, "No such design.\n") << record;
        EXPECT_FALSE(fs::exists(folder_ / "none.asc"));
    }
    EXPECT_EQ(run("db extract " + dbf() + " two out.asc").code, 2);
    EXPECT_EQ(run("db extract " + dbf() + " 2").code, 2);

    // A corrupt library is reported and the search goes on to the next.
    testdb::writeBytes(folder_ / "db" / "GAUSER.STO", "junk");
    Run corrupt = run("db extract " + dbf() + " 2 again.asc");
    EXPECT_EQ(corrupt.code, 0);
    EXPECT_EQ(corrupt.err, "Stow file GAUSER.STO is corrupt: header wrong\n\n");
    EXPECT_EQ(readFile(folder_ / "again.asc"), testdb::ascText(makeRoundBrilliant()));
}

TEST_F(CliDb, AnIndexThatIsNoDbaseTableIsRefusedWithoutGrowing) {
    // Many fields of one byte in a record of two, then a long run of
    // records: fields times records would be held, hundreds of times the file.
    std::string crafted(32, '\0');
    crafted[0] = 0x03;
    crafted[4] = crafted[5] = crafted[6] = '\x7F';  // records announced
    crafted[8] = crafted[9] = '\xFF';               // header length
    crafted[10] = 2;                                 // record length
    for (int f = 0; f < 2000; ++f) {
        std::string d(32, '\0');
        d[0] = 'F';
        d[16] = 1;
        crafted += d;
    }
    crafted.push_back(0x0D);
    crafted.append(400000, ' ');
    testdb::writeBytes(folder_ / "crafted.dbf", crafted);
    Run r = run("db search crafted.dbf");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "brevix-cli: crafted.dbf is not a dBase table\n");

    // A file that is no table at all, and a pipe that would never end.
    testdb::writeBytes(folder_ / "zeros.dbf", std::string(100000, '\0'));
    EXPECT_EQ(run("db search zeros.dbf").err, "brevix-cli: zeros.dbf is not a dBase table\n");
    ASSERT_EQ(::mkfifo((folder_ / "pipe.dbf").c_str(), 0600), 0);
    Run pipe = run("db search pipe.dbf");
    EXPECT_EQ(pipe.code, 1);
    EXPECT_EQ(pipe.err, "Cannot open pipe.dbf to read\nIt is a device, a pipe or a socket, not a file.\n");
}

TEST_F(CliDb, ExtractIntoAMissingFolderSaysSoAsEveryCommandDoes) {
    Run r = run("db extract " + dbf() + " 2 missing/out.asc");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot open missing/out.asc to write.\nThere is no folder missing.\n");
}

}  // namespace
}  // namespace brevix
