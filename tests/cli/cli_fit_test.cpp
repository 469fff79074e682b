// brevix-cli fit as a buyer of rough runs it: the figures of the largest
// brilliant in a block, the weight exactly as info gives it for that width,
// the placed stone written inside the block, the faults of a scan reported,
// a rough too small, and a folder of designs ranked.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "rough/rough_fit.h"
#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;
using nlohmann::json;

const std::string SAMPLES = std::string(BREVIX_SOURCE_DIR) + "/samples";
const std::string BRILLIANT = quoted(SAMPLES + "/round_brilliant.asc");

std::string writtenFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

class CliFit : public CliFolderTest {};

TEST_F(CliFit, TheBrilliantInABlockWeighsWhatInfoSaysForItsWidth) {
    const CliRun r = run("fit " + BRILLIANT + " box:10x8x6 --material Corundum --json --out placed.stl");
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    const double width = j["width_mm"];
    // At least the table-up answer: the girdle across the block's 8 mm.
    EXPECT_GE(width, 8 * 0.995);
    EXPECT_EQ(j["rotation"].size(), 3u);
    EXPECT_EQ(j["translation"].size(), 3u);
    EXPECT_GT(j["yield_percent"].get<double>(), 5);

    std::ostringstream widthText;
    widthText.precision(17);
    widthText << width;
    const CliRun info = run("info " + BRILLIANT + " --width " + widthText.str() + " --material Corundum");
    ASSERT_EQ(info.code, 0) << info.err;
    char weight[32];
    std::snprintf(weight, sizeof weight, "Weight: %.3f ct", j["weight_ct"].get<double>());
    EXPECT_NE(info.out.find(weight), std::string::npos) << weight << "\n" << info.out;
    char size[64];
    std::snprintf(size, sizeof size, "Size: %.2f x %.2f x %.2f mm", j["length_mm"].get<double>(), width,
                  j["depth_mm"].get<double>());
    EXPECT_NE(info.out.find(size), std::string::npos) << size << "\n" << info.out;

    const brevix::rough::MeshRead placed = brevix::rough::readMeshFile(path("placed.stl"));
    ASSERT_TRUE(placed.mesh) << placed.error;
    EXPECT_GT(placed.mesh->triangles.size(), 50u);
    for (const brevix::Vec3& p : placed.mesh->points) {
        EXPECT_LE(std::abs(p.x), 5 + 1e-5);
        EXPECT_LE(std::abs(p.y), 4 + 1e-5);
        EXPECT_LE(std::abs(p.z), 3 + 1e-5);
    }
}

TEST_F(CliFit, PlainOutputReadsLikeInfo) {
    const CliRun r = run("fit " + BRILLIANT + " cylinder:8x10 --margin 0.2 --avoid 0,0,4.5,0.3");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Size: ", 0), 0u) << r.out;
    for (const char* line : {"\nVolume: ", "\nWeight: ", "\nYield: ", "\nRotation: ", "\nTranslation: "})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST_F(CliFit, FaultsOfTheRoughAreReported) {
    const brevix::rough::Mesh box = *brevix::rough::shapeMesh("box:6x5x4").mesh;
    brevix::rough::Mesh open = box;
    open.triangles.pop_back();
    writtenFile(path("open.stl"), brevix::rough::asciiStl(open, "open"));
    CliRun r = run("fit " + BRILLIANT + " open.stl");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("brevix-cli: The rough is not closed: the edge from ("), std::string::npos) << r.err;

    brevix::rough::Mesh inverted = box;
    for (auto& t : inverted.triangles) std::swap(t[1], t[2]);
    writtenFile(path("inverted.obj"), brevix::rough::objText(inverted));
    r = run("fit " + BRILLIANT + " inverted.obj --json");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "brevix-cli: The rough's triangles faced inward; they were turned.\n");

    r = run("fit " + BRILLIANT + " box:0.004x0.004x0.004");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("does not look like millimetres"), std::string::npos);
    EXPECT_NE(r.err.find("brevix-cli: No stone fits in the rough.\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    r = run("fit " + BRILLIANT + " " + quoted(SAMPLES + "/round_brilliant.gem"));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Not an STL or OBJ mesh: "), std::string::npos) << r.err;

    EXPECT_EQ(run("fit " + BRILLIANT + " box:1x2").code, 1);
    EXPECT_EQ(run("fit " + BRILLIANT + " box:10x8x6 --avoid 1,2,3").code, 2);
    EXPECT_EQ(run("fit " + BRILLIANT + " box:10x8x6 --out placed.png").code, 2);
    EXPECT_EQ(run("fit " + BRILLIANT).code, 2);
}

TEST_F(CliFit, AFolderOfDesignsIsRankedByWeightAndByWeightTimesBrightness) {
    std::filesystem::create_directories(path("designs"));
    for (const char* name : {"round_brilliant.asc", "oval_brilliant.asc", "emerald_cut.asc"})
        std::filesystem::copy_file(SAMPLES + "/" + name, path("designs") + "/" + name);
    const CliRun r = run("fit --designs designs box:10x8x6 --material Corundum --jobs 2");
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<json> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    ASSERT_EQ(lines.size(), 3u);
    std::vector<int> weightRanks;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["rank_weight_x_brightness"], i + 1);
        if (i > 0) {
            EXPECT_GE(lines[i - 1]["weight_x_brightness"], lines[i]["weight_x_brightness"]);
        }
        EXPECT_NEAR(lines[i]["weight_x_brightness"].get<double>(),
                    lines[i]["weight_ct"].get<double>() * lines[i]["tilt_iso"].get<double>() / 100, 2e-3);
        weightRanks.push_back(lines[i]["rank_weight"]);
    }
    std::sort(weightRanks.begin(), weightRanks.end());
    EXPECT_EQ(weightRanks, (std::vector<int>{1, 2, 3}));
    const CliRun top = run("fit --designs designs box:10x8x6 --material Corundum --top 1");
    EXPECT_EQ(top.out, r.out.substr(0, r.out.find('\n') + 1));
    // The count of designs fitted goes to a terminal only, and is wiped
    // before the ranking; a log or pipe gets the lines alone.
    EXPECT_EQ(r.err.find("fitted"), std::string::npos) << r.err;
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1) to give a terminal";
    const std::string command = "cd " + quoted(path("")) + " && script -qec \"" + BREVIX_CLI +
                                " fit --designs designs box:10x8x6 --material Corundum --jobs 2 >ranked\" terminal";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string terminal = readAll(path("terminal"));
    EXPECT_NE(terminal.find("\rfitted 3 of 3, 0 failed\r\033[K"), std::string::npos) << terminal;
    EXPECT_EQ(readAll(path("ranked")), r.out);
}

}  // namespace
