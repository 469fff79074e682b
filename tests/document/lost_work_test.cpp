// Work the user could lose and input that must not end the program: Undo
// right after an open, Save after Undo, files that are folders, pipes or
// cut short, and conditions met once per facet told once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/design_text.h"
#include "design/sample_designs.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "document/recent_files.h"
#include "files/binary_io.h"
#include "files/gem_format.h"
#include "platform/messages.h"
#include "scripted_ui.h"
#include "settings_fixture.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::fileBytes;

class LostWork : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        doc.files().ui = &ui;
    }
    std::string designFile(const std::string& name, const Stone& stone) {
        const std::string p = path(name);
        Diagnostics notes;
        EXPECT_TRUE(writeGemFile(stone, p, notes));
        return p;
    }
    // A command that changes the design, as every command does: a snapshot, then the change.
    void changeHeading(const std::string& text) {
        runStoneCommand(doc, "Heading", [&](Stone& stone) { stone.setHeading({text, "", "", ""}); });
    }

    RecordingSink sink;
    ScopedMessageSink guard{sink};
    ScriptedUi ui;
    CGemDoc doc{&sink};
};

// ---- Undo after an open -----------------------------------------------------

TEST_F(LostWork, UndoRightAfterAnOpenMarksTheDocumentChangedAndSaveAsksBeforeReplacingTheFile) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    const std::string saved = fileBytes(file);
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    const int facets = doc.facetCount;
    ASSERT_GT(facets, 0);
    EXPECT_FALSE(doc.model().isModified());

    doc.undo();  // what the open replaced: here the empty block
    EXPECT_EQ(doc.facetCount, 0);
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_FALSE(doc.model().designFromFile());

    // Ctrl+S: Save As with the file's name; Cancel leaves the file alone.
    EXPECT_FALSE(doc.files().OnFileSave());
    ASSERT_EQ(ui.requests.size(), 1u);
    EXPECT_FALSE(ui.requests[0].open);
    EXPECT_EQ(ui.requests[0].initialName, file);
    EXPECT_TRUE(fileBytes(file) == saved);
    // Keeping the name asks first; No keeps the file.
    ui.choose(file);
    sink.script = {Answer::No};
    EXPECT_FALSE(doc.files().OnFileSave());
    EXPECT_EQ(sink.texts(), std::vector<std::string>{file + " already exists.\nDo you want to replace it?"});
    EXPECT_TRUE(fileBytes(file) == saved);
    // Closing asks to save, and that takes the same way.
    ui.saveChangesAnswers = {Answer::Yes};
    EXPECT_FALSE(doc.files().SaveModified());
    EXPECT_TRUE(fileBytes(file) == saved);

    // Redo brings the opened design back as it is in the file: unchanged,
    // and Save writes straight to the file again.
    doc.redo();
    EXPECT_EQ(doc.facetCount, facets);
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_TRUE(doc.model().designFromFile());
    const size_t dialogs = ui.requests.size();
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(ui.requests.size(), dialogs);
}

TEST_F(LostWork, UndoBeyondAnOpenBringsBackThePreviousDesignWhichSavesOnlyWhereTheUserSays) {
    const std::string oval = designFile("oval.gem", makeOvalBrilliant());
    const std::string round = designFile("round.gem", makeRoundBrilliant());
    const std::string roundBytes = fileBytes(round);
    ASSERT_TRUE(doc.files().openDocumentFile(oval));
    changeHeading("Oval, my way");
    const int ovalFacets = doc.facetCount;
    ASSERT_TRUE(doc.files().openDocumentFile(round));  // "save changes?" answered No

    doc.undo();  // the oval's last snapshot: the oval before its heading
    EXPECT_EQ(doc.facetCount, ovalFacets);
    EXPECT_TRUE(doc.model().isModified());
    // Saved under another name it is saved there, and is that file's design from then on.
    const std::string elsewhere = path("oval again.gem");
    ui.choose(elsewhere);
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_TRUE(fileBytes(round) == roundBytes);
    EXPECT_EQ(doc.files().filePath, elsewhere);
    EXPECT_TRUE(doc.model().designFromFile());
    EXPECT_FALSE(doc.model().isModified());
}

TEST_F(LostWork, UndoAfterASaveIsAChangeAndUndoingBackToTheSavedStateIsNot) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    changeHeading("First");
    ASSERT_TRUE(doc.files().OnFileSave());
    EXPECT_FALSE(doc.model().isModified());

    doc.undo();  // the design as opened, no longer the one in the file
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_TRUE(doc.model().designFromFile());  // still that file's design: Save goes straight on
    doc.redo();
    EXPECT_FALSE(doc.model().isModified());  // exactly what was saved

    changeHeading("Second");
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(doc.stone()->heading[0], "First");
}

// ---- files that are no design file --------------------------------------

TEST_F(LostWork, AFolderOrAPipeNamedLikeADesignIsRefusedAndTheDesignStays) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    const Stone* design = doc.stone();
    const std::string folder = path("x.asc");
    std::filesystem::create_directory(folder);
    const std::string pipe = path("y.gem");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    EXPECT_FALSE(doc.files().openDocumentFile(folder));
    EXPECT_FALSE(doc.files().openDocumentFile(pipe));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{
                                "Cannot open " + folder + " to read\nIt is a folder, not a file.",
                                "Cannot open " + pipe + " to read\nIt is a device, a pipe or a socket, not a file."}));
    EXPECT_EQ(doc.stone(), design);
    EXPECT_EQ(doc.files().filePath, file);
    EXPECT_EQ(doc.files().registeredPath, file);
}

TEST_F(LostWork, DamagedFilesAreReportedAndNeverSavedOverWithoutAsking) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    const Stone* design = doc.stone();
    std::string marker;
    le::putDouble(marker, END_OF_FACETS);

    // Nothing to show: the design in hand stays.
    const std::string empty = path("empty.gem"), endOnly = path("end.gem");
    std::ofstream(empty, std::ios::binary).flush();
    std::ofstream(endOnly, std::ios::binary) << marker;
    EXPECT_FALSE(doc.files().openDocumentFile(empty));
    EXPECT_FALSE(doc.files().openDocumentFile(endOnly));
    EXPECT_EQ(sink.texts(),
              (std::vector<std::string>{"Damaged file: " + empty + "\nThe file is empty.",
                                        "Damaged file: " + endOnly +
                                            "\nIt ends inside its design settings (symmetry, gear, refractive index)."}));
    EXPECT_EQ(doc.stone(), design);
    EXPECT_EQ(doc.files().filePath, file);
    sink.clear();

    // Facets without their settings: shown as far as they go, and Save asks.
    const std::string whole = fileBytes(file);
    const std::string cut = path("cut.gem");
    std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.find(marker) + marker.size() + 6);
    const std::string cutBytes = fileBytes(cut);
    ASSERT_TRUE(doc.files().openDocumentFile(cut));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Damaged file: " + cut +
                                                     "\nIt ends inside its design settings (symmetry, gear, "
                                                     "refractive index)."});
    EXPECT_GT(doc.facetCount, 0);
    EXPECT_TRUE(doc.files().openReportedProblem);
    EXPECT_FALSE(doc.files().OnFileSave());  // Save As proposing the name, cancelled
    EXPECT_EQ(ui.requests.back().initialName, cut);
    EXPECT_TRUE(fileBytes(cut) == cutBytes);
}

// ---- told once, not once per facet --------------------------------------

TEST_F(LostWork, AZeroGearAndNestedPreformsAreEachToldOnceWhenADesignIsOpened) {
    // The cut list works out every facet's index when the views update.
    doc.onDesignChanged = [this](DesignChanges, const void*) {
        if (!doc.stone()) return;
        int lines = 0;
        InstructionText text;
        instructionText(*doc.stone(), CUT_LIST_WIDTH, lines, text);
        doc.keepNotes(std::move(text.notes));
    };
    Stone noGear = makeOvalBrilliant();
    noGear.gear = 0;
    ASSERT_TRUE(doc.files().openDocumentFile(designFile("no gear.gem", noGear)));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Zero index gear"});
    sink.clear();

    Stone nested = makeRoundBrilliant();
    Stone* inner = &nested;
    for (int depth = 0; depth < GEM_MAX_PREFORM_DEPTH; ++depth) {
        inner->setPreform(std::make_unique<Stone>(makeRoundBrilliant()));
        inner = inner->preform.get();
    }
    ASSERT_TRUE(doc.files().openDocumentFile(designFile("nested.gem", nested)));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"File has a preform"});
}

// ---- two windows on one file ------------------------------------------------

// The last window to save must not silently throw away what another window
// or program wrote since this one opened or saved the file.
TEST_F(LostWork, SavingOverAFileChangedOnDiskAsksFirst) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    RecordingSink otherSink;
    CGemDoc other{&otherSink};
    ASSERT_TRUE(other.files().openDocumentFile(file));
    runStoneCommand(other, "Heading", [](Stone& stone) { stone.setHeading({"theirs", "", "", ""}); });
    ASSERT_TRUE(other.files().OnFileSave());
    EXPECT_TRUE(otherSink.entries.empty());  // nobody else had written it
    const std::string theirs = fileBytes(file);

    changeHeading("mine");
    sink.script = {Answer::Cancel};
    EXPECT_FALSE(doc.files().OnFileSave());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_NE(sink.entries[0].text.find("has been changed on disk"), std::string::npos);
    EXPECT_EQ(sink.entries[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(fileBytes(file), theirs);
    EXPECT_TRUE(doc.model().isModified());

    // No: Save As, with the file's name proposed.
    sink.script = {Answer::No};
    ui.choose(path("mine copy.gem"));
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(ui.requests.back().initialName, file);
    EXPECT_EQ(fileBytes(file), theirs);
    EXPECT_TRUE(std::filesystem::exists(path("mine copy.gem")));

    // Yes: replaced; the next save has nothing to ask.
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    ASSERT_TRUE(other.files().OnFileSave());  // written again behind this window's back
    changeHeading("mine again");
    sink.clear();
    sink.script = {Answer::Yes};
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_NE(fileBytes(file), theirs);
    changeHeading("and again");
    sink.clear();
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_TRUE(sink.entries.empty());
}

// After every kind of save the window's unsaved-changes mark is off, and it
// comes back with the next change: the title tells whether closing would lose work.
TEST_F(LostWork, EverySaveClearsTheUnsavedChangesMark) {
    const std::string file = designFile("mine.gem", makeRoundBrilliant());
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    changeHeading("one");
    ASSERT_FALSE(ui.modifiedMarks.empty());
    EXPECT_TRUE(ui.modifiedMarks.back());
    ASSERT_TRUE(doc.files().OnFileSave());  // to the file already open: nothing else is redrawn
    EXPECT_FALSE(ui.modifiedMarks.back());
    EXPECT_FALSE(doc.model().isModified());

    changeHeading("two");
    EXPECT_TRUE(ui.modifiedMarks.back());
    ui.choose(path("other.brx"));
    ASSERT_TRUE(doc.files().OnFileSaveAs());
    EXPECT_FALSE(ui.modifiedMarks.back());

    changeHeading("three");
    doc.undo();  // back to the state just saved
    EXPECT_FALSE(ui.modifiedMarks.back());
    EXPECT_FALSE(doc.model().isModified());
    doc.redo();
    EXPECT_TRUE(ui.modifiedMarks.back());
}

// A recent file that can no longer be opened leaves the list, in the
// settings too, and the design in hand stays; one that opens stays listed.
TEST_F(LostWork, ARecentFileThatIsGoneLeavesTheList) {
    const std::string kept = designFile("kept.gem", makeRoundBrilliant());
    const std::string gone = path("gone.gem");
    RecentFileList stored;
    stored.add(gone);
    stored.add(kept);
    ASSERT_TRUE(stored.save());
    doc.files().recentFiles().load();

    EXPECT_FALSE(doc.files().openRecentFile(kept));
    EXPECT_EQ(doc.files().registeredPath, kept);
    EXPECT_TRUE(doc.files().openRecentFile(gone));
    EXPECT_FALSE(sink.entries.empty());  // told why
    EXPECT_EQ(doc.files().registeredPath, kept);
    EXPECT_EQ(doc.stone()->nFacet, makeRoundBrilliant().nFacet);
    EXPECT_EQ(doc.files().recentFiles().entries(), std::vector<std::string>{kept});
    RecentFileList reloaded;
    reloaded.load();
    EXPECT_EQ(reloaded.entries(), std::vector<std::string>{kept});
    // Gone already: nothing left to drop.
    EXPECT_FALSE(doc.files().openRecentFile(gone));
}

}  // namespace
}  // namespace brevix
