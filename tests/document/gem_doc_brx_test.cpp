// The window's document and .brx files: the intent comes in with the design,
// goes out byte for byte, and the old formats stay as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/sample_designs.h"
#include "document/design_io.h"
#include "document/document_messages.h"
#include "document/gem_doc.h"
#include "files/asc_format.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "platform/messages.h"
#include "scripted_ui.h"
#include "settings_fixture.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::fileBytes;

const std::string MEETS = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant_meets.brx";

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

IntentFileRead readText(const std::string& text) {
    return readIntentText(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

class DocumentBrx : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        doc.files().ui = &ui;
    }
    bool open(const std::string& file) {
        ui.choose(file);
        return doc.files().OnFileOpen();
    }
    bool saveAs(const std::string& file, int filterIndex = 1) {
        ui.choose(file, filterIndex);
        return doc.files().OnFileSaveAs();
    }
    int intentNotes() const {
        int n = 0;
        for (const std::string& text : sink.texts()) n += text == docmsg::INTENT_NOT_STORED;
        return n;
    }

    RecordingSink sink;
    ScopedMessageSink guard{sink};
    ScriptedUi ui;
    CGemDoc doc{&sink};
};

TEST_F(DocumentBrx, OpeningABrxFileBringsTheRecordedIntentAndSavingWritesItByteForByte) {
    const std::string original = fileBytes(MEETS);
    const IntentFileRead expected = readText(original);
    ASSERT_TRUE(expected.problem.empty()) << expected.problem;
    // The sample's intent says more than its planes alone would give, so
    // an intent inferred on opening would show here.
    ASSERT_NE(writeIntentText(expected.stone, intentOf(expected.stone, nullptr)), original);

    ASSERT_TRUE(open(MEETS)) << ::testing::PrintToString(sink.texts());
    EXPECT_EQ(doc.files().openType, FileType::Brx);
    EXPECT_EQ(doc.files().saveType, FileType::Brx);
    ASSERT_TRUE(doc.model().recordedIntent().has_value());
    EXPECT_EQ(writeIntentText(*doc.stone(), doc.model().intent()), original);
    EXPECT_FALSE(doc.files().openReportedProblem);

    // Save As by the third filter appends .brx; the bytes are the command
    // line's (the same writer over the same read) and the file's own.
    ASSERT_TRUE(saveAs(path("again"), 3));
    EXPECT_EQ(doc.files().filePath, path("again.brx"));
    EXPECT_EQ(fileBytes(path("again.brx")), original);
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(intentNotes(), 0);

    // Save writes the intent as it stands after a change, not the file's.
    int32_t p1 = -1;  // a pavilion main, at 40.75 degrees in the sample
    for (int32_t f = doc.stone()->nRough; f < doc.stone()->nFacet && p1 < 0; ++f)
        if (std::fabs(std::fabs(doc.stone()->facetAngleOf(f)) - 40.75) < 1e-6) p1 = f;
    ASSERT_GE(p1, 0);
    ASSERT_TRUE(doc.recutTierAngle(p1, 41.5));
    const std::string changed = writeIntentText(*doc.stone(), doc.model().intent());
    ASSERT_NE(changed, original);
    ASSERT_TRUE(doc.files().OnFileSave());
    EXPECT_EQ(fileBytes(path("again.brx")), changed);
}

TEST_F(DocumentBrx, AscThroughBrxAndBackGivesTheOriginalBytes) {
    const std::string asc = path("brilliant.asc");
    Diagnostics notes;
    ASSERT_TRUE(writeAscFile(makeRoundBrilliant(), asc, notes));
    const std::string original = fileBytes(asc);

    ASSERT_TRUE(open(asc));
    EXPECT_FALSE(doc.model().recordedIntent().has_value());  // inferred when asked for
    ASSERT_TRUE(saveAs(path("brilliant.brx")));
    const std::string brx = fileBytes(path("brilliant.brx"));
    ASSERT_EQ(brx.rfind(intentFileHeader(), 0), 0u);

    CGemDoc other{&sink};
    other.files().ui = &ui;
    ui.choose(path("brilliant.brx"));
    ASSERT_TRUE(other.files().OnFileOpen());
    ui.choose(path("back.asc"));
    ASSERT_TRUE(other.files().OnFileSaveAs());
    EXPECT_EQ(fileBytes(path("back.asc")), original);
    // An intent the planes give by themselves is not lost in .asc: no note.
    EXPECT_EQ(intentNotes(), 0);
}

TEST_F(DocumentBrx, SaveAsGemOrAscSaysOnceADesignThatTheIntentIsNotKept) {
    ASSERT_TRUE(open(MEETS));
    ASSERT_TRUE(saveAs(path("a.gem")));
    EXPECT_EQ(intentNotes(), 1);
    // Saving as .gem re-opens the file: the design now has the inferred
    // intent, and nothing more is lost by another save.
    ASSERT_TRUE(saveAs(path("b.asc"), 2));
    EXPECT_EQ(intentNotes(), 1);

    // Another design with a recorded intent hears it again, once.
    ASSERT_TRUE(open(MEETS));
    ASSERT_TRUE(saveAs(path("c.asc"), 2));
    EXPECT_EQ(intentNotes(), 2);
    EXPECT_EQ(fileBytes(path("c.asc")), fileBytes(path("b.asc")));
}

TEST_F(DocumentBrx, BadBrxFilesAreRefusedOrReportedAndTheDesignInHandStays) {
    ASSERT_TRUE(open(MEETS));
    const int facets = doc.stone()->nFacet;

    // Not an intent file at all.
    writeBytes(path("other.brx"), "Brevix 5.0\n");
    sink.clear();
    EXPECT_FALSE(open(path("other.brx")));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{path("other.brx") + ": Not a Brevix intent file"});
    EXPECT_EQ(doc.stone()->nFacet, facets);

    // A folder and a pipe named like one.
    std::filesystem::create_directory(path("folder.brx"));
    sink.clear();
    EXPECT_FALSE(open(path("folder.brx")));
    ASSERT_EQ(sink.texts().size(), 1u);
    EXPECT_EQ(sink.texts()[0], "Cannot open " + path("folder.brx") + " to read\nIt is a folder, not a file.");
    ASSERT_EQ(::mkfifo(path("pipe.brx").c_str(), 0600), 0);
    EXPECT_FALSE(open(path("pipe.brx")));
    EXPECT_EQ(doc.stone()->nFacet, facets);

    // Reading stops at a bad line: the tiers before it are the design, the
    // cutter is told, and Save goes through Save As.
    const std::string whole = fileBytes(MEETS);
    const size_t firstTier = whole.find("\ntier ");
    const size_t secondTier = whole.find("\ntier ", firstTier + 1);
    ASSERT_NE(secondTier, std::string::npos);
    writeBytes(path("cut.brx"), whole.substr(0, secondTier) + "\ntier nonsense\n");
    sink.clear();
    ASSERT_TRUE(open(path("cut.brx")));
    ASSERT_EQ(sink.texts().size(), 1u);
    EXPECT_EQ(sink.texts()[0].rfind(path("cut.brx") + ": Reading stopped at line", 0), 0u) << sink.texts()[0];
    EXPECT_TRUE(doc.files().openReportedProblem);
    ASSERT_TRUE(doc.model().recordedIntent().has_value());
    EXPECT_EQ(doc.model().recordedIntent()->tiers.size(), 1u);
    ui.choose(path("cut.brx"));
    sink.script.push_back(Answer::No);  // "already exists, replace?"
    EXPECT_FALSE(doc.files().OnFileSave());
    EXPECT_EQ(ui.requests.back().initialName, path("cut.brx"));
}

TEST_F(DocumentBrx, ReadingABrxFileReportsItsProgressAndCanBeCancelled) {
    uint64_t heard = 0;
    DesignRead read = readDesignFile(MEETS, FileType::Brx, 8, 1, [&](uint64_t done, uint64_t total) {
        heard = done;
        EXPECT_EQ(total, std::filesystem::file_size(MEETS));
        return true;
    });
    ASSERT_EQ(read.outcome, ReadOutcome::Read);
    EXPECT_EQ(heard, std::filesystem::file_size(MEETS));
    EXPECT_TRUE(read.intent.has_value());
    read = readDesignFile(MEETS, FileType::Brx, 8, 1, [](uint64_t, uint64_t) { return false; });
    EXPECT_EQ(read.outcome, ReadOutcome::Cancelled);
    EXPECT_EQ(read.stone, nullptr);
}

}  // namespace
}  // namespace brevix
