// Runs the built brevix-cli the way a script would and compares what it
// writes with what the library itself says about the same designs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "design/preform.h"
#include "design/sample_designs.h"
#include "files/gem_format.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::vector<std::string> SAMPLES = {"round_brilliant", "oval_brilliant", "emerald_cut", "square_step_cut"};

std::string sample(const std::string& name) { return std::string(BREVIX_SOURCE_DIR) + "/samples/" + name; }

class Cli : public CliFolderTest {};

TEST_F(Cli, HelpUsageErrorsAndExitCodes) {
    CliRun help = run("--help");
    EXPECT_EQ(help.code, 0);
    for (const char* line : {"info FILE", "convert IN OUT", "check FILE", "json FILE"})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;

    EXPECT_EQ(run("").code, 2);
    CliRun unknown = run("frob x");
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("unknown command 'frob'"), std::string::npos);
    EXPECT_EQ(run("info").code, 2);
    EXPECT_EQ(run("info a.gem b.gem").code, 2);
    EXPECT_EQ(run("convert " + quoted(sample("round_brilliant.asc")) + " " + quoted(path("x.txt"))).code, 2);
}

TEST_F(Cli, InfoIsTheStatisticsAndTheInstructionsForSeventyTwoColumns) {
    CliRun info = run("info " + quoted(sample("round_brilliant.asc")));
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.err, "");
    EXPECT_EQ(info.out, readAll(std::string(BREVIX_SOURCE_DIR) + "/tests/cli/expected/round_brilliant_info.txt"));
    // Both formats of a sample hold the same design.
    for (const std::string& name : SAMPLES) {
        CliRun asc = run("info " + quoted(sample(name + ".asc")));
        CliRun gem = run("info " + quoted(sample(name + ".gem")));
        EXPECT_EQ(asc.code, 0);
        EXPECT_EQ(asc.out, gem.out) << name;
    }
}

TEST_F(Cli, ConvertRoundTripsAndWritesEveryExport) {
    for (const std::string& name : SAMPLES) {
        const std::string gem = path(name + ".gem"), asc = path(name + ".asc");
        ASSERT_EQ(run("convert " + quoted(sample(name + ".asc")) + " " + quoted(gem)).code, 0) << name;
        ASSERT_EQ(run("convert " + quoted(gem) + " " + quoted(asc)).code, 0) << name;
        EXPECT_EQ(readAll(asc), readAll(sample(name + ".asc"))) << name;
    }
    const std::string source = quoted(sample("oval_brilliant.gem"));
    for (const char* ext : {"wrl", "dxf", "b3d", "thb"}) {
        CliRun r = run("convert " + source + " " + quoted(path(std::string("model.") + ext)));
        EXPECT_EQ(r.code, 0) << ext << r.err;
        EXPECT_GT(fs::file_size(path(std::string("model.") + ext)), 100u) << ext;
    }
    EXPECT_EQ(readAll(path("model.wrl")).rfind("#VRML V1.0 ascii", 0), 0u);
    EXPECT_NE(readAll(path("model.dxf")).find("3DFACE"), std::string::npos);

    const std::string nowhere = path("missing/x.gem");
    CliRun fails = run("convert " + source + " " + quoted(nowhere));
    EXPECT_EQ(fails.code, 1);
    EXPECT_EQ(fails.err, "Cannot open " + nowhere + " to write.\nThere is no folder " + path("missing") + ".\n");
}

// A design kept with its intent is read by every command that reads a
// design, as the window opens it.
TEST_F(Cli, CommandsReadADesignKeptWithItsIntent) {
    const std::string meets = quoted(sample("round_brilliant_meets.brx"));
    const struct {
        const char* command;
        const char* expected;
    } cases[] = {{"info ", "57 + 16 girdles = 73 facets\n"},
                 {"check ", "Passed: 73 Facets + 73 vertices - 144 Edges = 2\n"},
                 {"json ", "\"edges\": 144,"},
                 {"light --size 24 ", "ISO brightness: "}};
    for (const auto& c : cases) {
        const CliRun r = run(c.command + meets);
        EXPECT_EQ(r.code, 0) << c.command << r.err;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << c.command << r.out;
    }
    ASSERT_EQ(run("convert " + meets + " " + quoted(path("meets.asc"))).code, 0);
    EXPECT_EQ(run("check " + quoted(path("meets.asc"))).code, 0);
}

TEST_F(Cli, InfoAndJsonGiveTheRealSizeAndWeight) {
    const std::string brilliant = quoted(sample("round_brilliant.asc"));
    CliRun plain = run("info " + brilliant);
    CliRun sized = run("info " + brilliant + " --width 6.5 --material diamond");
    ASSERT_EQ(sized.code, 0) << sized.err;
    EXPECT_EQ(sized.err, "");
    // The three lines come right after the statistics; the rest is unchanged.
    const std::string lines =
        "Size: 6.50 x 6.50 x 3.92 mm\n"
        "Volume: 56.93 mm\xC2\xB3\n"  // UTF-8 on the terminal
        "Weight: 1.002 ct (Diamond, SG 3.52)\n";
    const size_t statisticsEnd = plain.out.find("\n\n") + 1;
    EXPECT_EQ(sized.out, plain.out.substr(0, statisticsEnd) + lines + plain.out.substr(statisticsEnd));

    // A typed gravity; without a material the design's refractive index
    // (1.54 here) picks one; the length instead of the width; "=" forms.
    EXPECT_NE(run("info " + brilliant + " --width=6.5 --sg=3.52").out.find("Weight: 1.002 ct (SG 3.52)\n"),
              std::string::npos);
    EXPECT_NE(run("info " + brilliant + " --width 6.5").out.find("Weight: 0.754 ct (Quartz, SG 2.65)\n"),
              std::string::npos);
    CliRun emerald = run("info " + quoted(sample("emerald_cut.gem")) + " --length 9 --material Beryl");
    EXPECT_EQ(emerald.code, 0);
    EXPECT_NE(emerald.out.find("Size: 9.00 x "), std::string::npos) << emerald.out;

    CliRun json = run("json " + brilliant + " --width 6.5 --material Diamond");
    ASSERT_EQ(json.code, 0) << json.err;
    for (const char* field : {"\"size\": {", "\"basis\": \"width\"", "\"millimetres\": 6.5", "\"material\": \"Diamond\"",
                              "\"specificGravity\": 3.52", "\"carats\": 1.00", "\"culet\": null", "\"table\": ["})
        EXPECT_NE(json.out.find(field), std::string::npos) << field;
    EXPECT_EQ(run("json " + brilliant).out.find("\"size\""), std::string::npos);

    // Wrong sizes, materials and combinations are usage errors that say why.
    const std::pair<const char*, const char*> wrong[] = {
        {"--width 0", "--width takes millimetres from 0.01 to 10000, as 6.5 (not '0')"},
        {"--width 6,5", "--width takes millimetres from 0.01 to 10000, as 6.5 (not '6,5')"},
        {"--width 6.5 --material gold", "unknown material 'gold'; the materials are Fluorite, Opal, Quartz"},
        {"--width 6.5 --sg 99", "--sg takes a specific gravity from 0.1 to 25, as 3.52 (not '99')"},
        {"--sg 3.5", "the weight needs the size: add --width MM or --length MM"},
        {"--width 6.5 --length 8", "give the size once: --width MM or --length MM"},
        {"--width 6.5 --colour red", "unknown option '--colour'"},
        {"--width", "--width needs a value"},
    };
    for (const auto& [options, message] : wrong) {
        CliRun r = run("info " + brilliant + " " + options);
        EXPECT_EQ(r.code, 2) << options;
        EXPECT_EQ(r.out, "") << options;
        EXPECT_EQ(r.err.rfind(std::string("brevix-cli: ") + message, 0), 0u) << r.err;
    }
}

TEST_F(Cli, ConvertWritesMeshesInMillimetres) {
    const std::string source = quoted(sample("round_brilliant.asc"));
    ASSERT_EQ(run("convert " + source + " " + quoted(path("units.obj"))).code, 0);
    CliRun mm = run("convert " + source + " " + quoted(path("ring.obj")) + " --width 6.5");
    ASSERT_EQ(mm.code, 0) << mm.err;
    ASSERT_EQ(run("convert --width 6.5 " + source + " " + quoted(path("ring.stl"))).code, 0);
    EXPECT_EQ(readAll(path("units.obj")).rfind("# Brevix gemstone mesh, design units\n", 0), 0u);
    const std::string obj = readAll(path("ring.obj"));
    EXPECT_EQ(obj.rfind("# Brevix gemstone mesh, mm\n# Standard Round Brilliant\n", 0), 0u);
    // The girdle reaches 3.25 mm either side of the centre.
    EXPECT_NE(obj.find(" 3.250000000 "), std::string::npos);
    EXPECT_EQ(readAll(path("ring.stl")).rfind("Brevix gemstone mesh, mm: Standard Round Brilliant", 0), 0u);

    CliRun notMesh = run("convert " + source + " " + quoted(path("x.gem")) + " --width 6.5");
    EXPECT_EQ(notMesh.code, 2);
    EXPECT_EQ(notMesh.err, "brevix-cli: --width and --length size the meshes (.stl, .obj) only\n");
    EXPECT_EQ(run("convert " + source + " " + quoted(path("x.stl")) + " --sg 3").code, 2);
}

TEST_F(Cli, CheckPassesOnEverySample) {
    for (const std::string& name : SAMPLES) {
        CliRun check = run("check " + quoted(sample(name + ".gem")));
        EXPECT_EQ(check.code, 0) << name << check.out;
        EXPECT_NE(check.out.find("Passed:"), std::string::npos) << name;
    }
}

TEST_F(Cli, JsonDescribesTheWholeDesign) {
    brevix::RecordingSink quiet;
    brevix::ScopedMessageSink guard(quiet);
    brevix::Stone stone(brevix::ROUGH_HALF);
    ASSERT_TRUE(brevix::readGemFile(stone, sample("round_brilliant.gem")));

    CliRun json = run("json " + quoted(sample("round_brilliant.gem")));
    ASSERT_EQ(json.code, 0);
    const std::string& text = json.out;
    auto count = [&](const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\"name\": "), stone.nFacet);
    EXPECT_EQ(count("\"instruction\": "), stone.nFacet);
    EXPECT_NE(text.find("\"edges\": " + std::to_string(stone.nEdge) + ","), std::string::npos);
    EXPECT_NE(text.find("\"heading\": [\"Standard Round Brilliant\", null, null, null]"), std::string::npos);
    EXPECT_NE(text.find("\"preform\": null"), std::string::npos);
    for (const char* field : {"\"gear\": 96", "\"L\": ", "\"W\": ", "\"volume\": ", "\"centroid\": ["})
        EXPECT_NE(text.find(field), std::string::npos) << field;
    // One vertex triple a line inside "vertices".
    const size_t vertices = text.find("\"vertices\": [");
    const size_t edges = text.find("\"edges\": ");
    ASSERT_LT(vertices, edges);
    int triples = 0;
    for (size_t at = text.find("\n    [", vertices); at < edges; at = text.find("\n    [", at + 1)) ++triples;
    EXPECT_EQ(triples, stone.nVertex);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text[text.size() - 2], '}');
}

TEST_F(Cli, JsonOfEverySampleIsByteForByteAsBefore) {
    // Written by the command before its JSON was built with a library: the
    // layout and every digit of every number must stay as scripts know them.
    const std::string expected = std::string(BREVIX_SOURCE_DIR) + "/tests/cli/expected/json/";
    for (const std::string& name : SAMPLES)
        for (const char* ext : {".gem", ".asc"}) {
            CliRun json = run("json " + quoted(sample(name + ext)));
            EXPECT_EQ(json.code, 0) << name << ext;
            EXPECT_EQ(json.out, readAll(expected + name + ext + ".json")) << name << ext;
        }
    // With a size, its object follows the preform: a named material, a
    // typed gravity (no material: null), the material of the design's index.
    const std::pair<const char*, const char*> sized[] = {
        {"round_brilliant.asc --width 6.5 --material diamond", "round_brilliant.width-6.5-diamond"},
        {"emerald_cut.gem --length 9 --sg 2.7", "emerald_cut.length-9-sg-2.7"},
        {"oval_brilliant.gem --width=6.5", "oval_brilliant.width-6.5"},
    };
    for (const auto& [arguments, file] : sized) {
        const std::string design = arguments;
        const std::string name = design.substr(0, design.find(' '));
        CliRun json = run("json " + quoted(sample(name)) + design.substr(design.find(' ')));
        std::string whole = readAll(expected + name + ".json");
        whole.resize(whole.size() - 3);  // "\n}\n"
        whole += ",\n" + readAll(expected + file + ".size.json");
        EXPECT_EQ(json.code, 0) << arguments;
        EXPECT_EQ(json.out, whole) << arguments;
    }
}

TEST_F(Cli, FootnoteEndsTheInfoAndThePreformIsANestedObject) {
    brevix::RecordingSink quiet;
    brevix::ScopedMessageSink guard(quiet);
    brevix::Stone stone = brevix::makeRoundBrilliant();
    stone.setFootnote({"Designed for \xB0 tests", "", "Third line", ""});
    brevix::copyToPreform(stone, stone);
    const std::string file = path("with_preform.gem");
    brevix::Diagnostics notes;
    ASSERT_TRUE(brevix::writeGemFile(stone, file, notes));

    CliRun info = run("info " + quoted(file));
    ASSERT_EQ(info.code, 0);
    const std::string footnote = "Designed for \xC2\xB0 tests\n\nThird line\n";
    ASSERT_GE(info.out.size(), footnote.size());
    EXPECT_EQ(info.out.substr(info.out.size() - footnote.size()), footnote);
    EXPECT_EQ(info.err, "File has a preform\n");

    CliRun json = run("json " + quoted(file));
    ASSERT_EQ(json.code, 0);
    EXPECT_NE(json.out.find("\"footnote\": [\"Designed for \xC2\xB0 tests\", null, \"Third line\", null]"),
              std::string::npos);
    const size_t preform = json.out.find("\"preform\": {");
    ASSERT_NE(preform, std::string::npos);
    // The nested design ends with a preform of its own: none.
    EXPECT_NE(json.out.find("\"preform\": null", preform), std::string::npos);
    EXPECT_NE(json.out.find("\"gear\": 96", preform), std::string::npos);
}

TEST_F(Cli, ADesignWhoseReadingReportedProblemsIsWorkedOnButTheRunFails) {
    // Two indexes before the first angle and depth: the reader skips them
    // and says so.
    std::string text = readAll(sample("round_brilliant.asc"));
    const size_t firstRecord = text.find("\na ");
    ASSERT_NE(firstRecord, std::string::npos);
    text.insert(firstRecord + 1, "5 7\n");
    const std::string odd = path("odd.asc");
    std::ofstream(odd, std::ios::binary) << text;

    CliRun info = run("info " + quoted(odd));
    EXPECT_EQ(info.code, 1);
    EXPECT_NE(info.out.find("57 + 16 girdles = 73 facets"), std::string::npos);
    EXPECT_EQ(info.err, "2 facet index(es) came before the first angle and depth (a record) and were ignored\n");

    // The output is written all the same, and the status tells the script.
    const std::string out = path("converted.gem");
    EXPECT_EQ(run("convert " + quoted(odd) + " " + quoted(out)).code, 1);
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(Cli, AGearNoDesignCanHaveIsRefusedAndTheOutputStaysSmall) {
    // Once the index column grew as wide as the gear: about 2 GB of blanks.
    const std::string huge = path("huge gear.asc");
    std::ofstream(huge) << "Brevix 5.0\ng -2147483648 0.0\ny 8 y\nI 1.54\na 41.000000 1.00000000 3 15\n";
    CliRun info = run("info " + quoted(huge));
    EXPECT_EQ(info.code, 1);
    EXPECT_LT(info.out.size(), 1000u);
    EXPECT_EQ(info.err,
              "The index gear in this file has -2147483648 teeth; a design has at most 100000.\n"
              "Reading stopped there: the design holds what came before the gear.\n");
}

TEST_F(Cli, ReadFailuresGiveTheProgramsMessagesAndExitOne) {
    const std::string missing = path("missing.gem");
    CliRun r = run("info " + quoted(missing));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Cannot open " + missing + " to read\nThere is no such file.\n");

    const std::string bad = path("bad.asc");
    std::ofstream(bad) << "Not a design at all\n";
    for (const char* command : {"info", "json", "check"}) {
        r = run(std::string(command) + " " + quoted(bad));
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_EQ(r.err, "Corrupt ASC file: " + bad + "\n") << command;
    }
    // Output that cannot be written is a failure, not a silent success.
    r = run("json " + quoted(sample("round_brilliant.gem")), {}, "/dev/full");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "brevix-cli: cannot write the output\n");
}

TEST_F(Cli, FiguresAreThoseOfInfoWithTheGirdleAndWarnings) {
    for (const std::string& name : SAMPLES) {
        CliRun info = run("info " + quoted(sample(name + ".asc")));
        CliRun figures = run("figures " + quoted(sample(name + ".asc")));
        ASSERT_EQ(figures.code, 0) << name << figures.err;
        EXPECT_EQ(figures.err, "");
        // Every ratio the pane shows is the one info prints.
        for (const char* ratio : {"L/W", "T/W", "U/W", "P/W", "C/W", "H/W"}) {
            const size_t at = figures.out.find(std::string("\n") + ratio + ": ");
            const size_t inInfo = info.out.find(std::string(ratio) + " = ");
            EXPECT_EQ(at == std::string::npos, inInfo == std::string::npos) << name << " " << ratio;
            if (at == std::string::npos || inInfo == std::string::npos) continue;
            EXPECT_EQ(figures.out.substr(at + std::strlen(ratio) + 3, 5), info.out.substr(inInfo + std::strlen(ratio) + 3, 5))
                << name << " " << ratio;
        }
    }
    CliRun sized = run("figures " + quoted(sample("round_brilliant.asc")) + " --width 6.5 --material diamond");
    ASSERT_EQ(sized.code, 0) << sized.err;
    EXPECT_NE(sized.out.find("Weight: 1.002 ct (Diamond, SG 3.52)\n"), std::string::npos) << sized.out;
    EXPECT_NE(sized.out.find("\nGirdle at mains/W: "), std::string::npos) << sized.out;
}

}  // namespace
