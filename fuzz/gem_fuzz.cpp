// libFuzzer target: the binary design checks (format, cut short) and reader, and the writer on
// what was read.
#include <cstdint>
#include <sstream>

#include "files/design_damage.h"
#include "files/gem_format.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const auto input = fuzz::bytes(data, size);
    isGemFile(input);
    gemDamage(input);
    Stone stone(ROUGH_HALF);
    readGem(stone, input);
    fuzz::checkStone(stone, true);
    std::ostringstream out;
    brevix::Diagnostics notes;
    writeGem(stone, out, notes);
    return 0;
}
