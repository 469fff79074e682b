// libFuzzer target: the text design checks and reader, and the writers on what it read.
#include <cstdint>
#include <sstream>

#include "files/asc_format.h"
#include "files/design_damage.h"
#include "files/gem_format.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const auto input = fuzz::bytes(data, size);
    isAscFile(input);
    lastLineUnended(input);
    // Designs from the database are read into the larger rough block.
    Stone stone(size % 2 ? DATABASE_ROUGH_HALF : ROUGH_HALF);
    readAsc(stone, input);
    fuzz::checkStone(stone, true);
    std::ostringstream text, binary;
    brevix::Diagnostics notes;
    writeAsc(stone, text, notes);
    writeGem(stone, binary, notes);
    return 0;
}
