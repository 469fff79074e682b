// brevix-cli on hostile input: folders, pipes and files cut short named like
// designs, values no design holds, outputs into folders that are not there,
// and the temporary files of a run that was killed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "design/sample_designs.h"
#include "files/binary_io.h"
#include "files/gem_format.h"
#include "support/cli_run.h"

namespace {

using namespace brevix;
using namespace brevix::clitest;

class CliBadInput : public CliFolderTest {
protected:
    std::string gemFile(const std::string& name, const Stone& stone) {
        std::ostringstream bytes;
        brevix::Diagnostics notes;
        writeGem(stone, bytes, notes);
        std::ofstream(path(name), std::ios::binary) << bytes.str();
        return path(name);
    }
};

TEST_F(CliBadInput, FoldersAndPipesNamedLikeDesignsAreRefusedWithTheReason) {
    const std::string folder = path("x.asc");
    fs::create_directory(folder);
    const std::string pipe = path("p.gem");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const char* command : {"info", "check", "json"}) {
        CliRun r = run(std::string(command) + " " + quoted(folder));
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_EQ(r.err, "Cannot open " + folder + " to read\nIt is a folder, not a file.\n") << command;
    }
    CliRun r = run("convert " + quoted(pipe) + " " + quoted(path("out.asc")));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot open " + pipe + " to read\nIt is a device, a pipe or a socket, not a file.\n");
    EXPECT_FALSE(fs::exists(path("out.asc")));
    r = run("info " + quoted(path("none.gem")));
    EXPECT_EQ(r.err, "Cannot open " + path("none.gem") + " to read\nThere is no such file.\n");
}

TEST_F(CliBadInput, DamagedFilesFailAndNothingIsWrittenFromThem) {
    const std::string whole = readAll(gemFile("whole.gem", makeRoundBrilliant()));
    std::string marker;
    le::putDouble(marker, END_OF_FACETS);
    const size_t settings = whole.find(marker) + marker.size();
    const std::string text = readAll(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc");
    struct Case {
        std::string name, bytes, reason;
    };
    const std::string inSettings = "It ends inside its design settings (symmetry, gear, refractive index).";
    const std::vector<Case> cases = {
        {"zero.gem", "", "The file is empty."},
        {"one.gem", std::string(1, '\x3F'), "It ends inside its list of facets."},
        {"end.gem", marker, inSettings},
        {"settings.gem", whole.substr(0, settings + 10), inSettings}};
    const std::string out = path("out.gem");
    std::ofstream(out, std::ios::binary) << "the user's own design";
    for (const Case& c : cases) {
        std::ofstream(path(c.name), std::ios::binary) << c.bytes;
        CliRun r = run("convert " + quoted(path(c.name)) + " " + quoted(out));
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_EQ(r.err, "Damaged file: " + path(c.name) + "\n" + c.reason + "\n") << c.name;
        EXPECT_EQ(readAll(out), "the user's own design") << c.name;
        EXPECT_EQ(run("info " + quoted(path(c.name))).out, "") << c.name;
    }
    // Whole files still convert.
    EXPECT_EQ(run("convert " + quoted(path("whole.gem")) + " " + quoted(out)).code, 0);
}

// Many editors leave off the final line break, and a text design cut short
// at a line end looks whole anyway: such a file is read, with a note.
TEST_F(CliBadInput, ATextDesignWhoseLastLineHasNoLineBreakIsRead) {
    const std::string text = readAll(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc");
    ASSERT_EQ(text.back(), '\n');
    std::ofstream(path("whole.asc"), std::ios::binary) << text;
    std::ofstream(path("edited.asc"), std::ios::binary) << text.substr(0, text.size() - 1);
    CliRun whole = run("info " + quoted(path("whole.asc")));
    CliRun edited = run("info " + quoted(path("edited.asc")));
    EXPECT_EQ(edited.code, 0) << edited.err;
    EXPECT_EQ(edited.err, path("edited.asc") + ": the last line has no line break\n");
    EXPECT_EQ(edited.out, whole.out);
    EXPECT_EQ(whole.err, "");
    // Written out again, it has its line break back and reads without a note.
    ASSERT_EQ(run("convert " + quoted(path("edited.asc")) + " " + quoted(path("again.asc"))).code, 0);
    EXPECT_EQ(readAll(path("again.asc")), text);
}

TEST_F(CliBadInput, ValuesNoDesignHoldsAreRefusedLikeTheOptions) {
    Stone design = makeRoundBrilliant();
    design.refractiveIndex = std::numeric_limits<double>::quiet_NaN();
    design.indexOffset = std::numeric_limits<double>::quiet_NaN();
    design.symmetry = 0;
    const std::string file = gemFile("values.gem", design);
    CliRun light = run("light " + quoted(file) + " --size 16");
    EXPECT_EQ(light.code, 1);
    EXPECT_EQ(light.out.find("nan"), std::string::npos) << light.out;
    EXPECT_EQ(light.err,
              "The symmetry in this file is 0; a design's symmetry is a whole number from 1 to 1000.\n"
              "The design keeps 8.\n"
              "The refractive index in this file is not a number; a design's refractive index lies between 1.01 "
              "and 3.00.\nThe design keeps 1.54.\n"
              "The index offset in this file is not a number; a design's index offset is a number of notches.\n"
              "The design keeps 0.\n");
    CliRun info = run("info " + quoted(file));
    EXPECT_EQ(info.out.find("nan"), std::string::npos);
    EXPECT_EQ(info.code, 1);
}

TEST_F(CliBadInput, AZeroGearIsToldOncePerCommand) {
    Stone design = makeOvalBrilliant();
    design.gear = 0;
    CliRun info = run("info " + quoted(gemFile("no gear.gem", design)));
    EXPECT_EQ(info.err, "Zero index gear\n");
}

TEST_F(CliBadInput, EveryCommandSaysTheSameOfAnOutputItCannotCreate) {
    const std::string design = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.gem";
    const std::string missing = path("missing");
    const std::string expected = "Cannot open %s to write.\nThere is no folder " + missing + ".\n";
    auto message = [&](const std::string& out) {
        std::string text = expected;
        return text.replace(text.find("%s"), 2, out);
    };
    CliRun convert = run("convert " + quoted(design) + " " + quoted(missing + "/x.asc"));
    EXPECT_EQ(convert.code, 1);
    EXPECT_EQ(convert.err, message(missing + "/x.asc"));
    CliRun light = run("light " + quoted(design) + " --size 16 --out " + quoted(missing + "/x.png"));
    EXPECT_EQ(light.code, 1);
    EXPECT_EQ(light.err, message(missing + "/x.png"));
}

TEST_F(CliBadInput, TemporaryFilesOfAKilledRunAreRemovedByTheNextWrite) {
    const std::string design = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.gem";
    const std::string out = path("light.png");
    // Left by a run of a process that is gone (no process has this number).
    const std::string stale = out + ".99999999-0-17.tmp";
    std::ofstream(stale) << "half a picture";
    CliRun light = run("light " + quoted(design) + " --size 16 --out " + quoted(out));
    ASSERT_EQ(light.code, 0) << light.err;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(out));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) ++files;
    EXPECT_EQ(files, 3u);  // the picture, stdout, stderr
}

}  // namespace
