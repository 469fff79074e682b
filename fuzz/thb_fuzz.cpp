// libFuzzer target: the thumbnail reader, and the exports on what it read
// (a thumbnail stone is for drawing only: its edges are per facet).
#include <cstdint>

#include "files/exports.h"
#include "files/thumbnail.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    Stone stone(ROUGH_HALF);
    readThb(stone, fuzz::bytes(data, size));
    fuzz::checkStone(stone, false);
    thumbnailBytes(stone);
    vrmlText(stone);
    return 0;
}
