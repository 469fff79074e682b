// The collection's own parts: finding designs below folders (with the link
// loops, unreadable entries and foreign files a real folder holds), the
// shards of the list, the cache keyed by the design's bytes, the order the
// pool hands results back in, and the lines a batch writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "collection/batch_output.h"
#include "collection/batch_run.h"
#include "collection/collection_scan.h"
#include "collection/design_files.h"
#include "collection/score_cache.h"
#include "collection/score_entry.h"
#include "collection/shard.h"
#include "collection/worker_pool.h"
#include "files/thumbnail.h"
#include "optics/materials.h"
#include "platform/strformat.h"
#include "support/datavue_database.h"
#include "support/generated_designs.h"
#include "support/test_files.h"
#include "small_settings.h"

namespace brevix::collection {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::writeFile;

std::vector<std::string> ids(const FoundDesigns& found) {
    std::vector<std::string> out;
    for (const DesignEntry& e : found.entries) out.push_back(e.id());
    return out;
}

// ---- finding designs ------------------------------------------------------

TEST(FindDesigns, CollectsDesignsBelowFoldersSortedOnceEach) {
    TempFolder t;
    fs::create_directories(t.path() / "b" / "deeper");
    fs::create_directories(t.path() / "a");
    writeFile(t.path() / "b" / "deeper" / "z.gem", "x");
    writeFile(t.path() / "b" / "one.ASC", "x");
    writeFile(t.path() / "a" / "two.asc", "x");
    writeFile(t.path() / "a" / "three.brx", "x");
    writeFile(t.path() / "a" / "notes.txt", "x");
    writeFile(t.path() / "a" / "xgem", "x");  // no extension proper
    writeFile(t.path() / "a" / "pic.thb", "x");
    // The same folder given twice, and a file of it by name: one entry each.
    const auto found = findDesigns({(t.path() / "b").string(), t.path().string(), (t.path() / "a" / "two.asc").string()});
    const std::string root = t.path().string();
    EXPECT_EQ(ids(found), (std::vector<std::string>{root + "/a/three.brx", root + "/a/two.asc", root + "/b/deeper/z.gem",
                                                    root + "/b/one.ASC"}));
}

TEST(FindDesigns, LinkLoopsBrokenLinksAndPipesGetAProblemAndTheSearchGoesOn) {
    TempFolder t;
    fs::create_directories(t.path() / "sub");
    writeFile(t.path() / "sub" / "good.asc", "x");
    fs::create_directory_symlink("..", t.path() / "sub" / "loop");
    fs::create_symlink("nowhere.asc", t.path() / "broken.asc");
    fs::create_symlink("b.asc", t.path() / "a.asc");  // a -> b -> a
    fs::create_symlink("a.asc", t.path() / "b.asc");
    ASSERT_EQ(::mkfifo((t.path() / "pipe.gem").c_str(), 0600), 0);
    const auto found = findDesigns({t.path().string(), (t.path() / "missing").string()});
    std::set<std::string> problems, good;
    for (const DesignEntry& e : found.entries) (e.problem.empty() ? good : problems).insert(e.path);
    const std::string root = t.path().string();
    EXPECT_EQ(good, (std::set<std::string>{root + "/sub/good.asc"}));
    EXPECT_EQ(problems, (std::set<std::string>{root + "/sub/loop", root + "/broken.asc", root + "/a.asc",
                                               root + "/b.asc", root + "/pipe.gem", root + "/missing"}));
}

TEST(FindDesigns, AnUnreadableFolderIsAProblem) {
    if (::geteuid() == 0) GTEST_SKIP() << "every folder is readable to root";
    TempFolder t;
    fs::create_directories(t.path() / "closed");
    writeFile(t.path() / "closed" / "hidden.asc", "x");
    fs::permissions(t.path() / "closed", fs::perms::none);
    const auto found = findDesigns({t.path().string()});
    ASSERT_EQ(found.entries.size(), 1u);
    EXPECT_FALSE(found.entries[0].problem.empty());
}

TEST(FindDesigns, ADatabaseGivesOneEntryPerDesignWithItsText) {
    TempFolder t;
    testdb::writeSampleDatabase(t.path());
    const auto found = findDesigns({t.path().string()});
    // Records 1 to 4 and 5 (a picture preview, text in the WMF library);
    // 6 has an empty first field, 7 no members.
    std::vector<int> records;
    for (const DesignEntry& e : found.entries) {
        EXPECT_EQ(e.path, (t.path() / "dlist.dbf").string());
        records.push_back(e.record);
    }
    EXPECT_EQ(records, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(found.entries[1].name, "Round brilliant");
    EXPECT_EQ(found.entries[1].id(), (t.path() / "dlist.dbf").string() + "#2");

    // And a database design is scored like a file.
    const ScoreCache none("");
    const DesignFigures f = scoreEntry(found.entries[1], smallSettings(), none);
    ASSERT_TRUE(f.ok()) << f.error;
    EXPECT_EQ(f.facts.facets, 73);
    EXPECT_GT(f.light->iso, 0);
}

TEST(TileStone, TheThumbnailBesideADesignIsDrawnWhenItReads) {
    TempFolder t;
    const fs::path design = t.path() / "round.asc";
    const Stone stone = testing::generatedBrilliant(4);
    Diagnostics notes;
    writeAscFile(stone, design.string(), notes);
    const DesignEntry entry = fileEntry(design.string());
    auto own = std::make_unique<Stone>(testing::generatedBrilliant(4));
    const Stone* ownAddress = own.get();
    EXPECT_EQ(thumbnailBeside(design.string()), (t.path() / "round.thb").string());
    EXPECT_EQ(thumbnailBeside("/a.b/design"), "/a.b/design.thb");

    // No thumbnail: the design itself.
    EXPECT_EQ(tileStone(entry, std::move(own)).get(), ownAddress);
    // A thumbnail: its display stone (one point more than the design has corners).
    ASSERT_TRUE(writeThb(stone, (t.path() / "round.thb").string(), notes));
    const auto thumb = tileStone(entry, std::make_unique<Stone>(testing::generatedBrilliant(4)));
    EXPECT_EQ(thumb->nVertex, stone.nVertex + 1);
    // A damaged one: the design again.
    writeFile(t.path() / "round.thb", std::string("\x05\x00\xff\xff", 4));
    own = std::make_unique<Stone>(testing::generatedBrilliant(4));
    ownAddress = own.get();
    EXPECT_EQ(tileStone(entry, std::move(own)).get(), ownAddress);
}

// ---- shards ---------------------------------------------------------------

TEST(Shards, ArePairwiseDisjointAndTogetherTheWholeListInOrder) {
    for (size_t size : {0u, 1u, 7u, 200u, 1001u}) {
        for (int n : {1, 2, 3, 7, 8, 64, 1500}) {
            size_t expectedBegin = 0, largest = 0, smallest = size;
            for (int k = 1; k <= n; ++k) {
                const Range r = shardRange(size, {k, n});
                EXPECT_EQ(r.begin, expectedBegin) << size << " " << k << "/" << n;
                EXPECT_LE(r.begin, r.end);
                largest = std::max(largest, r.end - r.begin);
                smallest = std::min(smallest, r.end - r.begin);
                expectedBegin = r.end;
            }
            EXPECT_EQ(expectedBegin, size) << size << " in " << n;
            EXPECT_LE(largest - smallest, 1u);
        }
    }
}

TEST(Shards, ParseOnlyKOfN) {
    std::string error;
    const auto s = parseShard("3/8", error);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->index, 3);
    EXPECT_EQ(s->count, 8);
    for (const char* bad : {"", "3", "0/8", "9/8", "3/0", "-1/4", "1/4x", "a/b", "1//4", "1/99999999999"}) {
        error.clear();
        EXPECT_FALSE(parseShard(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

// ---- the pool -------------------------------------------------------------

TEST(WorkerPool, HandsEveryResultBackOnceInOrder) {
    for (int jobs : {1, 3, 8}) {
        std::vector<int> squares(97, -1);
        std::vector<size_t> order;
        const size_t done = runInOrder(
            squares.size(), jobs, [&](size_t i) { squares[i] = static_cast<int>(i * i); },
            [&](size_t i) {
                EXPECT_EQ(squares[i], static_cast<int>(i * i));
                order.push_back(i);
            });
        EXPECT_EQ(done, squares.size());
        for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
    }
}

TEST(WorkerPool, StopsWhenCancelledAndHandsOnlyAPrefix) {
    std::atomic<bool> cancel{false};
    std::vector<size_t> order;
    const size_t done = runInOrder(
        1000, 4, [&](size_t i) { if (i == 10) cancel = true; }, [&](size_t i) { order.push_back(i); }, &cancel);
    EXPECT_LT(done, 1000u);
    EXPECT_EQ(order.size(), done);
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
}

TEST(WorkerPool, CoresGoToJobsFirstAndTheRestToEachRenderer) {
    EXPECT_EQ(jobCount(0, 8, 200), 8);
    EXPECT_EQ(jobCount(0, 8, 3), 3);
    EXPECT_EQ(jobCount(2, 8, 200), 2);
    EXPECT_EQ(jobCount(0, 8, 0), 1);
    EXPECT_EQ(innerThreads(8, 8, 200), 1);
    EXPECT_EQ(innerThreads(8, 8, 2), 4);   // two designs: four cores each
    EXPECT_EQ(innerThreads(8, 1, 200), 8); // --jobs 1: one design on every core
    EXPECT_EQ(innerThreads(2, 4, 200), 1);
}

// ---- cache ----------------------------------------------------------------

TEST(ScoreCache, AChangedFileIsScoredAgainAndAnUnchangedOneComesFromTheCache) {
    TempFolder t;
    const fs::path file = t.path() / "design.asc";
    Diagnostics notes;
    writeAscFile(testing::generatedBrilliant(1), file.string(), notes);
    const ScoreCache cache((t.path() / "cache").string());
    const DesignEntry entry = fileEntry(file.string());
    const auto settings = smallSettings();

    const DesignFigures first = scoreEntry(entry, settings, cache);
    ASSERT_TRUE(first.ok()) << first.error;
    EXPECT_FALSE(first.fromCache);
    const DesignFigures again = scoreEntry(entry, settings, cache);
    EXPECT_TRUE(again.fromCache);
    EXPECT_EQ(again.light->iso, first.light->iso);
    EXPECT_EQ(again.light->cos, first.light->cos);
    EXPECT_EQ(again.facts.heading, first.facts.heading);
    EXPECT_EQ(again.file, entry.id());

    // Other settings are other entries.
    auto diamond = settings;
    diamond.material = optics::findMaterial("diamond");
    EXPECT_FALSE(scoreEntry(entry, diamond, cache).fromCache);

    // The same name, other contents (same size and time stamp would not
    // fool it either: the key is the bytes).
    writeAscFile(testing::generatedBrilliant(5), file.string(), notes);
    const DesignFigures changed = scoreEntry(entry, settings, cache);
    EXPECT_FALSE(changed.fromCache);
    EXPECT_NE(changed.light->iso, first.light->iso);
    EXPECT_NE(changed.facts.heading, first.facts.heading);
}

TEST(ScoreCache, ADamagedEntryIsIgnoredAndProblemsAreNeverCached) {
    TempFolder t;
    const fs::path file = t.path() / "design.asc";
    Diagnostics notes;
    writeAscFile(testing::generatedBrilliant(2), file.string(), notes);
    const ScoreCache cache((t.path() / "cache").string());
    const DesignEntry entry = fileEntry(file.string());
    ASSERT_TRUE(scoreEntry(entry, smallSettings(), cache).ok());
    for (auto& p : fs::recursive_directory_iterator(t.path() / "cache"))
        if (p.is_regular_file()) writeFile(p.path(), "{\"format\":1,\"heading\":");
    const DesignFigures f = scoreEntry(entry, smallSettings(), cache);
    EXPECT_TRUE(f.ok());
    EXPECT_FALSE(f.fromCache);
    // A "format" of another kind than a number is a foreign entry too, not
    // an exception that stops the batch.
    for (const char* format : {"{}", "\"2\"", "2.5", "[2]", "null", "true", "1e300"}) {
        for (auto& p : fs::recursive_directory_iterator(t.path() / "cache"))
            if (p.is_regular_file()) writeFile(p.path(), std::string("{\"format\":") + format + ",\"facets\":73}");
        EXPECT_FALSE(scoreEntry(entry, smallSettings(), cache).fromCache) << format;
    }

    writeFile(file, "not a design at all");
    EXPECT_FALSE(scoreEntry(entry, smallSettings(), cache).ok());
    EXPECT_FALSE(scoreEntry(entry, smallSettings(), cache).ok());
}

TEST(ScoreCache, KeysDifferForBytesAndSettings) {
    EXPECT_EQ(ScoreCache::key("abc", "s"), ScoreCache::key("abc", "s"));
    EXPECT_NE(ScoreCache::key("abc", "s"), ScoreCache::key("abd", "s"));
    EXPECT_NE(ScoreCache::key("abc", "s"), ScoreCache::key("abc", "t"));
    EXPECT_NE(ScoreCache::key("ab", "s"), ScoreCache::key(std::string_view("ab\0", 3), "s"));
    auto a = smallSettings(), b = smallSettings();
    b.options.size = 25;
    EXPECT_NE(settingsKey(a), settingsKey(b));
    b = a;
    b.sweep = optics::TiltRange{-10, 10, 5};
    EXPECT_NE(settingsKey(a), settingsKey(b));
}

// ---- a batch over a folder with everything a real one holds ---------------

TEST(Batch, EveryGoodDesignIsScoredEachBadOneHasItsErrorLineAndTheBatchEnds) {
    TempFolder t;
    testing::writeGeneratedDesigns(t.path() / "good", 6);
    writeFile(t.path() / "junk.asc", "this is no design\n");
    writeFile(t.path() / "junk.gem", std::string(40, '\x7f'));
    fs::create_directory_symlink(".", t.path() / "good" / "again");
    fs::create_symlink("gone.gem", t.path() / "dangling.gem");
    const auto found = findDesigns({t.path().string()});

    BatchOptions options;
    options.light = smallSettings();
    options.jobs = 3;
    std::vector<std::string> lines;
    const BatchTally tally = runBatch(found.entries, options, ScoreCache(""), [&](const DesignFigures& f) {
        lines.push_back(jsonLine(f));
    });
    EXPECT_EQ(tally.scored, 6u);
    EXPECT_EQ(tally.failed, 4u);
    ASSERT_EQ(lines.size(), found.entries.size());
    std::set<std::string> errors;
    for (const std::string& line : lines) {
        const auto j = nlohmann::json::parse(line);
        if (j.contains("error")) {
            errors.insert(fs::path(j["file"].get<std::string>()).filename().string());
            EXPECT_FALSE(j.contains("iso"));
            EXPECT_FALSE(j["error"].get<std::string>().empty());
        } else {
            EXPECT_GT(j["iso"].get<double>(), 0);
            EXPECT_EQ(j["facets"].get<int>(), 33);
        }
    }
    EXPECT_EQ(errors, (std::set<std::string>{"junk.asc", "junk.gem", "again", "dangling.gem"}));
}

TEST(Batch, ADesignKeptWithItsIntentIsScoredLikeAnyOther) {
    TempFolder t;
    fs::copy_file(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant_meets.brx", t.path() / "meets.brx");
    const auto found = findDesigns({t.path().string()});
    ASSERT_EQ(found.entries.size(), 1u);
    BatchOptions options;
    options.light = smallSettings();
    std::vector<std::string> lines;
    const BatchTally tally = runBatch(found.entries, options, ScoreCache(""), [&](const DesignFigures& f) {
        lines.push_back(jsonLine(f));
    });
    EXPECT_EQ(tally.scored, 1u);
    ASSERT_EQ(lines.size(), 1u);
    const auto j = nlohmann::json::parse(lines[0]);
    EXPECT_FALSE(j.contains("error")) << lines[0];
    EXPECT_EQ(j["facets"].get<int>(), 73);
}

TEST(Batch, FiguresDoNotDependOnTheJobsOrTheThreads) {
    TempFolder t;
    testing::writeGeneratedDesigns(t.path(), 5);
    const auto found = findDesigns({t.path().string()});
    std::vector<std::string> one, many;
    BatchOptions options;
    options.light = smallSettings();
    options.jobs = 1;
    options.cores = 1;
    runBatch(found.entries, options, ScoreCache(""), [&](const DesignFigures& f) { one.push_back(jsonLine(f)); });
    options.jobs = 2;
    options.cores = 8;  // a job's renderer on four threads
    runBatch(found.entries, options, ScoreCache(""), [&](const DesignFigures& f) { many.push_back(jsonLine(f)); });
    EXPECT_EQ(one, many);
}

// ---- output ---------------------------------------------------------------

TEST(BatchOutput, JsonNumbersHaveTheDigitsTheCommandPrints) {
    DesignFigures f;
    f.file = "a \"quoted\" name.asc";
    f.facts = {"Héading", 57, 96, 8, 1, 1.3456};
    for (int tenths = 0; tenths <= 1000; ++tenths) {
        const double v = tenths / 10.0 + 0.04;
        f.light = LightFigures{"Diamond", 2.42, v, 100 - v, v, v, v, std::nullopt, {}};
        const auto j = nlohmann::json::parse(jsonLine(f));
        ASSERT_EQ(j["iso"].dump(), strprintf("%.1f", v)) << v;
        ASSERT_EQ(j["contrast"].dump(), strprintf("%.1f", v)) << v;
        ASSERT_EQ(j["cos"].dump(), strprintf("%.1f", 100 - v)) << v;
    }
    const std::string line = jsonLine(f);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["file"], f.file);
    EXPECT_EQ(j["heading"], "Héading");
    EXPECT_EQ(j["lw"].dump(), "1.346");  // as the status bar's L/W=%.3f
    EXPECT_EQ(j["ri"].dump(), "2.42");
}

TEST(BatchOutput, CsvLinesHaveAsManyFieldsAsTheHeaderAndQuoteWhatNeedsIt) {
    const optics::TiltRange sweep{-10, 10, 10};
    const std::string header = csvHeader(sweep);
    EXPECT_EQ(header,
              "file,heading,facets,gear,symmetry,mirror,lw,material,ri,iso,cos,windowing,extinction,contrast,"
              "iso@-10.0,cos@-10.0,iso@0.0,cos@0.0,iso@10.0,cos@10.0,tilt_iso,tilt_cos,tilt_windowing,"
              "tilt_extinction,tilt_contrast,warnings,warning,error\n");
    DesignFigures good;
    good.file = "a,b.asc";
    good.facts = {"say \"hi\"", 57, 96, 8, 1, 1.3456};
    good.warnings = {"Near miss: P1, P2", "Window: P1"};
    good.light = LightFigures{"Quartz", 1.544, 40.04, 50.06, 1.25, 20.5, 33.34, std::nullopt,
                              {{-10, 1, 2, 10, 20, 30}, {0, 3, 4, 0, 10, 40}, {10, 5, 6, 20, 30, 50}}};
    EXPECT_EQ(csvLine(good, sweep),
              "\"a,b.asc\",\"say \"\"hi\"\"\",57,96,8,1,1.346,Quartz,1.544,40.0,50.1,1.2,20.5,33.3,1.0,2.0,3.0,4.0,"
              "5.0,6.0,3.0,4.0,10.0,20.0,40.0,\"Near miss: P1, P2; Window: P1\",,\n");
    // Scintillation has its column when asked for.
    good.light->scintillation = 12.34;
    EXPECT_NE(csvLine(good, std::nullopt, true).find(",33.3,12.3,\"Near miss"), std::string::npos);
    EXPECT_NE(csvHeader(std::nullopt, true).find(",contrast,scintillation,warnings,"), std::string::npos);
    const auto j = nlohmann::json::parse(jsonLine(good));
    EXPECT_EQ(j["contrast"].dump(), "33.3");
    EXPECT_EQ(j["scintillation"].dump(), "12.3");
    EXPECT_EQ(j["tilt_windowing"].dump(), "10.0");
    EXPECT_EQ(j["warnings"].size(), 2u);
    DesignFigures bad;
    bad.file = "x.gem";
    bad.error = "Corrupt GEM file: x.gem";
    const auto count = [](const std::string& s) { return std::count(s.begin(), s.end(), ','); };
    EXPECT_EQ(count(csvLine(bad, sweep)), count(header));
    EXPECT_EQ(csvLine(bad, std::nullopt), "x.gem,,,,,,,,,,,,,,,,Corrupt GEM file: x.gem\n");
    EXPECT_EQ(count(csvLine(bad, std::nullopt)), count(csvHeader(std::nullopt)));
}

}  // namespace
}  // namespace brevix::collection
