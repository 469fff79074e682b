// libFuzzer target: an entry of the score cache as a later run finds it,
// written by an older or newer Brevix, cut short or damaged on disk. It
// either loads as figures that every output can print, or counts as no
// entry; figures it loads come back the same once stored again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "collection/batch_output.h"
#include "collection/score_cache.h"
#include "fuzz_support.h"

using namespace brevix;
using namespace brevix::collection;

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("brevix-cache-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const ScoreCache cache(folder().string());
    const std::string key = ScoreCache::key("design", "settings");
    // The entry lies where the cache looks for that key.
    std::error_code ec;
    fs::remove_all(folder(), ec);
    const fs::path entry = fs::path(folder()) / key.substr(0, 2) / (key + ".json");
    fs::create_directories(entry.parent_path(), ec);
    {
        std::ofstream out(entry, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::optional<DesignFigures> loaded = cache.load(key);
    if (!loaded) return 0;
    // Every way a batch prints figures takes them.
    const optics::TiltRange sweep{-10, 10, 10};
    const std::string line = jsonLine(*loaded);
    for (optics::Environment lighting : optics::ALL_ENVIRONMENTS) {
        csvLine(*loaded, std::nullopt, false, lighting);
        csvLine(*loaded, sweep, true, lighting);
    }
    // Stored again, what was loaded loads as it was (unless it cannot be
    // written, or holds what JSON cannot: an infinity is written as null).
    const std::string again = ScoreCache::key("design", "again");
    if (!cache.store(again, *loaded)) return 0;
    const std::optional<DesignFigures> back = cache.load(again);
    if (back && jsonLine(*back) != line) std::abort();
    return 0;
}
