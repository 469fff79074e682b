// libFuzzer target: one entry of a batch as a collection meets it. The first
// byte says what the rest is (a .asc, .gem or .brx design, a database index
// beside a design, or the thumbnail beside one); the file is found, read for
// its tile, scored at the smallest picture and keyed for the cache. Nothing
// may throw, hang or stop the other entries: the design beside always scores.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "collection/collection_scan.h"
#include "collection/design_files.h"
#include "collection/design_read.h"
#include "collection/score_entry.h"
#include "design/sample_designs.h"
#include "files/asc_format.h"
#include "fuzz_support.h"

using namespace brevix;
using namespace brevix::collection;

namespace {

namespace fs = std::filesystem;


const fs::path& folder() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("brevix-batch-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return path;
}

void write(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    if (size == 0) return 0;
    const fs::path& f = folder();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(f, ec)) fs::remove_all(entry.path(), ec);
    // A design every run has beside the fuzzed file.
    static const Stone beside = makeRoundBrilliant();
    Diagnostics notes;
    writeAscFile(beside, (f / "beside.asc").string(), notes);
    const char* names[] = {"fuzzed.asc", "fuzzed.gem", "fuzzed.brx", "dlist.dbf", "beside.thb"};
    write(f / names[data[0] % 5], data + 1, size - 1);

    optics::LightSettings light;
    light.options.size = 8;
    light.options.threads = 1;
    const ScoreCache none("");
    const FoundDesigns found = findDesigns({f.string()});
    bool besideScored = false;
    for (const DesignEntry& entry : found.entries) {
        std::unique_ptr<Stone> stone;
        readFacts(entry, &stone);
        tileStone(entry, std::move(stone));
        entryKey(entry, "fuzz");
        const DesignFigures figures = scoreEntry(entry, light, none);
        if (entry.path == (f / "beside.asc").string()) besideScored = figures.ok();
    }
    if (!besideScored) std::abort();
    return 0;
}
