// Opening a design from the Datavue database: the document takes the
// extracted text as a text design under the member's name, asks about
// unsaved changes first, and keeps its design when there is nothing to open.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/datavue_open.h"
#include "document/gem_doc.h"
#include "files/datavue_members.h"
#include "platform/messages.h"
#include "scripted_ui.h"
#include "settings_fixture.h"
#include "support/datavue_database.h"

namespace brevix {
namespace {

class DatavueOpen : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        testdb::writeSampleDatabase(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        doc.files().ui = &ui;
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        TempFolderTest::TearDown();
    }
    DatavueDialogRunner opening(const std::string& reference, const std::string& code) {
        return [this, reference, code] {
            DatavueDialogResult result;
            result.opened = true;
            Diagnostics notes;
            result.design = extractDesignText(folder_.string() + "/", reference, code, notes);
            showAll(notes, sink);
            if (result.design) extractedPath = result.design->path();
            return result;
        };
    }

    RecordingSink sink;
    ScopedMessageSink guard{sink};
    ScriptedUi ui;
    CGemDoc doc{&sink};
    std::string extractedPath;
    std::filesystem::path previous_;
};

TEST_F(DatavueOpen, TheDesignOpensAsATextDesignUnderItsMemberName) {
    doc.ensureStone();
    doc.model().setModifiedFlag(true);
    ui.saveChangesAnswers.push_back(Answer::No);
    ASSERT_TRUE(OnSearchDatavue(doc, opening("BM0512.BMP", "01.002")));
    EXPECT_EQ(ui.saveChangesTitles, std::vector<std::string>{"Untitled"});

    const Stone expected = makeRoundBrilliant();
    ASSERT_TRUE(doc.stone());
    EXPECT_EQ(doc.stone()->nFacet - doc.stone()->nRough, expected.nFacet - expected.nRough);
    EXPECT_EQ(doc.facetCount, expected.nFacet - expected.nRough);
    EXPECT_EQ(doc.pending().info.symmetry, doc.stone()->symmetry);
    const std::string path = (std::filesystem::current_path() / "PC0512.ASC").string();
    EXPECT_EQ(doc.files().filePath, path);
    EXPECT_EQ(doc.files().title(), "PC0512.ASC");
    EXPECT_EQ(ui.registeredPaths, std::vector<std::string>{path});
    EXPECT_EQ(doc.files().saveType, FileType::Asc);
    EXPECT_FALSE(doc.model().isModified());
    // The extracted copy is gone, and nothing was left in the current folder.
    EXPECT_FALSE(std::filesystem::exists(extractedPath));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(sink.texts().empty());

    // Save writes the design under that name as text.
    EXPECT_TRUE(doc.files().OnFileSave());
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(DatavueOpen, CancelNoDesignAndCancelledSaveKeepTheDesign) {
    Stone& mine = doc.ensureStone();
    const Stone* before = &mine;
    EXPECT_FALSE(OnSearchDatavue(doc, [] { return DatavueDialogResult{}; }));
    EXPECT_TRUE(sink.texts().empty());

    EXPECT_FALSE(OnSearchDatavue(doc, opening("BM0599.BMP", "01.002")));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"No such design."});
    EXPECT_EQ(doc.stone(), before);

    doc.model().setModifiedFlag(true);
    ui.saveChangesAnswers.push_back(Answer::Cancel);
    sink.clear();
    EXPECT_FALSE(OnSearchDatavue(doc, opening("BM0512.BMP", "01.002")));
    EXPECT_EQ(doc.stone(), before);
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_TRUE(sink.texts().empty());
    EXPECT_FALSE(std::filesystem::exists(extractedPath));
}

}  // namespace
}  // namespace brevix
