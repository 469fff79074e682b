// Reading a design with progress: the callback hears how far the read has
// come, reaches the file's size at the end, and a cancel leaves no design
// and no messages about the part that was never read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/design_io.h"
#include "files/asc_format.h"
#include "files/gem_format.h"
#include "platform/messages.h"

namespace brevix {
namespace {

std::string sample(const char* name) {
    return std::string(BREVIX_SOURCE_DIR) + "/samples/" + name;
}

TEST(ReadProgress, ReachesTheFileSizeAndReadsTheSameDesign) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    for (const char* name : {"round_brilliant.asc", "round_brilliant.gem"}) {
        const std::string path = sample(name);
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        if (!file) GTEST_SKIP() << name;
        const uint64_t size = static_cast<uint64_t>(file.tellg());
        const FileType type = fileTypeOf(path);
        const DesignRead plain = readDesignFile(path, type, 8, 1);
        std::vector<uint64_t> seen;
        const DesignRead counted = readDesignFile(path, type, 8, 1, [&](uint64_t done, uint64_t total) {
            EXPECT_EQ(total, size);
            seen.push_back(done);
            return true;
        });
        ASSERT_EQ(plain.outcome, ReadOutcome::Read) << name;
        ASSERT_EQ(counted.outcome, ReadOutcome::Read) << name;
        EXPECT_EQ(counted.stone->nFacet, plain.stone->nFacet) << name;
        EXPECT_EQ(counted.stone->facetName(counted.stone->nFacet - 1),
                  plain.stone->facetName(plain.stone->nFacet - 1)) << name;
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), size) << name;
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    }
    EXPECT_TRUE(sink.entries.empty());
}

TEST(ReadProgress, CancelLeavesNoDesignAndSaysNothing) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    // Long enough for several pieces: the brilliant's tiers again and again.
    std::ifstream in(sample("round_brilliant.asc"), std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    const std::string tiers = text.substr(text.find("\na ") + 1);
    std::string big = text;
    while (big.size() < 64 * 1024) big += tiers;
    const std::string path = ::testing::TempDir() + "/long_read_progress.asc";
    std::ofstream(path, std::ios::binary) << big;

    int calls = 0;
    const DesignRead read = readDesignFile(path, FileType::Asc, 8, 1, [&](uint64_t, uint64_t) {
        return ++calls < 3;
    });
    EXPECT_EQ(read.outcome, ReadOutcome::Cancelled);
    EXPECT_EQ(read.stone, nullptr);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(sink.entries.empty());
    std::remove(path.c_str());
}

}  // namespace
}  // namespace brevix
