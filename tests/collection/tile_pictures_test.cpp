// The gallery's pictures of designs in a lighting: ASET in colour and the
// other rooms in grey, traced from the design and never from the coarse
// thumbnail beside it, handed back in the list's order, and a file that is
// no design skipped without stopping the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "collection/collection_scan.h"
#include "collection/design_files.h"
#include "collection/design_read.h"
#include "collection/tile_pictures.h"
#include "files/thumbnail.h"
#include "platform/strformat.h"
#include "support/generated_designs.h"
#include "support/test_files.h"

namespace brevix::collection {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::writeFile;

constexpr int SIDE = 48;

// Pixels whose channels differ.
int coloured(const optics::RgbPicture& p) {
    int n = 0;
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        if (p.rgb[i] != p.rgb[i + 1] || p.rgb[i + 1] != p.rgb[i + 2]) ++n;
    return n;
}

int backgroundPixels(const optics::RgbPicture& p) {
    int n = 0;
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        if (p.rgb[i] == optics::BACKGROUND_RGB[0] && p.rgb[i + 1] == optics::BACKGROUND_RGB[1] &&
            p.rgb[i + 2] == optics::BACKGROUND_RGB[2])
            ++n;
    return n;
}

TEST(TilePicture, AsetIsInColourTheOtherRoomsInGrey) {
    const Stone design = testing::generatedBrilliant(2);
    const optics::LightSettings light;
    const optics::RgbPicture aset = tilePicture(design, light, optics::Environment::Aset, SIDE);
    ASSERT_EQ(aset.width, SIDE);
    ASSERT_EQ(aset.height, SIDE);
    // The stone fills most of the picture, and under ASET most of it is coloured.
    EXPECT_GT(coloured(aset) - backgroundPixels(aset), SIDE * SIDE / 3);
    for (optics::Environment grey : {optics::Environment::Iso, optics::Environment::Office, optics::Environment::Spot}) {
        const optics::RgbPicture p = tilePicture(design, light, grey, SIDE);
        ASSERT_EQ(p.width, SIDE);
        EXPECT_EQ(coloured(p), backgroundPixels(p)) << optics::environmentKey(grey);
    }
    // The rooms light the stone differently.
    EXPECT_NE(tilePicture(design, light, optics::Environment::Spot, SIDE).rgb,
              tilePicture(design, light, optics::Environment::Dome, SIDE).rgb);
}

TEST(TilePictures, EachDesignInOrderFromTheDesignNotItsThumbnailAndJunkSkipped) {
    TempFolder t;
    testing::writeGeneratedDesigns(t.path(), 4);
    writeFile(t.path() / "junk.asc", "no design here\n");
    // A thumbnail of another design beside the third: it is drawn, not traced.
    Diagnostics notes;
    ASSERT_TRUE(writeThb(testing::generatedBrilliant(0), (t.path() / "brilliant_0002.thb").string(), notes));
    std::vector<DesignEntry> entries = findDesigns({t.path().string()}).entries;
    ASSERT_EQ(entries.size(), 5u);

    const optics::LightSettings light;
    std::mutex mutex;
    std::vector<size_t> order;
    std::vector<optics::RgbPicture> pictures(entries.size());
    bool finished = false;
    {
        TilePictures work(
            entries, light, optics::Environment::Aset, SIDE,
            [&](size_t i, optics::RgbPicture p) {
                std::lock_guard lock(mutex);
                order.push_back(i);
                pictures[i] = std::move(p);
            },
            [&] { finished = true; }, 2);
        while (!work.done()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(finished);
    std::vector<size_t> expectedOrder;
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool junk = entries[i].path.ends_with("junk.asc");
        if (junk) {
            EXPECT_TRUE(pictures[i].rgb.empty());
            continue;
        }
        expectedOrder.push_back(i);
        const ReadEntry read = readEntry(entries[i]);
        ASSERT_TRUE(read.stone);
        EXPECT_EQ(pictures[i].rgb, tilePicture(*read.stone, light, optics::Environment::Aset, SIDE).rgb)
            << entries[i].path;
    }
    EXPECT_EQ(order, expectedOrder);
    // The designs differ, so the pictures tell them apart.
    EXPECT_NE(pictures[expectedOrder[0]].rgb, pictures[expectedOrder[2]].rgb);
}

// Dropped at once (a new lighting chosen), it gives up without waiting for
// the pictures and never says it finished.
TEST(TilePictures, DroppedPartWayItStopsWithoutFinishing) {
    TempFolder t;
    testing::writeGeneratedDesigns(t.path(), 12);
    const std::vector<DesignEntry> entries = findDesigns({t.path().string()}).entries;
    std::atomic<int> delivered{0};
    bool finished = false;
    {
        TilePictures work(
            entries, optics::LightSettings(), optics::Environment::Spot, 256,
            [&](size_t, optics::RgbPicture) { ++delivered; }, [&] { finished = true; }, 1);
    }
    EXPECT_FALSE(finished);
    EXPECT_LT(delivered, 12);
}

}  // namespace
}  // namespace brevix::collection
