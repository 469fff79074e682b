#include "uninstaller/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "uninstaller/uninstall_context.h"

namespace brevix::uninstall {
namespace {

using ::testing::ElementsAre;

TEST(ProcessModes, ChosenByTheArgumentCount) {
    EXPECT_EQ(processModeFor(0), ProcessMode::Launcher);
    EXPECT_EQ(processModeFor(1), ProcessMode::Launcher);
    EXPECT_EQ(processModeFor(2), ProcessMode::Unregister);
    EXPECT_EQ(processModeFor(3), ProcessMode::Launcher);
    EXPECT_EQ(processModeFor(4), ProcessMode::Worker);
    EXPECT_EQ(processModeFor(7), ProcessMode::Worker);
}

TEST(CommandLineArguments, QuotesBackslashesAndBlanks) {
    EXPECT_THAT(commandLineArguments("  a  b\tc "), ElementsAre("a", "b", "c"));
    EXPECT_THAT(commandLineArguments("\"a b\" c\"d e\"f"), ElementsAre("a b", "cd ef"));
    EXPECT_THAT(commandLineArguments("a\\\\b \\\"x\\\" \"y\\\\\""), ElementsAre("a\\\\b", "\"x\"", "y\\"));
    EXPECT_THAT(commandLineArguments("\"a \"\"q\"\" b\""), ElementsAre("a \"q\" b"));
    EXPECT_THAT(commandLineArguments("\"\" x"), ElementsAre("", "x"));
    EXPECT_TRUE(commandLineArguments("   ").empty());
}

TEST(CommandLineArguments, ADirectoryEndingInABackslashReachesTheWorkerWhole) {
    const std::string line =
        launcherCommandLine("C:\\TEMP\\Del12.tmp", 1234, "C:\\Program Files\\Brevix\\uninstaller.exe",
                            "C:\\Program Files\\Brevix\\");
    EXPECT_EQ(line,
              "C:\\TEMP\\Del12.tmp 1234 \"C:\\Program Files\\Brevix\\uninstaller.exe\" "
              "\"C:\\Program Files\\Brevix\\ \"");
    const auto argv = commandLineArguments(line);
    ASSERT_EQ(argv.size(), 4u);
    EXPECT_EQ(processModeFor(4), ProcessMode::Worker);
    EXPECT_EQ(argv[1], "1234");
    EXPECT_EQ(argv[2], "C:\\Program Files\\Brevix\\uninstaller.exe");
    // The blank kept the backslash from escaping the quote.
    EXPECT_EQ(argv[3], "C:\\Program Files\\Brevix\\ ");
    // Without it the quote would have been eaten and the count would change.
    EXPECT_EQ(commandLineArguments("x 1 \"C:\\B\\u\" \"C:\\B\\\"").back(), "C:\\B\"");
}

TEST(CommandLineArguments, TheWorkerTakesItsLogDirectoryFromTheFourthArgument) {
    const auto argv = commandLineArguments(
        launcherCommandLine("/tmp/DelAb12Cd", 77, "/opt/my apps/lib/brevix/uninstaller", "/opt/my apps/lib/brevix/"));
    ASSERT_EQ(argv.size(), 4u);
    EXPECT_EQ(argv[0], "/tmp/DelAb12Cd");
    EXPECT_EQ(directoryOf(argv[3]), "/opt/my apps/lib/brevix/");
    EXPECT_EQ(directoryOf(argv[0]), "/tmp/");
}

TEST(CommandLineArguments, ATemporaryFolderWithABlankStillGivesFourArguments) {
    const auto argv = commandLineArguments(launcherCommandLine("/tmp/my temp/Del1", 9, "/opt/u", "/opt/"));
    ASSERT_EQ(argv.size(), 4u);
    EXPECT_EQ(argv[0], "/tmp/my temp/Del1");
    EXPECT_EQ(argv[1], "9");
}

TEST(CommandLineArguments, TheUnregisterLineGivesOneArgumentWithItsSeparator) {
    EXPECT_EQ(unregisterCommandLine("/tmp/Del1", "/opt/my apps/"), "\"/tmp/Del1\" \"/opt/my apps/");
    EXPECT_THAT(commandLineArguments(unregisterCommandLine("/tmp/Del1", "/opt/my apps/")),
                ElementsAre("/tmp/Del1", "/opt/my apps/"));
    EXPECT_THAT(commandLineArguments(unregisterCommandLine("C:\\T\\Del1.tmp", "C:\\Program Files\\B\\")),
                ElementsAre("C:\\T\\Del1.tmp", "C:\\Program Files\\B\\"));
}

}  // namespace
}  // namespace brevix::uninstall
