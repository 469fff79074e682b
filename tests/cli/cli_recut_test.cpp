// brevix-cli recut as a script uses it: a tier that a steeper angle lets the
// later tiers cut away entirely is still written with its names and intent,
// so that a second re-cut of that file finds it and keeps the meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "document/gem_doc.h"
#include "platform/messages.h"
#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string MEETS = std::string("'") + BREVIX_SOURCE_DIR + "/samples/round_brilliant_meets.brx'";

class CliRecut : public CliFolderTest {};

TEST_F(CliRecut, ATierCutAwayByLaterTiersKeepsItsNamesAndIntentForTheNextRecut) {
    struct Case {
        const char *tier, *first, *last, *line;
    };
    for (const Case& c : {Case{"P1", "43", "44", "| P1 P1 P1 P1 P1 P1 P1 P1 | points 1 0 0 centre "},
                          Case{"C1", "42", "41.5", "| C1 C1 C1 C1 C1 C1 C1 C1 | points 1 0 0 edge "}}) {
        SCOPED_TRACE(c.tier);
        const std::string set = std::string(" --set ") + c.tier + "=";
        CliRun r = run("recut " + MEETS + " a.brx" + set + c.first);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(readAll(folder_ / "a.brx").find(c.line), std::string::npos) << readAll(folder_ / "a.brx");
        r = run("intent a.brx");
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7) << r.out;
        EXPECT_EQ(r.out.find("inferred"), std::string::npos) << r.out;
        // Twice by way of the file is once to the final angle.
        ASSERT_EQ(run("recut a.brx b.brx" + set + c.last).code, 0);
        ASSERT_EQ(run("recut " + MEETS + " once.brx" + set + c.last).code, 0);
        EXPECT_EQ(readAll(folder_ / "b.brx"), readAll(folder_ / "once.brx"));
    }
}

// A tier the new angle cuts away is said on standard error; the run still
// succeeds, for the intent keeps the tier and a later change brings it back.
TEST_F(CliRecut, ATierCutAwayIsSaidAsAWarningAndTheRunSucceeds) {
    CliRun r = run("recut " + MEETS + " away.asc --set P1=42");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "warning: P1 cut away entirely by P2\n");
    r = run("recut " + MEETS + " kept.asc --set P1=41");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

// The depths of a text design written to five decimals, as another program might.
std::string withFiveDecimals(const std::string& asc) {
    std::istringstream lines(asc);
    std::string line, out;
    while (std::getline(lines, line)) {
        if (line.rfind("a ", 0) == 0) {
            const size_t angleEnd = line.find(' ', 2), depthEnd = line.find(' ', angleEnd + 1);
            char depth[32];
            std::snprintf(depth, sizeof depth, "%.5f", std::stod(line.substr(angleEnd + 1, depthEnd - angleEnd - 1)));
            line = line.substr(0, angleEnd + 1) + depth + line.substr(depthEnd);
        }
        out += line + "\n";
    }
    return out;
}

TEST_F(CliRecut, ADesignWrittenWithFewDecimalsKeepsItsMeetsWithinTheTolerance) {
    ASSERT_EQ(run("convert " + MEETS + " exact.asc").code, 0);
    std::ofstream(folder_ / "five.asc", std::ios::binary) << withFiveDecimals(readAll(folder_ / "exact.asc"));
    const CliRun exact = run("intent exact.asc");
    const CliRun five = run("intent five.asc");
    ASSERT_EQ(five.code, 0) << five.err;
    // The same meets, each closed gap told.
    EXPECT_NE(five.out.find("meets G 3\u00B7G 93\u00B7" "C1 96, inferred, gap 0.0000"), std::string::npos) << five.out;
    EXPECT_EQ(exact.out.find("gap"), std::string::npos) << exact.out;
    EXPECT_EQ(std::count(five.out.begin(), five.out.end(), '\n'), 7);
    const auto depths = [](const std::string& out) {
        size_t n = 0;
        for (size_t at = out.find("\tdepth "); at != std::string::npos; at = out.find("\tdepth ", at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(depths(five.out), depths(exact.out));
    // Held to the exact planes, the meets are lost.
    EXPECT_GT(depths(run("intent five.asc --meet-tolerance 0").out), depths(exact.out));

    // The re-cut keeps every meet and closes the gaps.
    CliRun r = run("recut five.asc recut.asc --set P1=39.75");
    ASSERT_EQ(r.code, 0) << r.err;
    const CliRun after = run("intent recut.asc --meet-tolerance 0");
    EXPECT_EQ(depths(after.out), depths(exact.out)) << after.out;
    EXPECT_EQ(after.out.find("gap"), std::string::npos);
    // Without the tolerance the re-cut loses them.
    ASSERT_EQ(run("recut five.asc strict.asc --set P1=39.75 --meet-tolerance 0").code, 0);
    EXPECT_GT(depths(run("intent strict.asc --meet-tolerance 0").out), depths(exact.out));

    for (const char* bad : {"--meet-tolerance 0.01", "--meet-tolerance -1", "--meet-tolerance x"})
        EXPECT_EQ(run(std::string("intent five.asc ") + bad).code, 2) << bad;
}

// The window writes a .brx file with the very bytes the command line writes
// for the same design and intent, recorded or inferred.
TEST_F(CliRecut, TheWindowSavesBrxFilesAsTheCommandLineDoes) {
    brevix::RecordingSink sink;
    brevix::ScopedMessageSink guard(sink);
    const std::string meets = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant_meets.brx";
    ASSERT_EQ(run("recut " + MEETS + " cli.brx --set P1=39.75").code, 0);
    brevix::CGemDoc doc{&sink};
    ASSERT_TRUE(doc.files().openDocumentFile(meets));
    const brevix::Stone& stone = *doc.stone();
    int32_t p1 = -1;
    for (int32_t f = stone.nRough; f < stone.nFacet && p1 < 0; ++f)
        if (std::fabs(std::fabs(stone.facetAngleOf(f)) - 40.75) < 1e-6) p1 = f;
    ASSERT_GE(p1, 0);
    ASSERT_TRUE(doc.recutTierAngle(p1, 39.75));
    doc.files().saveType = brevix::FileType::Brx;
    ASSERT_TRUE(doc.files().OnSaveDocument((folder_ / "window.brx").string()));
    EXPECT_EQ(readAll(folder_ / "window.brx"), readAll(folder_ / "cli.brx"));

    const std::string asc = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";
    ASSERT_EQ(run("convert '" + asc + "' cli.brx").code, 0);
    ASSERT_TRUE(doc.files().openDocumentFile(asc));
    doc.files().saveType = brevix::FileType::Brx;
    ASSERT_TRUE(doc.files().OnSaveDocument((folder_ / "window.brx").string()));
    EXPECT_EQ(readAll(folder_ / "window.brx"), readAll(folder_ / "cli.brx"));
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;
}

// A re-cut that a tier cannot follow is refused as a whole: neither the file
// written over in place nor the window's design, its intent, its undo or its
// modified mark keep any trace of it, and what Save writes is what was opened.
TEST_F(CliRecut, ARefusedRecutLeavesTheFileTheDesignAndItsIntentAsTheyWere) {
    const std::string meets = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant_meets.brx";
    fs::copy_file(meets, folder_ / "d.brx");
    const std::string before = readAll(folder_ / "d.brx");
    CliRun r = run("recut d.brx d.brx --set P1=90");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("keeps its last place"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(folder_ / "d.brx"), before);
    // A refused second setting refuses the first with it.
    r = run("recut d.brx other.brx --set P1=41 --set C1=90");
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(fs::exists(folder_ / "other.brx"));

    brevix::RecordingSink sink;
    brevix::ScopedMessageSink guard(sink);
    brevix::CGemDoc doc{&sink};
    ASSERT_TRUE(doc.files().openDocumentFile(path("d.brx")));
    const brevix::Stone& stone = *doc.stone();
    const int32_t facets = stone.nFacet;
    int32_t p1 = -1;
    for (int32_t f = stone.nRough; f < stone.nFacet && p1 < 0; ++f)
        if (std::fabs(std::fabs(stone.facetAngleOf(f)) - 40.75) < 1e-6) p1 = f;
    ASSERT_GE(p1, 0);
    const brevix::DesignIntent intent = doc.model().intent();
    const int undoCursor = doc.undoStack().cursor();

    EXPECT_FALSE(doc.recutTierAngle(p1, 90));
    EXPECT_FALSE(sink.entries.empty());
    EXPECT_EQ(doc.stone()->nFacet, facets);
    EXPECT_TRUE(doc.model().intent() == intent);
    EXPECT_EQ(doc.undoStack().cursor(), undoCursor);
    EXPECT_FALSE(doc.model().isModified());

    // The window's "Change a tier" drags: a step that cannot be cut stays at
    // the last step that could, and says why.
    ASSERT_TRUE(doc.drag().begin(p1));
    EXPECT_TRUE(doc.drag().toAngle(41.5));
    const int32_t dragged = doc.stone()->nFacet;
    EXPECT_FALSE(doc.drag().toAngle(90));
    EXPECT_FALSE(doc.drag().problems().empty());
    EXPECT_EQ(doc.stone()->nFacet, dragged);
    doc.drag().end();
    doc.undo();
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(doc.stone()->nFacet, facets);
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(readAll(folder_ / "d.brx"), before);
}

}  // namespace
