// Progress stored beside the design and read back, exactly; a design changed
// afterwards keeps the progress of its unchanged facets and names the rest.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assistant/assistant_session.h"
#include "assistant/cutting_progress.h"
#include "files/asc_format.h"

namespace brevix {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<Stone> readDesign(const std::string& text) {
    auto stone = std::make_unique<Stone>();
    std::istringstream in(text);
    readAsc(*stone, in);
    return stone;
}

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        path = std::filesystem::temp_directory_path() /
               ("brevix-progress-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

const std::string kBrilliant = readAll(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc");

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(CuttingProgress, StoredAndReadBackExactly) {
    TempFolder folder;
    auto stone = readDesign(kBrilliant);
    AssistantSession session;
    session.start(*stone, false, {});
    for (int k = 0; k < 20; ++k) session.markAndNext();

    const std::string design = (folder.path / "round.asc").string();
    const std::string path = progressPathFor(design);
    EXPECT_EQ(path, design + ".progress");
    ASSERT_EQ(saveProgress(path, session.progress()), "");
    const std::string bytes = readAll(path);
    EXPECT_EQ(bytes.rfind("Brevix cutting progress 1\ncut\t", 0), 0u);

    const ProgressReadResult back = loadProgress(path);
    EXPECT_EQ(back.error, "");
    ASSERT_EQ(back.progress.cut.size(), 20u);
    EXPECT_EQ(writeProgressText(back.progress), bytes);  // byte for byte
    EXPECT_EQ(back.progress.cut[16].name, "P1");
    EXPECT_EQ(back.progress.cut[16].angle, "40.75");
    EXPECT_EQ(back.progress.cut[16].index, "96");

    // The next day: the same design read again continues at facet 21.
    auto again = readDesign(kBrilliant);
    AssistantSession next;
    EXPECT_TRUE(next.start(*again, false, back.progress).empty());
    EXPECT_EQ(next.current(), 20);
    EXPECT_EQ(next.cutCount(), 20);

    // Start over leaves no file behind.
    next.startOver();
    ASSERT_EQ(saveProgress(path, next.progress()), "");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(loadProgress(path).error, "");  // no file: no progress, no error
}

TEST(CuttingProgress, ChangedDesignKeepsUnchangedFacets) {
    auto stone = readDesign(kBrilliant);
    AssistantSession session;
    session.start(*stone, false, {});
    for (int k = 0; k < 40; ++k) session.markAndNext();  // the whole pavilion
    ASSERT_EQ(session.cutCount(), 40);
    const CuttingProgress stored = session.progress();

    // P2 re-cut at another angle, P1 removed, a crown tier added: the girdle
    // keeps its progress, P1 and P2 are reset by name, angle and index.
    std::string changed = replaced(kBrilliant, "a -42.000000 0.76824995", "a -41.500000 0.76824995");
    const size_t p1 = changed.find("a -40.750000");
    changed.erase(p1, changed.find("a -41.5") - p1);
    changed = replaced(changed, "a 0.000000 0.35555556",
                       "a 45.000000 0.80000000 48 n X G Extra\na 0.000000 0.35555556");
    auto edited = readDesign(changed);
    AssistantSession later;
    const std::vector<CutFacet> reset = later.start(*edited, false, stored);
    EXPECT_EQ(reset.size(), 24u);
    EXPECT_EQ(later.cutCount(), 16);
    const std::string report = resetReport(reset);
    EXPECT_NE(report.find("P1 40.75\xB0 index 96\n"), std::string::npos) << report;
    EXPECT_NE(report.find("P2 42.00\xB0 index 03\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("G 90.00"), std::string::npos);
    // The cutter goes on at the first facet of the re-cut P2.
    EXPECT_EQ(later.currentStep()->tierName, "P2");
    EXPECT_DOUBLE_EQ(later.currentStep()->angle, 41.5);

    // The same change while the assistant is open, on the same session.
    const std::vector<CutFacet> live = session.designChanged(*edited);
    EXPECT_EQ(live.size(), 24u);
    EXPECT_EQ(session.cutCount(), 16);
}

TEST(CuttingProgress, BadFilesAreRefusedClearly) {
    EXPECT_EQ(readProgressText("").error, "Not a cutting progress file.");
    EXPECT_EQ(readProgressText("Brevix 5.0\n").error, "Not a cutting progress file.");
    const ProgressReadResult partial = readProgressText(
        "Brevix cutting progress 1\ncut\t0\t0\t1\t0.5\t0.00\tTable\tT\ncut\t0\tx\t1\t0.5\t0\t1\tT\n"
        "cut\t0\t0\t-1\t0.5\t0.00\tCulet\tC\n");
    EXPECT_EQ(partial.error, "Cutting progress: line 3 cannot be read.");
    ASSERT_EQ(partial.progress.cut.size(), 2u);  // what came before and after stays
    EXPECT_EQ(partial.progress.cut[1].name, "C");
    EXPECT_NE(readProgressText("Brevix cutting progress 1\ncut\tnan\t0\t1\t0.5\t0\t1\tT\n").error, "");
    // Control characters in a name cannot break the lines.
    CuttingProgress p;
    p.cut.push_back({0, 0, 1, 0.5, "T\tab\nle", "0.00", "Table"});
    const ProgressReadResult r = readProgressText(writeProgressText(p));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.progress.cut.size(), 1u);
    EXPECT_EQ(r.progress.cut[0].name, "T ab le");
}

// Two windows on one design, each marking and unmarking: every save keeps
// what the other window stored, and an unmark takes out only its own facet.
TEST(CuttingProgress, TwoWindowsOnOneDesignKeepEachOthersWork) {
    TempFolder folder;
    const std::string path = progressPathFor((folder.path / "round.asc").string());
    auto stone = readDesign(kBrilliant);
    AssistantSession first, second;
    CuttingProgress firstFile, secondFile;  // the file as each window last saw it
    first.start(*stone, false, {});
    second.start(*stone, false, {});
    const auto save = [&](AssistantSession& session, CuttingProgress& seen) {
        ProgressSaveResult saved = saveProgressMerged(path, seen, session.progress());
        ASSERT_EQ(saved.error, "");
        seen = saved.saved;
        session.adoptProgress(std::move(saved.saved));
    };
    for (int k = 0; k < 5; ++k) first.markAndNext();
    save(first, firstFile);
    ASSERT_TRUE(second.goToFacet(second.plan().steps[10].facets[0]));
    for (int k = 0; k < 3; ++k) second.markAndNext();
    save(second, secondFile);
    EXPECT_EQ(loadProgress(path).progress.cut.size(), 8u);
    EXPECT_EQ(second.cutCount(), 8);  // the first window's marks show in the second

    first.back();  // the fifth facet is not cut after all
    save(first, firstFile);
    const ProgressReadResult now = loadProgress(path);
    EXPECT_EQ(now.progress.cut.size(), 7u);
    EXPECT_EQ(findCut(now.progress, *stone, first.plan().steps[4].facets[0]), -1);
    EXPECT_GE(findCut(now.progress, *stone, second.plan().steps[12].facets[0]), 0);

    // The merge on its own: theirs kept, ours added, our unmark applied once.
    CuttingProgress base, ours, theirs;
    base.cut = {{0, 0, 1, 1, "A", "", ""}, {0, 0, 1, 2, "B", "", ""}};
    ours.cut = {{0, 0, 1, 1, "A", "", ""}, {0, 0, 1, 3, "C", "", ""}};
    theirs.cut = {{0, 0, 1, 2, "B", "", ""}, {0, 0, 1, 4, "D", "", ""}, {0, 0, 1, 1, "A", "", ""}};
    std::string names;
    for (const CutFacet& f : mergeProgress(base, ours, theirs).cut) names += f.name;
    EXPECT_EQ(names, "DAC");
}

// A damaged line costs only itself: the records after it are read, and the
// next save keeps them.
TEST(CuttingProgress, ADamagedLineKeepsTheRecordsAfterIt) {
    TempFolder folder;
    const std::string path = (folder.path / "d.asc.progress").string();
    auto stone = readDesign(kBrilliant);
    AssistantSession session;
    session.start(*stone, false, {});
    for (int k = 0; k < 5; ++k) session.markAndNext();
    std::string text = writeProgressText(session.progress());
    const size_t line3 = text.find('\n', text.find('\n', text.find('\n') + 1) + 1);
    text.insert(line3 + 1, "cut\tbroken\n");
    std::ofstream(path, std::ios::binary) << text;

    const ProgressReadResult read = loadProgress(path);
    EXPECT_EQ(read.error, path + ": Cutting progress: line 4 cannot be read.");
    EXPECT_FALSE(read.leaveAlone);
    ASSERT_EQ(read.progress.cut.size(), 5u);
    AssistantSession again;
    again.start(*stone, false, read.progress);
    again.markAndNext();
    const ProgressSaveResult saved = saveProgressMerged(path, read.progress, again.progress());
    EXPECT_EQ(saved.error, "");
    EXPECT_EQ(loadProgress(path).progress.cut.size(), 6u);
}

// What is not a progress file is neither waited on, nor read without end,
// nor written over.
TEST(CuttingProgress, WhatIsNoProgressFileIsLeftAlone) {
    TempFolder folder;
    CuttingProgress one;
    one.cut.push_back({0, 0, 1, 0.5, "T", "0.00", "Table"});

    const std::string fifo = (folder.path / "pipe.asc.progress").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folderInPlace = (folder.path / "folder.asc.progress").string();
    std::filesystem::create_directory(folderInPlace);
    const std::string endless = (folder.path / "zero.asc.progress").string();
    std::filesystem::create_symlink("/dev/zero", endless);
    const std::string foreign = (folder.path / "notes.asc.progress").string();
    std::ofstream(foreign, std::ios::binary) << "my own notes\n";

    for (const std::string& path : {fifo, folderInPlace, endless, foreign}) {
        SCOPED_TRACE(path);
        const ProgressReadResult read = loadProgress(path);
        EXPECT_TRUE(read.leaveAlone);
        EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
        const ProgressSaveResult saved = saveProgressMerged(path, {}, one);
        EXPECT_NE(saved.error, "");
        if (path != foreign) {
            EXPECT_NE(saveProgress(path, {}), "");  // not removed either
        }
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_directory(folderInPlace));
    EXPECT_TRUE(std::filesystem::is_symlink(endless));
    EXPECT_EQ(readAll(foreign), "my own notes\n");
}

}  // namespace
}  // namespace brevix
