// A collection as a hostile folder makes it: files that fail when read,
// pipes and folders where files belong, links that branch and join again,
// damaged database indexes, half-written cache entries of killed writers,
// huge files keyed for the cache, and more jobs than memory. None of them
// may stop, hang or crash the scan; each is that entry's error alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>

#include "collection/batch_run.h"
#include "collection/collection_scan.h"
#include "collection/design_files.h"
#include "collection/design_read.h"
#include "collection/score_cache.h"
#include "collection/score_entry.h"
#include "collection/worker_pool.h"
#include "files/thumbnail.h"
#include "support/datavue_database.h"
#include "support/generated_designs.h"
#include "support/test_files.h"
#include "small_settings.h"

namespace brevix::collection {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::writeFile;

// Only a bound for a regression that blocks: a working scan returns at once.
constexpr auto HANG_BOUND = std::chrono::seconds(60);

void writeDesign(const fs::path& path, int variant = 1) {
    Diagnostics notes;
    ASSERT_TRUE(writeAscFile(testing::generatedBrilliant(variant), path.string(), notes));
}

// A pipe whose reader, should one wait in open, is let go (by a writer that
// comes and goes) before the test ends, so that a regression fails instead
// of hanging.
class PipeGuard {
public:
    explicit PipeGuard(fs::path path) : path_(std::move(path)) { ok_ = ::mkfifo(path_.c_str(), 0600) == 0; }
    ~PipeGuard() { release(); }
    bool ok() const { return ok_; }
    void release() const {
        // Succeeds only while a reader waits; its close then ends that read.
        for (int i = 0; i < 100; ++i) {
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) break;
            ::close(fd);
        }
    }

private:
    fs::path path_;
    bool ok_ = false;
};

// Runs `work` on a thread of its own; false when it did not return within
// the bound (the guard then lets it go).
template <class Work>
bool returnsWithoutWaiting(Work work, const PipeGuard& guard) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(HANG_BOUND) == std::future_status::ready) return true;
    guard.release();
    done.wait();
    return false;
}

// ---- read errors (C1) --------------------------------------------------------

TEST(ReadErrors, AFileThatFailsWhenReadIsItsEntrysErrorWithTheCacheOnOrOff) {
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem to fail a read";
    TempFolder t;
    fs::create_symlink("/proc/self/mem", t.path() / "mem.asc");
    writeDesign(t.path() / "ok.asc");
    const auto found = findDesigns({t.path().string()});
    ASSERT_EQ(found.entries.size(), 2u);
    for (const std::string& cacheFolder : {(t.path() / "cache").string(), std::string()}) {
        BatchOptions options;
        options.light = smallSettings();
        options.jobs = 2;
        std::vector<DesignFigures> lines;
        const BatchTally tally = runBatch(found.entries, options, ScoreCache(cacheFolder),
                                          [&](const DesignFigures& f) { lines.push_back(f); });
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(tally.failed, 1u);
        EXPECT_FALSE(lines[0].ok());
        EXPECT_FALSE(lines[0].error.empty());
        EXPECT_TRUE(lines[1].ok()) << lines[1].error;
    }
    std::string bytes;
    Diagnostics notes;
    EXPECT_FALSE(entryBytes(found.entries[0], bytes, notes));
    EXPECT_EQ(entryKey(found.entries[0], "s"), "");
}

TEST(ReadErrors, ADesignReplacedByAFolderAfterTheSearchIsAnErrorLine) {
    TempFolder t;
    writeDesign(t.path() / "a.asc");
    writeDesign(t.path() / "b.asc", 2);
    const auto found = findDesigns({t.path().string()});
    ASSERT_EQ(found.entries.size(), 2u);
    fs::remove(t.path() / "a.asc");
    fs::create_directory(t.path() / "a.asc");
    const ScoreCache cache((t.path() / "cache").string());
    const DesignFigures gone = scoreEntry(found.entries[0], smallSettings(), cache);
    EXPECT_FALSE(gone.ok());
    EXPECT_FALSE(gone.error.empty());
    EXPECT_FALSE(readFacts(found.entries[0]).ok());
    EXPECT_TRUE(scoreEntry(found.entries[1], smallSettings(), cache).ok());
}

TEST(ReadErrors, AThumbnailThatIsAFolderOrAPipeFallsBackToTheDesignAtOnce) {
    TempFolder t;
    writeDesign(t.path() / "folder.asc");
    writeDesign(t.path() / "pipe.asc");
    fs::create_directory(t.path() / "folder.thb");
    PipeGuard pipe(t.path() / "pipe.thb");
    ASSERT_TRUE(pipe.ok());
    for (const char* name : {"folder.asc", "pipe.asc"}) {
        const DesignEntry entry = fileEntry((t.path() / name).string());
        auto own = std::make_unique<Stone>(testing::generatedBrilliant(1));
        const Stone* ownAddress = own.get();
        const Stone* shown = nullptr;
        EXPECT_TRUE(returnsWithoutWaiting([&] { shown = tileStone(entry, std::move(own)).release(); }, pipe)) << name;
        EXPECT_EQ(shown, ownAddress) << name;
        delete shown;
    }
}

TEST(ReadErrors, AScanOverAPipeNamedLikeAThumbnailFinishesAndCanBeDropped) {
    TempFolder t;
    writeDesign(t.path() / "ok.asc");
    PipeGuard pipe(t.path() / "ok.thb");
    ASSERT_TRUE(pipe.ok());
    std::atomic<int> facts{0};
    std::atomic<bool> finished{false};
    const bool returned = returnsWithoutWaiting(
        [&] {
            CollectionScan::Callbacks callbacks;
            callbacks.facts = [&](size_t, DesignFigures f, std::shared_ptr<Stone> stone) {
                facts += f.ok() && stone ? 1 : 0;
            };
            callbacks.finished = [&] { finished = true; };
            CollectionScan scan(std::vector<std::string>{t.path().string()}, smallSettings(),
                                (t.path() / "cache").string(), std::move(callbacks));
            while (!scan.done()) std::this_thread::yield();
        },
        pipe);
    EXPECT_TRUE(returned);
    EXPECT_EQ(facts.load(), 1);
    EXPECT_TRUE(finished.load());
}

// ---- links that branch and join (H3) -----------------------------------------

TEST(LinkMazes, EachRealFileAndFolderIsVisitedOnceHoweverManyWaysLeadToIt) {
    TempFolder t;
    // level0/{a,b} -> level1, level1/{a,b} -> level2, ...: 2^LEVELS ways to
    // the design at the bottom.
    constexpr int LEVELS = 14;
    for (int i = 0; i <= LEVELS; ++i) fs::create_directory(t.path() / ("level" + std::to_string(i)));
    for (int i = 0; i < LEVELS; ++i)
        for (const char* name : {"a", "b"})
            fs::create_directory_symlink("../level" + std::to_string(i + 1),
                                         t.path() / ("level" + std::to_string(i)) / name);
    writeFile(t.path() / ("level" + std::to_string(LEVELS)) / "deep.asc", "x");
    // And a file under two names (a hard link) is one design too.
    writeFile(t.path() / "level0" / "one.asc", "x");
    fs::create_hard_link(t.path() / "level0" / "one.asc", t.path() / "level0" / "same.asc");

    const auto found = findDesigns({(t.path() / "level0").string()});
    std::vector<std::string> names;
    for (const DesignEntry& e : found.entries) {
        EXPECT_TRUE(e.problem.empty()) << e.path << ": " << e.problem;
        names.push_back(fs::path(e.path).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"deep.asc", "one.asc"}));
}

// ---- damaged database indexes (W3) -------------------------------------------

TEST(DamagedDatabases, AnIndexThatFailsWhenReadIsItsOwnErrorAndTheDesignsBesideItAreFound) {
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem to fail a read";
    TempFolder t;
    fs::create_directories(t.path() / "db");
    fs::create_directories(t.path() / "zz");
    fs::create_symlink("/proc/self/mem", t.path() / "db" / "dlist.dbf");
    writeDesign(t.path() / "zz" / "good.asc");
    const auto found = findDesigns({t.path().string()});
    ASSERT_EQ(found.entries.size(), 2u);
    EXPECT_EQ(found.entries[0].path, (t.path() / "db" / "dlist.dbf").string());
    EXPECT_FALSE(found.entries[0].problem.empty());
    EXPECT_TRUE(found.entries[1].problem.empty());
    EXPECT_TRUE(scoreEntry(found.entries[1], smallSettings(), ScoreCache("")).ok());
}

// ---- the cache ---------------------------------------------------------------

TEST(CacheKeys, AFileIsKeyedInAStreamAsItsWholeBytesWouldBe) {
    TempFolder t;
    // Longer than one piece of the stream, and not a multiple of it.
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7 + i / 251));
    writeFile(t.path() / "big.asc", bytes);
    EXPECT_EQ(entryKey(fileEntry((t.path() / "big.asc").string()), "settings"), ScoreCache::key(bytes, "settings"));
    KeyBuilder pieces("settings");
    pieces.add(std::string_view(bytes).substr(0, 3));
    pieces.add(std::string_view(bytes).substr(3));
    EXPECT_EQ(pieces.key(), ScoreCache::key(bytes, "settings"));
    EXPECT_EQ(entryKey(fileEntry((t.path() / "missing.asc").string()), "settings"), "");
}

// A process id that is certainly gone: a child that has ended and been reaped.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(CacheTemporaries, ThoseOfEndedOrLongGoneWritersAreRemovedWhenABatchOpensTheCache) {
    TempFolder t;
    const fs::path shard = t.path() / "cache" / "ab";
    fs::create_directories(shard);
    const std::string key = "ab" + std::string(30, '0') + "-10";
    const fs::path ended = shard / (key + ".json.tmp" + std::to_string(endedProcess()) + "-140230");
    const fs::path live = shard / (key + ".json.tmp" + std::to_string(::getpid()) + "-140231");
    const fs::path stale = shard / (key + ".json.tmp" + std::to_string(::getpid()) + "-140232");
    const fs::path entry = shard / (key + ".json");
    const fs::path foreign = shard / "notes.json.tmp";
    for (const fs::path& p : {ended, live, stale, entry, foreign}) writeFile(p, "{");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(2));

    BatchOptions options;
    options.light = smallSettings();
    runBatch({}, options, ScoreCache((t.path() / "cache").string()), [](const DesignFigures&) {});
    std::set<std::string> left;
    for (const auto& p : fs::directory_iterator(shard)) left.insert(p.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{live.filename().string(), entry.filename().string(),
                                           foreign.filename().string()}));
}

// ---- memory (H5) -------------------------------------------------------------

TEST(Jobs, AreCappedByTheMemoryEachTakesAsWellAsAskedFor) {
    EXPECT_EQ(jobsWithinMemory(8, 0, 100), 8);     // unknown: no cap
    EXPECT_EQ(jobsWithinMemory(8, 350, 100), 3);
    EXPECT_EQ(jobsWithinMemory(8, 50, 100), 1);    // one always runs
    EXPECT_EQ(jobsWithinMemory(2, 1000, 100), 2);
    EXPECT_GT(jobMemory(4096), 200ull << 20);
    EXPECT_LT(jobMemory(128), 32ull << 20);

    TempFolder t;
    testing::writeGeneratedDesigns(t.path(), 4);
    const auto found = findDesigns({t.path().string()});
    BatchOptions options;
    options.light = smallSettings();
    options.light.options.size = 4096;
    options.jobs = 1024;
    options.memory = 3 * jobMemory(4096);
    std::atomic<bool> cancel{true};  // nothing scored: only the jobs decided
    options.cancel = &cancel;
    const BatchTally tally = runBatch(found.entries, options, ScoreCache(""), [](const DesignFigures&) {});
    EXPECT_EQ(tally.jobs, 3);
}

}  // namespace
}  // namespace brevix::collection
