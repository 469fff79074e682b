// brevix-cli light as a script uses it: the two figure lines, the tilt
// lines, the PNG, and clear errors for bad options.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

class CliLight : public CliFolderTest {
protected:
    CliRun light(const std::string& arguments) {
        return run("light " + quoted(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc") + " " +
                   arguments);
    }
};

TEST_F(CliLight, TwoFigureLinesThenOneLinePerTilt) {
    const CliRun plain = light("--size 64");
    ASSERT_EQ(plain.code, 0) << plain.err;
    const std::string metrics = "Windowing: [0-9]+\\.[0-9]%\nExtinction: [0-9]+\\.[0-9]%\nContrast: [0-9]+\\.[0-9]%\n";
    EXPECT_TRUE(std::regex_match(plain.out, std::regex("ISO brightness: [0-9]+\\.[0-9]%\n"
                                                       "COS brightness: [0-9]+\\.[0-9]%\n" +
                                                       metrics)))
        << plain.out;
    EXPECT_TRUE(plain.err.empty()) << plain.err;

    // The design's own index is quartz's: asking for quartz changes nothing.
    EXPECT_EQ(light("--size 64 --material quartz").out, plain.out);
    EXPECT_EQ(light("--size 64 --ri 1.54").out, plain.out);
    EXPECT_NE(light("--size 64 --material Diamond").out, plain.out);

    const CliRun sweep = light("--size 32 --tilt-sweep -10:10:5");
    ASSERT_EQ(sweep.code, 0) << sweep.err;
    EXPECT_TRUE(std::regex_match(sweep.out, std::regex("ISO brightness: .*\nCOS brightness: .*\n"
                                                       "-10\\.0 [0-9.]+% [0-9.]+%\n-5\\.0 .*\n0\\.0 .*\n"
                                                       "5\\.0 .*\n10\\.0 [0-9.]+% [0-9.]+%\n" +
                                                       metrics +
                                                       "Tilt average ISO brightness: [0-9.]+%\n"
                                                       "Tilt average COS brightness: [0-9.]+%\n"
                                                       "Tilt average windowing: [0-9.]+%\n"
                                                       "Tilt average extinction: [0-9.]+%\n"
                                                       "Tilt average contrast: [0-9.]+%\n")))
        << sweep.out;
    const CliRun fire = light("--size 32 --dispersion --material diamond");
    ASSERT_EQ(fire.code, 0) << fire.err;
    EXPECT_TRUE(std::regex_search(fire.out, std::regex("\nContrast: [0-9.]+%\nFire: [0-9]+\\.[0-9]%\n$")))
        << fire.out;
    // Scintillation only when asked: it costs a sweep of its own.
    const CliRun sparkle = light("--size 32 --scintillation");
    ASSERT_EQ(sparkle.code, 0) << sparkle.err;
    EXPECT_TRUE(std::regex_search(sparkle.out, std::regex("\nContrast: [0-9.]+%\nScintillation: [0-9]+\\.[0-9]%\n$")))
        << sparkle.out;
    EXPECT_EQ(light("--size 32").out.find("Scintillation"), std::string::npos);
}

TEST_F(CliLight, WritesAPngOfTheChosenModel) {
    const fs::path iso = folder_ / "iso.png", cos = folder_ / "cos.PNG", fire = folder_ / "fire.png";
    ASSERT_EQ(light("--size 40 --out " + iso.string()).code, 0);
    ASSERT_EQ(light("--size 40 --model cos --out=" + cos.string()).code, 0);
    ASSERT_EQ(light("--size 40 --dispersion --material diamond --out " + fire.string()).code, 0);
    const std::string a = readAll(iso), b = readAll(cos), c = readAll(fire);
    // PNG files of 40 x 40 pixels (the header's width and height).
    const std::string header = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                               std::string("\0\0\0\x28\0\0\0\x28", 8);
    for (const std::string* png : {&a, &b, &c}) EXPECT_EQ(png->substr(0, 24), header);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
}

TEST_F(CliLight, IsoLightingIsTodaysReportAndARoomAddsItsLinesAndPicture) {
    const std::string base = "--size 40 --tilt-sweep -10:10:10 --scintillation ";
    const CliRun plain = light(base + "--out plain.png");
    const CliRun iso = light(base + "--lighting iso --out iso.png");
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(iso.out, plain.out);
    EXPECT_EQ(readAll(folder_ / "iso.png"), readAll(folder_ / "plain.png"));
    ASSERT_EQ(light("--size 40 --model cos --out model.png").code, 0);
    ASSERT_EQ(light("--size 40 --lighting cos --out cos.png").code, 0);
    EXPECT_EQ(readAll(folder_ / "cos.png"), readAll(folder_ / "model.png"));

    const CliRun aset = light(base + "--lighting aset --out aset.png");
    ASSERT_EQ(aset.code, 0) << aset.err;
    ASSERT_EQ(aset.out.substr(0, plain.out.size()), plain.out) << "the room's lines come after today's";
    const std::string added = aset.out.substr(plain.out.size());
    const std::regex lines(
        "ASET brightness: [0-9]+\\.[0-9]%\n"
        "ASET contrast: [0-9]+\\.[0-9]%\n"
        "ASET scintillation: [0-9]+\\.[0-9]%\n"
        "ASET red: [0-9]+\\.[0-9]%\nASET green: [0-9]+\\.[0-9]%\nASET blue: [0-9]+\\.[0-9]%\n"
        "ASET black: [0-9]+\\.[0-9]%\n"
        "Tilt average ASET brightness: [0-9]+\\.[0-9]%\nTilt average ASET contrast: [0-9]+\\.[0-9]%\n");
    EXPECT_TRUE(std::regex_match(added, lines)) << added;
    const CliRun spot = light("--size 40 --lighting spot");
    ASSERT_EQ(spot.code, 0);
    EXPECT_NE(spot.out.find("Spot brightness: "), std::string::npos) << spot.out;
    EXPECT_EQ(spot.out.find("Spot red"), std::string::npos) << "zones are ASET's alone";
    // ASET is drawn in its zones' colours: some pixel is clearly red.
    const std::string png = readAll(folder_ / "aset.png");
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_NE(png, readAll(folder_ / "plain.png"));
}

TEST_F(CliLight, BadOptionsSayWhatIsWrong) {
    struct Case {
        const char* arguments;
        const char* says;
    } cases[] = {
        {"--ri 7", "--ri takes a number from 1.01 to 3"},
        {"--ri x", "--ri takes a number"},
        {"--material glass", "unknown material 'glass'"},
        {"--ri 1.6 --material beryl", "either --ri or --material"},
        {"--size 3", "--size takes a number from 8 to 4096"},
        {"--size 64.5", "whole number"},
        {"--cone 0", "--cone takes"},
        {"--head-shadow 95", "--head-shadow takes"},
        {"--model bright", "usage: brevix-cli light"},
        {"--out picture.jpg", "written as .png"},
        {"--tilt-sweep 10:0:1", "FROM <= TO"},
        {"--frob", "unknown option '--frob'"},
        {"--size", "usage: brevix-cli light"},
    };
    for (const Case& c : cases) {
        const CliRun run = light(c.arguments);
        EXPECT_EQ(run.code, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
    const CliRun missing = light("--out " + (folder_ / "no" / "such" / "x.png").string());
    EXPECT_EQ(missing.code, 1);
    // Said as every command says it, with the reason.
    EXPECT_EQ(missing.err, "Cannot open " + (folder_ / "no" / "such" / "x.png").string() +
                               " to write.\nThere is no folder " + (folder_ / "no").string() + ".\n");
}

}  // namespace
