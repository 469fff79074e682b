// brevix-cli on .brx files cut short or holding values no design holds, on
// outputs that are devices or pipes, and on writes the system refuses: each
// fails with the reason, and nothing is written that cannot be read back.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string SAMPLES = std::string(BREVIX_SOURCE_DIR) + "/samples/";
const std::string MEETS = SAMPLES + "round_brilliant_meets.brx";

class CliHostileFiles : public CliFolderTest {
protected:
    std::string file(const std::string& name, const std::string& bytes) {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // The first `count` lines of `text`.
    static std::string firstLines(const std::string& text, int count) {
        size_t end = 0;
        for (int k = 0; k < count; ++k) end = text.find('\n', end) + 1;
        return text.substr(0, end);
    }
};

TEST_F(CliHostileFiles, ABrxCutShortAtALineEndIsReportedAndNothingIsMadeOfIt) {
    const std::string whole = readAll(MEETS);
    ASSERT_EQ(whole.substr(whole.size() - 4), "end\n");
    const std::string cut = file("cut.brx", firstLines(whole, 5));
    const std::string reason = cut + ": The file ends without its end line: it was cut short; the design holds the "
                                     "tiers read\n";
    for (const char* command : {"info", "check", "light --size 16"}) {
        const CliRun r = run(std::string(command) + " " + quoted(cut));
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_EQ(r.err, reason) << command;
    }
    // Cut after some tiers: what was read is shown, and the run fails.
    const std::string tiers = file("tiers.brx", whole.substr(0, whole.size() - 4));
    EXPECT_EQ(run("info " + quoted(tiers)).code, 1);
    EXPECT_EQ(run("convert " + quoted(tiers) + " out.asc").code, 1);
    EXPECT_FALSE(fs::exists(path("out.asc")));
    EXPECT_EQ(run("info " + quoted(MEETS)).code, 0);

    // A file from before the end line is read whole, with a note.
    std::string old = whole.substr(0, whole.size() - 4);
    old.replace(0, 15, "Brevix intent 1");
    const std::string legacy = file("old.brx", old);
    const CliRun r = run("info " + quoted(legacy));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("from before the end line"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, run("info " + quoted(MEETS)).out);
}

TEST_F(CliHostileFiles, BrxValuesTheOtherReadersRefuseAreRefusedAndNeverConverted) {
    const std::string whole = readAll(MEETS);
    struct Case {
        std::string name, from, to;
    };
    for (const Case& c : {Case{"tiny.brx", "\nri 1.54\n", "\nri 1e-300\n"}, Case{"dense.brx", "\nri 1.54\n", "\nri 100\n"},
                          Case{"fold.brx", "\nsymmetry 8 1\n", "\nsymmetry 100000 1\n"}}) {
        std::string bytes = whole;
        bytes.replace(bytes.find(c.from), c.from.size(), c.to);
        const std::string design = file(c.name, bytes);
        for (const char* command : {"info", "light --size 16"}) {
            const CliRun r = run(std::string(command) + " " + quoted(design));
            EXPECT_EQ(r.code, 1) << c.name << " " << command;
            EXPECT_EQ(r.out, "") << c.name << " " << command;
            EXPECT_NE(r.err.find("Reading stopped at line"), std::string::npos) << r.err;
        }
        EXPECT_EQ(run("convert " + quoted(design) + " out.asc").code, 1) << c.name;
        EXPECT_FALSE(fs::exists(path("out.asc"))) << c.name;
    }
}

TEST_F(CliHostileFiles, RecutRefusesATierNoFileCouldHoldAndWritesNothing) {
    const std::string whole = readAll(MEETS);
    // The girdle tier made 100000-fold on a 100000-tooth gear.
    std::string bytes = whole;
    bytes.replace(bytes.find("gear 96 0"), 9, "gear 100000 0");
    const size_t tier = bytes.find("\ntier ");
    const size_t fold = bytes.find(" 8 1 |", tier);
    bytes.replace(fold, 6, " 100000 1 |");
    const std::string design = file("huge.brx", bytes);
    const std::string out = file("out.brx", "the user's own design");
    const CliRun r = run("recut " + quoted(design) + " " + quoted(out) + " --set 1=30");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("symmetry in this file is 100000"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(out), "the user's own design");
    // Re-cut over itself: the tiers after the refused line stay in the file.
    EXPECT_EQ(run("recut " + quoted(design) + " " + quoted(design) + " --set 1=30").code, 1);
    EXPECT_EQ(readAll(design), bytes);
}

TEST_F(CliHostileFiles, AnOutputThatIsADeviceOrAPipeIsNeverReplaced) {
    const std::string design = SAMPLES + "round_brilliant.gem";
    const std::string pipe = path("pipe.asc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string picture = path("pipe.png");
    ASSERT_EQ(::mkfifo(picture.c_str(), 0600), 0);
    const std::string link = path("null.stl");
    fs::create_symlink("/dev/null", link);
    const std::string reason = " to write.\nIt is a device, a pipe or a socket, not a file.\n";
    CliRun r = run("convert " + quoted(design) + " " + quoted(pipe));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot open " + pipe + reason);
    r = run("convert " + quoted(design) + " " + quoted(link));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot open " + link + reason);
    r = run("light " + quoted(design) + " --size 16 --out " + quoted(picture));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot open " + picture + reason);
    const std::string svg = path("null.svg");
    fs::create_symlink("/dev/null", svg);
    r = run("diagram " + quoted(design) + " " + quoted(svg));
    EXPECT_EQ(r.code, 1);
    // A brevix-cli built without Qt (the sanitizer build) draws no diagram at all.
    if (r.err.find("needs the Qt build") == std::string::npos) {
        EXPECT_NE(r.err.find("Cannot open " + svg + reason), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_symlink(svg));
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status(picture).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
}

TEST_F(CliHostileFiles, AFailedWriteGivesTheSystemsReason) {
    const std::string design = SAMPLES + "round_brilliant.gem";
    CliRun r = run("info " + quoted(design), {}, "/dev/full");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "brevix-cli: cannot write the output: No space left on device\n");
    // A file-size limit of 1024 bytes: the mesh is far larger.
    r = run("convert " + quoted(design) + " " + quoted(path("big.stl")), "ulimit -f 2 &&");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error writing " + path("big.stl") + ". Disk full?\nFile too large.\n");
    EXPECT_FALSE(fs::exists(path("big.stl")));
}

}  // namespace
