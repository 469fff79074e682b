// brevix-cli batch light as a collector runs it: the figures of every sample
// as `brevix-cli light` gives them, shards that join into the whole run,
// CSV, the cache, error lines that never stop the batch, and wrong usage.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

const std::string SAMPLES = std::string(BREVIX_SOURCE_DIR) + "/samples";

class CliBatch : public CliFolderTest {
protected:
    // Runs brevix-cli with its cache in the test's folder.
    CliRun cli(const std::string& arguments) { return run(arguments, "XDG_CACHE_HOME=" + quoted(path("cache"))); }
};

// "ISO brightness: 45.3%" -> "45.3"
std::string figure(const std::string& line) {
    const size_t colon = line.find(": ");
    return line.substr(colon + 2, line.size() - colon - 3);
}

TEST_F(CliBatch, FiguresOfEverySampleEqualThoseOfLight) {
    // Every figure line of `light` has its key, and the warnings are those
    // `figures` prints.
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"Windowing", "windowing"},
        {"Extinction", "extinction"},
        {"Contrast", "contrast"},
        {"Scintillation", "scintillation"},
        {"Tilt average ISO brightness", "tilt_iso"},
        {"Tilt average COS brightness", "tilt_cos"},
        {"Tilt average windowing", "tilt_windowing"},
        {"Tilt average extinction", "tilt_extinction"},
        {"Tilt average contrast", "tilt_contrast"}};
    for (const std::string options :
         {"--size 40", "--size 40 --material diamond --tilt-sweep -20:20:10 --scintillation"}) {
        const CliRun batch = cli("batch light '" + SAMPLES + "' " + options + " --jobs 2");
        ASSERT_EQ(batch.code, 0) << batch.err;
        EXPECT_TRUE(batch.err.empty()) << batch.err;  // not a terminal: no progress line
        const auto rows = lines(batch.out);
        ASSERT_EQ(rows.size(), 9u);  // the .asc, .gem and .brx samples
        std::string previous;
        for (const std::string& row : rows) {
            const auto j = nlohmann::json::parse(row);
            const std::string file = j["file"];
            EXPECT_LT(previous, file);
            previous = file;
            const CliRun light = cli("light '" + file + "' " + options);
            ASSERT_EQ(light.code, 0) << light.err;
            const auto figures = lines(light.out);
            EXPECT_EQ(j["iso"].dump(), figure(figures[0])) << file;
            EXPECT_EQ(j["cos"].dump(), figure(figures[1])) << file;
            // Tilt lines: "-20.0 41.2% 39.8%".
            const auto& sweep = j.contains("sweep") ? j["sweep"] : nlohmann::json::array();
            // The tilt lines come between the two figure lines and the metrics.
            ASSERT_GE(figures.size(), sweep.size() + 2) << file;
            if (sweep.size() + 2 < figures.size()) {
                EXPECT_EQ(figures[sweep.size() + 2].rfind("Windowing: ", 0), 0u) << file;
            }
            for (size_t i = 0; i < sweep.size(); ++i) {
                EXPECT_EQ(sweep[i]["tilt"].dump() + " " + sweep[i]["iso"].dump() + "% " + sweep[i]["cos"].dump() + "%",
                          figures[i + 2]);
            }
            int compared = 0;
            for (const std::string& line : figures)
                for (const auto& [name, key] : keys)
                    if (line.rfind(name + ": ", 0) == 0) {
                        ++compared;
                        ASSERT_TRUE(j.contains(key)) << file << " " << key;
                        EXPECT_EQ(j[key].dump(), figure(line)) << file << " " << key;
                    }
            EXPECT_EQ(compared, options.find("--scintillation") == std::string::npos ? 3 : 9) << light.out;
            const CliRun facts = cli("figures '" + file + "'");
            std::vector<std::string> warnings;
            for (const std::string& line : lines(facts.out))
                if (line.rfind("Warning: ", 0) == 0) warnings.push_back(line.substr(9));
            EXPECT_EQ(j["warnings"].get<std::vector<std::string>>(), warnings) << file;
        }
    }
}

TEST_F(CliBatch, ShardsJoinIntoTheWholeRun) {
    const CliRun whole = cli("batch light '" + SAMPLES + "' --size 16 --no-cache --format csv");
    ASSERT_EQ(whole.code, 0) << whole.err;
    const auto all = lines(whole.out);
    ASSERT_EQ(all.size(), 10u);  // header and nine designs
    for (int n : {1, 3, 8, 11}) {
        std::vector<std::string> joined{all[0]};
        for (int k = 1; k <= n; ++k) {
            const CliRun part = cli("batch light '" + SAMPLES + "' --size 16 --no-cache --format csv --shard " +
                                 std::to_string(k) + "/" + std::to_string(n));
            ASSERT_EQ(part.code, 0) << part.err;
            auto rows = lines(part.out);
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows[0], all[0]);
            joined.insert(joined.end(), rows.begin() + 1, rows.end());
        }
        EXPECT_EQ(joined, all) << n << " shards";
    }
}

TEST_F(CliBatch, ABadFileGetsItsErrorLineTheRestIsScoredAndTheRunFails) {
    fs::copy(SAMPLES + "/round_brilliant.asc", folder_ / "a.asc");
    std::ofstream(folder_ / "b.gem") << "no design";
    fs::copy(SAMPLES + "/emerald_cut.gem", folder_ / "c.gem");
    fs::create_directory_symlink(".", folder_ / "loop");
    const CliRun run = cli("batch light '" + folder_.string() + "' --size 16");
    EXPECT_EQ(run.code, 1);
    const auto rows = lines(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_TRUE(nlohmann::json::parse(rows[0]).contains("iso"));
    EXPECT_EQ(nlohmann::json::parse(rows[1])["error"], "Corrupt GEM file: " + (folder_ / "b.gem").string());
    EXPECT_TRUE(nlohmann::json::parse(rows[2]).contains("iso"));
    EXPECT_TRUE(nlohmann::json::parse(rows[3]).contains("error"));
}

TEST_F(CliBatch, ADesignAndAnIndexThatFailWhenReadAreErrorLinesOfTheirOwn) {
    if (!fs::exists("/proc/thread-self/mem")) GTEST_SKIP() << "no /proc/thread-self/mem to fail a read";
    fs::create_directories(folder_ / "e" / "db");
    fs::copy(SAMPLES + "/round_brilliant.asc", folder_ / "e" / "good.asc");
    fs::create_symlink("/proc/self/mem", folder_ / "e" / "mem.asc");
    // Another file than mem.asc's (the same file twice would be taken once).
    fs::create_symlink("/proc/thread-self/mem", folder_ / "e" / "db" / "dlist.dbf");
    for (const char* cache : {"", " --no-cache"}) {
        const CliRun run = cli("batch light '" + (folder_ / "e").string() + "' --size 16" + cache);
        EXPECT_EQ(run.code, 1) << cache << run.err;
        const auto rows = lines(run.out);
        ASSERT_EQ(rows.size(), 3u) << cache << run.out << run.err;
        const auto db = nlohmann::json::parse(rows[0]), good = nlohmann::json::parse(rows[1]),
                   mem = nlohmann::json::parse(rows[2]);
        EXPECT_EQ(db["file"], (folder_ / "e" / "db" / "dlist.dbf").string());
        EXPECT_TRUE(db.contains("error"));
        EXPECT_TRUE(good.contains("iso")) << rows[1];
        EXPECT_EQ(mem["file"], (folder_ / "e" / "mem.asc").string());
        EXPECT_TRUE(mem.contains("error"));
    }
}

TEST_F(CliBatch, ASecondRunComesFromTheCacheWithTheSameLines) {
    const std::string command = "batch light '" + SAMPLES + "/round_brilliant.gem' '" + SAMPLES +
                                "/oval_brilliant.asc' --size 32";
    const CliRun first = cli(command);
    ASSERT_EQ(first.code, 0) << first.err;
    ASSERT_TRUE(fs::exists(folder_ / "cache" / "brevix"));
    size_t entries = 0;
    for (auto& p : fs::recursive_directory_iterator(folder_ / "cache")) entries += p.is_regular_file();
    EXPECT_EQ(entries, 2u);
    EXPECT_EQ(cli(command).out, first.out);
}

TEST_F(CliBatch, ARoomsFiguresAreThoseOfLightAndComeBackFromTheCache) {
    const std::string gem = SAMPLES + "/round_brilliant.gem";
    const std::string options = " --size 40 --lighting aset --tilt-sweep -10:10:10 --scintillation";
    const CliRun batch = cli("batch light '" + gem + "'" + options);
    ASSERT_EQ(batch.code, 0) << batch.err;
    const auto j = nlohmann::json::parse(batch.out);
    EXPECT_EQ(j["lighting"], "aset");
    const CliRun light = cli("light '" + gem + "'" + options);
    int compared = 0;
    for (const std::string& line : lines(light.out)) {
        std::string key;
        for (auto [name, prefix] : {std::pair{"Tilt average ASET ", "tilt_aset_"}, std::pair{"ASET ", "aset_"}})
            if (key.empty() && line.rfind(name, 0) == 0)
                key = prefix + line.substr(std::string(name).size(), line.find(':') - std::string(name).size());
        if (key.empty()) continue;
        ++compared;
        ASSERT_TRUE(j.contains(key)) << key << " in " << batch.out;
        EXPECT_EQ(j[key].dump(), figure(line)) << key;
    }
    EXPECT_EQ(compared, 9) << light.out;
    EXPECT_EQ(cli("batch light '" + gem + "'" + options).out, batch.out) << "from the cache";
    // Without the room the same design is scored afresh, without its keys.
    const CliRun iso = cli("batch light '" + gem + "' --size 40 --tilt-sweep -10:10:10 --scintillation");
    EXPECT_EQ(iso.out.find("aset"), std::string::npos) << iso.out;

    const CliRun csv = cli("batch light '" + gem + "' '" + SAMPLES + "/missing.gem'" + options + " --format csv");
    const auto rows = lines(csv.out);
    ASSERT_EQ(rows.size(), 3u) << csv.out;
    EXPECT_NE(rows[0].find(",aset_brightness,aset_contrast,aset_scintillation,aset_red,aset_green,aset_blue,"
                           "aset_black,tilt_aset_brightness,tilt_aset_contrast,"),
              std::string::npos)
        << rows[0];
    for (const std::string& row : rows) EXPECT_EQ(std::count(row.begin(), row.end(), ','), std::count(rows[0].begin(), rows[0].end(), ',')) << row;
}

TEST_F(CliBatch, WrongUsageSaysWhatIsWrong) {
    struct Case {
        const char* arguments;
        const char* says;
    };
    for (const Case c : {Case{"batch", "usage"}, Case{"batch light", "PATH is missing"},
                         Case{"batch shine x.asc", "light"}, Case{"batch light x --shard 4/3", "--shard"},
                         Case{"batch light x --shard 1", "--shard"}, Case{"batch light x --jobs 0", "--jobs"},
                         Case{"batch light x --size 3", "--size"}, Case{"batch light x --format xml", "--format"},
                         Case{"batch light x --material glass", "unknown material"},
                         Case{"batch light x --tilt-sweep 1:2", "FROM:TO:STEP"},
                         Case{"batch light x --bogus 1", "unknown option"}, Case{"batch light x --jobs", "needs a value"}}) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.code, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
}

}  // namespace
