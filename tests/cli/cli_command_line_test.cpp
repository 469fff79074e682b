// What every command of brevix-cli does with its command line alike: --help,
// the usage errors and their exit status, and the checks of numbers, words
// and repeated or unknown options.
#include <gtest/gtest.h>

#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string SAMPLE = std::string("'") + BREVIX_SOURCE_DIR + "/samples/round_brilliant.asc'";

class CommandLine : public CliFolderTest {
protected:
    // A usage error: exit status 2, nothing on standard output, the reason
    // and then the command's usage line on standard error.
    void expectUsageError(const std::string& arguments, const std::string& reason, const std::string& usage) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.code, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), "brevix-cli: " + reason + "\n") << arguments;
        EXPECT_EQ(r.err.rfind("\nusage: brevix-cli " + usage), r.err.find('\n')) << arguments << ": " << r.err;
    }
};

TEST_F(CommandLine, EveryCommandAnswersHelpWhereverItStands) {
    struct Case {
        const char* arguments;
        const char* usage;
    } cases[] = {
        {"info", "info FILE"},
        {"convert", "convert IN OUT"},
        {"check", "check FILE"},
        {"json", "json FILE"},
        {"diagram", "diagram FILE OUT"},
        {"light", "light FILE [--ri R | --material NAME]"},
        {"db", "db search DBF"},
        {"db search", "db search DBF [FIELD=TEXT ...]"},
        {"db extract", "db extract DBF RECORD OUT.asc"},
    };
    for (const Case& c : cases) {
        const std::string command = c.arguments;
        for (const std::string& arguments :
             {command + " --help", command + " -h", command + " " + SAMPLE + " --help", command + " --width x --help",
              "help " + command}) {
            if (arguments.starts_with("help db ")) continue;  // help takes one command
            const CliRun r = run(arguments);
            EXPECT_EQ(r.code, 0) << arguments << ": " << r.err;
            EXPECT_EQ(r.err, "") << arguments;
            EXPECT_NE(r.out.find("\nusage: brevix-cli " + std::string(c.usage)), std::string::npos)
                << arguments << ": " << r.out;
            EXPECT_NE(r.out.find("-h,--help"), std::string::npos) << arguments;
            EXPECT_NE(r.out.find("Exit status: 0 done, 1 failed, 2 wrong usage."), std::string::npos) << arguments;
        }
    }
    // The options and their ranges are listed.
    const std::string light = run("light --help").out;
    for (const char* option : {"--ri R", "--material NAME", "--size N", "--tilt DEG", "--cone DEG", "--head-shadow DEG",
                               "--model iso|cos", "--out IMAGE.png", "--tilt-sweep FROM:TO:STEP", "--dispersion",
                               "from 8 to 4096", "from -90 to 90"})
        EXPECT_NE(light.find(option), std::string::npos) << option;
}

TEST_F(CommandLine, NumbersAreReadAndCheckedAlikeInEveryCommand) {
    const std::string info = "info FILE [--width MM | --length MM] [--material NAME | --sg SG]";
    const std::string light = "light FILE [--ri R";
    const std::string convert = "convert IN OUT [--width MM | --length MM]";
    expectUsageError("info " + SAMPLE + " --length 1e5", "--length takes millimetres from 0.01 to 10000, as 6.5 (not '1e5')",
                     info);
    expectUsageError("json " + SAMPLE + " --width inf", "--width takes millimetres from 0.01 to 10000, as 6.5 (not 'inf')",
                     "json FILE");
    expectUsageError("convert " + SAMPLE + " x.stl --width 0x10",
                     "--width takes millimetres from 0.01 to 10000, as 6.5 (not '0x10')", convert);
    expectUsageError("light " + SAMPLE + " --ri 7", "--ri takes a number from 1.01 to 3, as 1.54 (not '7')", light);
    expectUsageError("light " + SAMPLE + " --tilt=nan", "--tilt takes degrees from -90 to 90, as 10 (not 'nan')", light);
    expectUsageError("light " + SAMPLE + " --head-shadow ' 5'",
                     "--head-shadow takes degrees from 0 to 89, as 20 (not ' 5')", light);
    expectUsageError("light " + SAMPLE + " --size 64.5", "--size takes a whole number of pixels (not '64.5')", light);
    if (run("diagram --help").out.find("from 36 to 600") != std::string::npos) {
        // The build that draws pages.
        const std::string diagram = "diagram FILE OUT";
        expectUsageError("diagram " + SAMPLE + " x.png --dpi 10", "--dpi takes a number from 36 to 600, as 300 (not '10')",
                         diagram);
        expectUsageError("diagram " + SAMPLE + " x.png --dpi 72.5",
                         "--dpi takes a whole number of dots per inch (not '72.5')", diagram);
        expectUsageError("diagram " + SAMPLE + " x.pdf --page legal", "--page takes letter or a4 (not 'legal')", diagram);
    }
    // A sign, an exponent and "=" are fine everywhere; the picture is not
    // asked for, so only the figures come out.
    const CliRun fine = run("light " + SAMPLE + " --size=+16 --tilt -1e1 --cone=6E1 --model COS");
    EXPECT_EQ(fine.code, 0) << fine.err;
    EXPECT_EQ(fine.out.rfind("ISO brightness: ", 0), 0u) << fine.out;
    EXPECT_EQ(run("info " + SAMPLE + " --width +6.5e0 --sg=3.52").code, 0);
}

TEST_F(CommandLine, UnknownRepeatedAndMissingOptionsAndArguments) {
    const std::pair<std::string, std::string> commands[] = {
        {"info " + SAMPLE, "info FILE"},
        {"check " + SAMPLE, "check FILE"},
        {"json " + SAMPLE, "json FILE"},
        {"convert " + SAMPLE + " x.gem", "convert IN OUT"},
        {"light " + SAMPLE, "light FILE"},
        {"diagram " + SAMPLE + " x.pdf", "diagram FILE OUT"},
        {"db extract x.dbf 2 x.asc", "db extract DBF RECORD OUT.asc"},
    };
    for (const auto& [command, usage] : commands) {
        expectUsageError(command + " --frob 1", "unknown option '--frob'", usage);
        expectUsageError(command + " --frob=1", "unknown option '--frob'", usage);
        expectUsageError(command + " one-too-many", "unexpected argument 'one-too-many'", usage);
    }
    expectUsageError("check", "FILE is missing", "check FILE");
    expectUsageError("convert " + SAMPLE, "OUT is missing", "convert IN OUT");
    expectUsageError("light " + SAMPLE + " --size 16 --size 32", "give --size once", "light FILE");
    expectUsageError("light " + SAMPLE + " --out", "--out needs a value", "light FILE");
    expectUsageError("info " + SAMPLE + " --material diamond --sg 3 --width 6", "give --material NAME or --sg SG, not both",
                     "info FILE");
    expectUsageError("db", "db needs search or extract", "db search DBF");
    expectUsageError("db find x.dbf", "unknown db command 'find' (search or extract)", "db search DBF");
    expectUsageError("db extract x.dbf -1 x.asc", "'-1' is not a record number", "db extract DBF RECORD OUT.asc");
    expectUsageError("db extract x.dbf 1.5 x.asc", "'1.5' is not a record number", "db extract DBF RECORD OUT.asc");
    // Nothing was read or written for any of them.
    EXPECT_FALSE(fs::exists(folder_ / "x.gem"));
    EXPECT_FALSE(fs::exists(folder_ / "x.asc"));
}

}  // namespace
