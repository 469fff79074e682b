// brevix-cli hands the drawing of the diagram to brevix-diagram, found beside
// its own executable: moved or linked elsewhere together they still draw, and
// without it the run says what is missing and fails at once, while --help
// and usage errors need only brevix-cli.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string SAMPLE = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";

class DiagramProgram : public CliFolderTest {
protected:
    // `program` run in the test's folder.
    CliRun runProgram(const std::string& program, const std::string& arguments) {
        const std::string command = "cd " + quoted(folder_.string()) + " && timeout 60 " + quoted(program) + " " +
                                    arguments + " >stdout 2>stderr </dev/null";
        const int status = std::system(command.c_str());
        CliRun result;
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readAll(path("stdout"));
        result.err = readAll(path("stderr"));
        return result;
    }
    // A copy of brevix-cli alone in a folder of its own.
    std::string lonelyCli() {
        fs::create_directories(path("alone"));
        fs::copy_file(BREVIX_CLI, path("alone/brevix-cli"));
        return path("alone/brevix-cli");
    }
};

TEST_F(DiagramProgram, ItIsFoundBesideBrevixCliWhereverBothLie) {
    fs::create_directories(path("bin"));
    fs::copy_file(BREVIX_CLI, path("bin/brevix-cli"));
    fs::copy_file(BREVIX_DIAGRAM, path("bin/brevix-diagram"));
    // Called through a link from another folder, as from a PATH folder.
    fs::create_directories(path("links"));
    fs::create_symlink(path("bin/brevix-cli"), path("links/brevix-cli"));
    const CliRun drawn = runProgram(path("links/brevix-cli"), "diagram " + quoted(SAMPLE) + " out.svg");
    EXPECT_EQ(drawn.code, 0) << drawn.err;
    EXPECT_EQ(drawn.out + drawn.err, "");
    EXPECT_NE(readAll(path("out.svg")).find("<title>round_brilliant.asc</title>"), std::string::npos);
}

TEST_F(DiagramProgram, WithoutItTheRunSaysSoAndFails) {
    const std::string cli = lonelyCli();
    const std::string missing = path("alone/brevix-diagram");
    CliRun r = runProgram(cli, "diagram " + quoted(SAMPLE) + " out.pdf");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "brevix-cli: cannot draw the diagram: its drawing program " + missing +
                         " is missing (it belongs beside brevix-cli)\n");
    EXPECT_FALSE(fs::exists(path("out.pdf")));

    // Present but not a program it may run.
    std::ofstream(missing) << "#!/bin/sh\n";
    r = runProgram(cli, "diagram " + quoted(SAMPLE) + " out.pdf");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "brevix-cli: cannot draw the diagram: " + missing + ": Permission denied\n");
    EXPECT_FALSE(fs::exists(path("out.pdf")));

    // Help and usage errors are brevix-cli's own, as with the program there.
    for (const char* arguments : {"diagram --help", "help diagram", "diagram x.asc out.txt --dpi 5", "diagram x.asc"}) {
        const CliRun alone = runProgram(cli, arguments);
        const CliRun installed = run(arguments);
        EXPECT_EQ(alone.code, installed.code) << arguments;
        EXPECT_EQ(alone.out, installed.out) << arguments;
        EXPECT_EQ(alone.err, installed.err) << arguments;
    }
    EXPECT_NE(runProgram(cli, "diagram --help").out.find("from 36 to 600"), std::string::npos);
    // Every other command needs only brevix-cli.
    r = runProgram(cli, "check " + quoted(SAMPLE));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, run("check " + quoted(SAMPLE)).out);
}

}  // namespace
