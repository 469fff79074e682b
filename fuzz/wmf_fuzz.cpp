// libFuzzer target: drawing a metafile picture, as the database previews
// are drawn, onto a recording canvas.
#include <cstdint>

#include "fuzz_support.h"
#include "views/recording_canvas.h"
#include "views/wmf_picture.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RecordingCanvas canvas;
    const auto bytes = fuzz::bytes(data, size);
    isWmf(bytes);
    drawWmf(bytes, canvas, {10, 10, 210, 160});
    drawWmf(bytes, canvas, {0, 200, 0, 0});
    return 0;
}
