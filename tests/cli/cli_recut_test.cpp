// brevix-cli recut as a script uses it: a tier that a steeper angle lets the
// later tiers cut away entirely is still written with its names and intent,
// so that a second re-cut of that file finds it and keeps the meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The window writes a .brx file with the very bytes the command line writes
// for the same design and intent, recorded or inferred.
TEST_F(CliRecut, TheWindowSavesBrxFilesAsTheCommandLineDoes) {
    brevix::RecordingSink sink;
    brevix::ScopedMessageSink guard(sink);
    const std::string meets = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant_meets.brx";
    ASSERT_EQ(run("recut " + MEETS + " cli.brx --set P1=39.75").code, 0);
    brevix::CGemDoc doc{&sink};
    ASSERT_TRUE(doc.openDocumentFile(meets));
    const brevix::Stone& stone = *doc.stone();
    int32_t p1 = -1;
    for (int32_t f = stone.nRough; f < stone.nFacet && p1 < 0; ++f)
        if (std::fabs(std::fabs(stone.facetAngleOf(f)) - 40.75) < 1e-6) p1 = f;
    ASSERT_GE(p1, 0);
    ASSERT_TRUE(doc.recutTierAngle(p1, 39.75, true));
    doc.saveType = brevix::FileType::Brx;
    ASSERT_TRUE(doc.OnSaveDocument((folder_ / "window.brx").string()));
    EXPECT_EQ(readAll(folder_ / "window.brx"), readAll(folder_ / "cli.brx"));

    const std::string asc = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";
    ASSERT_EQ(run("convert '" + asc + "' cli.brx").code, 0);
    ASSERT_TRUE(doc.openDocumentFile(asc));
    doc.saveType = brevix::FileType::Brx;
    ASSERT_TRUE(doc.OnSaveDocument((folder_ / "window.brx").string()));
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
    ASSERT_TRUE(doc.openDocumentFile(path("d.brx")));
    const brevix::Stone& stone = *doc.stone();
    const int32_t facets = stone.nFacet;
    int32_t p1 = -1;
    for (int32_t f = stone.nRough; f < stone.nFacet && p1 < 0; ++f)
        if (std::fabs(std::fabs(stone.facetAngleOf(f)) - 40.75) < 1e-6) p1 = f;
    ASSERT_GE(p1, 0);
    const brevix::DesignIntent intent = doc.designIntent();
    const int undoCursor = doc.undoRing.undoCursor;

    EXPECT_FALSE(doc.recutTierAngle(p1, 90, true));
    EXPECT_FALSE(sink.entries.empty());
    EXPECT_EQ(doc.stone()->nFacet, facets);
    EXPECT_TRUE(doc.designIntent() == intent);
    EXPECT_EQ(doc.undoRing.undoCursor, undoCursor);
    EXPECT_FALSE(doc.isModified());

    // The window's "Change a tier" drags: a step that cannot be cut stays at
    // the last step that could, and says why.
    ASSERT_TRUE(doc.beginTierDrag(p1));
    EXPECT_TRUE(doc.dragTierAngle(41.5));
    const int32_t dragged = doc.stone()->nFacet;
    EXPECT_FALSE(doc.dragTierAngle(90));
    EXPECT_FALSE(doc.dragProblems().empty());
    EXPECT_EQ(doc.stone()->nFacet, dragged);
    doc.endTierDrag();
    doc.undo();
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.stone()->nFacet, facets);
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_EQ(readAll(folder_ / "d.brx"), before);
}

}  // namespace
