#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "document/document_messages.h"
#include "document/gem_doc.h"
#include "document/status_texts.h"
#include "document/stone_commands.h"
#include "files/asc_format.h"
#include "files/exports.h"
#include "files/gem_format.h"
#include "platform/messages.h"
#include "platform/strformat.h"
#include "scripted_ui.h"
#include "settings_fixture.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::fileBytes;

class DocumentFiles : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        doc.files().ui = &ui;
    }
    // A brilliant in the document, as if just designed.
    Stone& designBrilliant() {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc.refreshSummary();
        doc.model().setModifiedFlag(true);
        return *doc.stone();
    }
    // A file of the brilliant on disk, written by the writers themselves.
    std::string brilliantFile(const std::string& name) {
        Stone stone = makeRoundBrilliant();
        std::string p = path(name);
        Diagnostics notes;
        EXPECT_TRUE(fileTypeOf(p) == FileType::Asc ? writeAscFile(stone, p, notes) : writeGemFile(stone, p, notes));
        return p;
    }

    RecordingSink sink;
    ScopedMessageSink guard{sink};
    ScriptedUi ui;
    CGemDoc doc{&sink};
};

TEST_F(DocumentFiles, SaveOfANewDesignGoesThroughSaveAsAndTheSecondFilterAppendsAsc) {
    Stone& stone = designBrilliant();
    const int facets = stone.nFacet - stone.nRough;
    ui.choose(path("design"), 2);

    ASSERT_TRUE(doc.files().OnFileSave());
    ASSERT_EQ(ui.requests.size(), 1u);
    EXPECT_FALSE(ui.requests[0].open);
    EXPECT_EQ(ui.requests[0].filter, docmsg::SAVE_FILTER);

    const std::string written = path("design.asc");
    EXPECT_TRUE(isAscFile(*std::make_unique<std::ifstream>(written, std::ios::binary)));
    EXPECT_EQ(doc.files().filePath, written);
    EXPECT_EQ(doc.files().saveType, FileType::Asc);
    EXPECT_EQ(doc.files().registeredPath, written);
    EXPECT_EQ(ui.registeredPaths, std::vector<std::string>{written});
    EXPECT_FALSE(doc.model().isModified());
    // The design now in the document is the one read back from the file.
    EXPECT_NE(doc.stone(), &stone);
    EXPECT_EQ(doc.facetCount, facets);
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
}

TEST_F(DocumentFiles, SaveAsOverTheOpenFileAsksAndKeepsTheDesignInMemory) {
    const std::string file = brilliantFile("open.gem");
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    Stone* inMemory = doc.stone();
    doc.stone()->setHeading({"Changed", "", "", ""});
    doc.model().setModifiedFlag(true);
    const std::string before = fileBytes(file);

    // No: nothing is written.
    ui.choose(file);
    sink.script = {Answer::No};
    EXPECT_FALSE(doc.files().OnFileSaveAs());
    EXPECT_EQ(fileBytes(file), before);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text, file + " already exists.\nDo you want to replace it?");
    EXPECT_TRUE(sink.entries[0].question);

    // Yes: the file is rewritten, the document is already registered under
    // the path, so the design is not read back.
    ui.choose(file);
    sink.script = {Answer::Yes};
    EXPECT_TRUE(doc.files().OnFileSaveAs());
    EXPECT_NE(fileBytes(file), before);
    EXPECT_EQ(doc.stone(), inMemory);
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(ui.registeredPaths.size(), 1u);
}

TEST_F(DocumentFiles, AFacetTextTooLongForGemIsRefusedAndNothingIsLost) {
    Stone& stone = designBrilliant();
    const std::string longText(100, 'x');
    stone.setInstruction(stone.nFacet - 1, longText);
    const std::string gemFile = path("long.gem");

    ui.choose(gemFile);
    EXPECT_FALSE(doc.files().OnFileSaveAs());
    EXPECT_FALSE(std::filesystem::exists(gemFile));
    EXPECT_EQ(doc.stone(), &stone);
    EXPECT_EQ(doc.stone()->instructionOf(stone.nFacet - 1), longText);
    EXPECT_TRUE(doc.files().filePath.empty());
    EXPECT_EQ(doc.files().saveType, FileType::Other);
    EXPECT_TRUE(doc.model().isModified());
    ASSERT_FALSE(sink.entries.empty());

    // The text format holds it.
    ui.choose(path("long.asc"));
    EXPECT_TRUE(doc.files().OnFileSaveAs());
    EXPECT_EQ(doc.stone()->instructionOf(doc.stone()->nFacet - 1), longText);
}

// What the writer has to say about a file it did write reaches the user
// through the document's own sink, in the order said, and only there.
TEST_F(DocumentFiles, TheWritersNotesAreShownByTheDocumentThroughItsOwnSink) {
    RecordingSink own;
    CGemDoc saving{&own};
    saving.files().ui = &ui;
    saving.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
    Stone& stone = *saving.stone();
    stone.setFacetName(stone.nFacet - 1, "C\t1");
    stone.setHeading({std::string(80, 'h'), "", "", ""});
    saving.refreshSummary();
    saving.model().setModifiedFlag(true);
    const std::string file = path("noted.gem");
    ui.choose(file);
    ASSERT_TRUE(saving.files().OnFileSaveAs());
    EXPECT_TRUE(std::filesystem::exists(file));
    ASSERT_GE(own.entries.size(), 2u);
    EXPECT_EQ(own.entries[0].text, "Tab characters in facet names were written as blanks");
    EXPECT_EQ(own.entries[0].icon, Icon::Information);
    EXPECT_EQ(own.entries[1].text.rfind("Warning: Line length > 79 characters", 0), 0u);
    EXPECT_EQ(own.entries[1].icon, Icon::Warning);
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();

    // A refused save writes nothing and says why, through the same sink.
    own.clear();
    saving.stone()->gear = 100001;
    ui.choose(path("refused.gem"));
    EXPECT_FALSE(saving.files().OnFileSaveAs());
    EXPECT_FALSE(std::filesystem::exists(path("refused.gem")));
    ASSERT_EQ(own.entries.size(), 1u);
    EXPECT_EQ(own.entries[0].text.rfind("Cannot save: the index gear has 100001 teeth", 0), 0u);
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(DocumentFiles, SaveAsTypeFromTypedExtensionOrFilter) {
    designBrilliant();
    ui.choose(path("a.GEM"), 2);  // typed extension wins, compared in lower case
    EXPECT_TRUE(doc.files().OnFileSaveAs());
    EXPECT_EQ(doc.files().saveType, FileType::Gem);
    EXPECT_EQ(doc.files().filePath, path("a.GEM"));

    sink.clear();
    ui.choose(path("a.txt"));
    EXPECT_FALSE(doc.files().OnFileSaveAs());
    ui.choose(path("b"), 4);  // past the last filter (.gem, .asc, .brx)
    EXPECT_FALSE(doc.files().OnFileSaveAs());
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Unsupported file type: txt",
                                                      "Unsupported file type extension."}));
    EXPECT_EQ(doc.files().saveType, FileType::Gem);
    EXPECT_EQ(doc.files().filePath, path("a.GEM"));
}

TEST_F(DocumentFiles, ExportRefusalsKeepTheDocumentsOwnType) {
    designBrilliant();
    doc.files().saveType = FileType::Asc;
    doc.files().filePath = path("mine.asc");

    ui.choose(path("x.ply"));
    EXPECT_FALSE(doc.files().OnFileExport());
    ui.choose(path("x"), 7);
    EXPECT_FALSE(doc.files().OnFileExport());
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Unsupported file type: ply", "Unsupported filed type."}));
    ASSERT_EQ(ui.requests.size(), 2u);
    EXPECT_EQ(ui.requests[0].title, "Export");
    EXPECT_EQ(ui.requests[0].filter, docmsg::EXPORT_FILTER);
    EXPECT_EQ(doc.files().saveType, FileType::Asc);
    EXPECT_EQ(doc.files().filePath, path("mine.asc"));
}

TEST_F(DocumentFiles, ExportsWriteByTypeAndNeverChangeTheDocumentsNameTypeOrState) {
    const std::string file = brilliantFile("mine.gem");
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    doc.model().setModifiedFlag(true);

    // The extension is compared in lower case.
    ui.choose(path("model.WRL"), 2);
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_EQ(fileBytes(path("model.WRL")).rfind("#VRML V1.0 ascii", 0), 0u);

    // Without an extension the fourth filter appends ".thb".
    ui.choose(path("thumb"), 4);
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_TRUE(std::filesystem::exists(path("thumb.thb")));

    ui.choose(path("flat"), 2);
    ASSERT_TRUE(doc.files().OnFileExport());
    ui.choose(path("table"), 3);
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_TRUE(std::filesystem::exists(path("flat.dxf")));
    EXPECT_TRUE(std::filesystem::exists(path("table.b3d")));

    // An existing export is replaced only after Yes.
    const std::string before = fileBytes(path("thumb.thb"));
    ui.choose(path("thumb.thb"));
    sink.script = {Answer::Cancel};
    EXPECT_FALSE(doc.files().OnFileExport());
    EXPECT_EQ(sink.texts().back(), path("thumb.thb") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(fileBytes(path("thumb.thb")), before);

    EXPECT_EQ(doc.files().filePath, file);
    EXPECT_EQ(doc.files().registeredPath, file);
    EXPECT_EQ(doc.files().saveType, FileType::Gem);
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_EQ(ui.registeredPaths.size(), 1u);
}

TEST_F(DocumentFiles, MeshExportsComeAfterTheOthersAndTakeTheSizeOfSizeAndWeight) {
    designBrilliant();
    // Without a size the meshes are in design units; the fifth and sixth
    // filters append ".stl" and ".obj".
    ui.choose(path("units"), 5);
    ASSERT_TRUE(doc.files().OnFileExport());
    ui.choose(path("units"), 6);
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_EQ(fileBytes(path("units.stl")), stlBytes(*doc.stone()));
    EXPECT_EQ(fileBytes(path("units.obj")), objText(*doc.stone()));

    doc.files().meshSize = {SizeBasis::Width, 6.5};
    const double k = doc.files().meshMillimetresPerUnit();
    computeBounds(*doc.stone());
    EXPECT_NEAR(k, 6.5 / doc.stone()->stats.W, 1e-12);
    ui.choose(path("ring.OBJ"));
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_EQ(fileBytes(path("ring.OBJ")), objText(*doc.stone(), k));
    ui.choose(path("ring.stl"), 1);  // the typed extension wins over the filter
    ASSERT_TRUE(doc.files().OnFileExport());
    EXPECT_EQ(fileBytes(path("ring.stl")), stlBytes(*doc.stone(), k));
    EXPECT_EQ(doc.files().saveType, FileType::Other);
    EXPECT_TRUE(sink.texts().empty());

    // Open refuses the meshes as it refuses the other exports.
    EXPECT_FALSE(doc.files().OnOpenDocument(path("ring.stl")));
    EXPECT_EQ(sink.texts().back(), "Don't know how to read file of type " + path("ring.stl"));
}

TEST_F(DocumentFiles, OpenOfTheOpenFileWithYesDiscardsChangesWithoutAskingToSave) {
    const std::string file = brilliantFile("open.asc");
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    const int facets = doc.facetCount;
    runStoneCommand(doc, "Rough", [](Stone& stone) { stone.makeRough(ROUGH_HALF); });
    doc.refreshSummary();
    ASSERT_TRUE(doc.model().isModified());

    ui.choose(file);
    sink.script = {Answer::Yes};
    EXPECT_TRUE(doc.files().OnFileOpen());
    EXPECT_EQ(ui.requests.back().filter, docmsg::OPEN_FILTER);
    EXPECT_TRUE(ui.requests.back().fileMustExist);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{file + " already open.\nOpen the most recently saved version?"});
    EXPECT_TRUE(ui.saveChangesTitles.empty());
    EXPECT_EQ(doc.facetCount, facets);
    EXPECT_FALSE(doc.model().isModified());

    // No leaves the design as it is.
    doc.stone()->makeRough(ROUGH_HALF);
    ui.choose(file);
    sink.script = {Answer::No};
    EXPECT_FALSE(doc.files().OnFileOpen());
    EXPECT_EQ(doc.stone()->nFacet - doc.stone()->nRough, 0);
}

TEST_F(DocumentFiles, OpeningAnotherFileAsksToSaveChangesFirst) {
    designBrilliant();
    const std::string other = brilliantFile("other.gem");
    ui.choose(other);
    ui.saveChangesAnswers = {Answer::Cancel};
    EXPECT_FALSE(doc.files().OnFileOpen());
    EXPECT_EQ(ui.saveChangesTitles, std::vector<std::string>{"Untitled"});
    EXPECT_TRUE(doc.files().filePath.empty());

    ui.choose(other);  // No: open without saving
    EXPECT_TRUE(doc.files().OnFileOpen());
    EXPECT_EQ(doc.files().filePath, other);
    EXPECT_EQ(doc.files().openType, FileType::Gem);
    EXPECT_EQ(doc.files().title(), "other.gem");
}

TEST_F(DocumentFiles, NewAfterChangesSavesFirstWhenTheUserSaysYes) {
    designBrilliant();
    // Yes, then the Save As dialog is cancelled: nothing happens.
    ui.saveChangesAnswers = {Answer::Yes};
    EXPECT_FALSE(doc.files().OnFileNew());
    EXPECT_GT(doc.facetCount, 0);

    ui.saveChangesAnswers = {Answer::Yes};
    ui.choose(path("before-new.gem"));
    ASSERT_TRUE(doc.files().OnFileNew());
    EXPECT_TRUE(std::filesystem::exists(path("before-new.gem")));
    EXPECT_EQ(doc.facetCount, 0);
    EXPECT_TRUE(doc.files().registeredPath.empty());
    EXPECT_EQ(doc.files().title(), "Untitled");
    EXPECT_EQ(ui.registeredPaths, (std::vector<std::string>{path("before-new.gem"), ""}));
}

TEST_F(DocumentFiles, NonAsciiFileNamesAreOpenedAndShownInTheDesignsCodePage) {
    designBrilliant();
    const std::string file = path("Smaragd-\xC3\xBC.gem");  // UTF-8, as the file system has it
    ui.choose(file);
    ASSERT_TRUE(doc.files().OnFileSaveAs());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(doc.files().registeredPath, file);

    ui.choose(file);
    sink.script = {Answer::No};
    EXPECT_FALSE(doc.files().OnFileSaveAs());
    EXPECT_EQ(sink.texts().back(), path("Smaragd-\xFC.gem") + " already exists.\nDo you want to replace it?");
}

TEST_F(DocumentFiles, GemWithoutADotIsReadAsBinary) {
    Stone stone = makeRoundBrilliant();
    const std::string file = path("brilliantgem");
    Diagnostics notes;
    ASSERT_TRUE(writeGemFile(stone, file, notes));
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    EXPECT_EQ(doc.files().openType, FileType::Gem);
    EXPECT_EQ(doc.facetCount, stone.nFacet - stone.nRough);
}

TEST_F(DocumentFiles, FailedOpensAndFilesThatAreNoDesignKeepTheDesignAndItsName) {
    Stone& stone = designBrilliant();
    EXPECT_FALSE(doc.files().OnOpenDocument(path("missing.gem")));
    EXPECT_FALSE(doc.files().OnOpenDocument(path("model.wrl")));
    EXPECT_FALSE(doc.files().OnOpenDocument(path("notes.txt")));
    EXPECT_EQ(doc.stone(), &stone);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Cannot open " + path("missing.gem") +
                                                          " to read\nThere is no such file.",
                                                      "Don't know how to read file of type " + path("model.wrl")}));

    sink.clear();
    const std::string bad = path("bad.asc");
    std::ofstream(bad) << "not a design\n";
    EXPECT_FALSE(doc.files().OnOpenDocument(bad));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Corrupt ASC file: " + bad});
    EXPECT_EQ(doc.stone(), &stone);
    EXPECT_TRUE(doc.files().filePath.empty());
    EXPECT_EQ(doc.files().saveType, FileType::Other);
}

TEST_F(DocumentFiles, NewThenUndoBringsTheDesignBack) {
    Stone& stone = designBrilliant();
    const int facets = stone.nFacet - stone.nRough;
    doc.files().filePath = path("old.gem");
    doc.files().saveType = doc.files().openType = FileType::Gem;
    doc.pending().info.symmetry = 5;
    doc.pending().info.mirror = 0;

    ASSERT_TRUE(doc.files().OnNewDocument());
    EXPECT_EQ(doc.facetCount, 0);
    EXPECT_EQ(doc.lengthWidth, -1);
    EXPECT_EQ(doc.stone()->symmetry, 5);
    EXPECT_EQ(doc.stone()->mirror, 0);
    EXPECT_TRUE(doc.files().filePath.empty());
    EXPECT_EQ(doc.files().saveType, FileType::Other);
    EXPECT_TRUE(doc.model().isModified());  // the undo snapshot marks it

    doc.undo();
    EXPECT_EQ(doc.stone()->nFacet - doc.stone()->nRough, facets);
}

TEST_F(DocumentFiles, SaveWithoutNameOrTypeAndExportsLeaveTheDocumentAlone) {
    designBrilliant();
    EXPECT_FALSE(doc.files().OnSaveDocument(""));
    const std::string file = path("plain.gem");
    EXPECT_TRUE(doc.files().OnSaveDocument(file));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"No file name in OnSaveDocument(). Use Save As",
                                                      "Output file type undefined. Defaulting to .gem"}));
    EXPECT_EQ(doc.files().saveType, FileType::Gem);
    EXPECT_TRUE(isGemFile(*std::make_unique<std::ifstream>(file, std::ios::binary)));
}

TEST_F(DocumentFiles, ASaveThatFailsHalfWayLeavesThePreviousFileIntact) {
    designBrilliant();
    const std::string file = path("keep.gem");
    ui.choose(file);
    ASSERT_TRUE(doc.files().OnFileSaveAs());
    const std::string before = fileBytes(file);
    ASSERT_GT(before.size(), 4096u);

    doc.stone()->setHeading({"A heading that changes the bytes", "", "", ""});
    doc.model().setModifiedFlag(true);
    sink.clear();
    // The file system refuses every byte past the first 4 KiB, as a full disk would.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = doc.files().OnFileSave();
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    // The system's own reason follows: here the limit, not a full disk.
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Error writing " + file + ". Disk full?\nFile too large."});
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_EQ(doc.files().filePath, file);
    // Nothing but the target is left in the folder.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(folder_)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
}

TEST_F(DocumentFiles, StatusBarTexts) {
    EXPECT_EQ(facetCountText(doc), "No Facets");
    EXPECT_EQ(lengthWidthText(doc), "");
    EXPECT_EQ(refractiveIndexText(doc), "");

    Stone& stone = designBrilliant();
    stone.refractiveIndex = 2.417;
    const int girdles = stone.nGirdle;
    const int facets = stone.nFacet - stone.nRough;
    ASSERT_GT(girdles, 0);
    EXPECT_EQ(facetCountText(doc),
              strprintf("%d + %d girdles = %d facets\n", facets - girdles, girdles, facets));
    EXPECT_EQ(lengthWidthText(doc), "L/W=1.000");
    EXPECT_EQ(refractiveIndexText(doc), "RI=2.417");

    doc.girdleCount = 0;
    EXPECT_EQ(facetCountText(doc), strprintf("%d facets\n", facets));
    doc.facetCount = 1;
    EXPECT_EQ(facetCountText(doc), "1 Facet");
}

}  // namespace
}  // namespace brevix

namespace brevix {
namespace {

// A .gem of the brilliant that ends after its first three facet records, as
// a copy broken off does: it passes the format check and reads in part.
std::string truncatedGem(const std::string& path) {
    std::ostringstream out;
    Diagnostics notes;
    writeGem(makeRoundBrilliant(), out, notes);
    const std::string whole = out.str();
    size_t at = 0;
    for (int record = 0; record < 3; ++record) {
        at += 3 * 8 + 4;                                   // pole, tier
        at += 1 + static_cast<unsigned char>(whole[at]);  // text
        while (whole[at] == 1) at += 4 + 3 * 8;            // corners
        at += 4;                                           // ring end
    }
    const std::string bytes = whole.substr(0, at);
    std::ofstream(path, std::ios::binary) << bytes;
    return bytes;
}

TEST_F(DocumentFiles, ATextFileNamedGemIsNotOpenedSoSaveCannotReplaceIt) {
    const std::string mine = brilliantFile("mine.gem");
    ASSERT_TRUE(doc.files().openDocumentFile(mine));
    Stone* design = doc.stone();
    const std::string notes = path("notes.gem");
    std::ofstream(notes) << "Shopping list: rough, dop wax, cerium oxide\n";

    EXPECT_FALSE(doc.files().openDocumentFile(notes));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Corrupt GEM file: " + notes});
    EXPECT_EQ(doc.stone(), design);
    EXPECT_EQ(doc.files().filePath, mine);
    EXPECT_EQ(doc.files().registeredPath, mine);

    // Ctrl+S writes the design the user has to its own file, not over the notes.
    ASSERT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(fileBytes(notes), "Shopping list: rough, dop wax, cerium oxide\n");
    EXPECT_TRUE(ui.requests.empty());
}

TEST_F(DocumentFiles, AfterAnOpenThatReportedAProblemSaveProposesTheNameAndAsksBeforeReplacing) {
    const std::string file = path("cut short.gem");
    const std::string bytes = truncatedGem(file);
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text,
              "Binary file is corrupt.\n(It ends inside the list of facets.)\nCould it be a text file?");
    EXPECT_TRUE(doc.files().openReportedProblem);
    const int readFacets = doc.facetCount;
    EXPECT_EQ(readFacets, 3);
    sink.clear();

    // Save opens Save As with the file's name in it; Cancel writes nothing.
    EXPECT_FALSE(doc.files().OnFileSave());
    ASSERT_EQ(ui.requests.size(), 1u);
    EXPECT_FALSE(ui.requests[0].open);
    EXPECT_EQ(ui.requests[0].initialName, file);
    EXPECT_EQ(fileBytes(file), bytes);
    EXPECT_TRUE(sink.entries.empty());

    // Keeping the name asks before the file is replaced; No keeps it.
    ui.choose(file);
    sink.script = {Answer::No};
    EXPECT_FALSE(doc.files().OnFileSave());
    EXPECT_EQ(sink.texts(), std::vector<std::string>{file + " already exists.\nDo you want to replace it?"});
    EXPECT_EQ(fileBytes(file), bytes);
    EXPECT_TRUE(doc.files().openReportedProblem);

    // The "save changes?" question on closing takes the same way.
    doc.model().setModifiedFlag(true);
    ui.saveChangesAnswers = {Answer::Yes};
    EXPECT_FALSE(doc.files().SaveModified());  // the Save As dialog was cancelled
    EXPECT_EQ(ui.requests.back().initialName, file);
    EXPECT_EQ(fileBytes(file), bytes);

    // Yes replaces it, and from then on Save writes straight to the file.
    ui.choose(file);
    sink.script = {Answer::Yes};
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_NE(fileBytes(file), bytes);
    EXPECT_FALSE(doc.files().openReportedProblem);
    const size_t dialogs = ui.requests.size();
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(ui.requests.size(), dialogs);
    EXPECT_EQ(doc.facetCount, readFacets);
}

TEST_F(DocumentFiles, AnotherNameAfterAProblemOpenSavesThereAndLeavesTheFileAlone) {
    const std::string file = path("short.gem");
    const std::string bytes = truncatedGem(file);
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    const std::string elsewhere = path("rescued.asc");
    ui.choose(elsewhere);
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(fileBytes(file), bytes);
    EXPECT_TRUE(isAscFile(*std::make_unique<std::ifstream>(elsewhere, std::ios::binary)));
    EXPECT_EQ(doc.files().filePath, elsewhere);
    EXPECT_FALSE(doc.files().openReportedProblem);
}

TEST_F(DocumentFiles, OnlyWarningsCountAsProblemsNotThePreformNotice) {
    // A text design with a record the reader skips.
    const std::string skipped = path("skipped.asc");
    std::ofstream(skipped) << "Brevix 5.0\ng 96 0.0\na 90 1.1 12 24 36 48 60 72 84 96\nG\n";
    ASSERT_TRUE(doc.files().openDocumentFile(skipped));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"G but no cutting instructions"});
    EXPECT_TRUE(doc.files().openReportedProblem);

    // A design with a preform says so, as information: Save goes straight on.
    Stone withPreform = makeRoundBrilliant();
    withPreform.setPreform(std::make_unique<Stone>(makeRoundBrilliant()));
    const std::string file = path("preform.gem");
    Diagnostics notes;
    ASSERT_TRUE(writeGemFile(withPreform, file, notes));
    sink.clear();
    ASSERT_TRUE(doc.files().openDocumentFile(file));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"File has a preform"});
    EXPECT_FALSE(doc.files().openReportedProblem);
    const size_t dialogs = ui.requests.size();
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(ui.requests.size(), dialogs);

    // A new design starts clean.
    ASSERT_TRUE(doc.files().openDocumentFile(skipped));
    EXPECT_TRUE(doc.files().OnNewDocument());
    EXPECT_FALSE(doc.files().openReportedProblem);
}

}  // namespace
}  // namespace brevix
