// libFuzzer target: the intent text reader, the writer on what it read
// (which must read back whole: nothing is written that the reader refuses),
// and a re-cut of what it read by its intent.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "fuzz_support.h"
#include "intent/intent_file.h"
#include "intent/recut.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const auto input = fuzz::bytes(data, size);
    IntentFileRead read = readIntentText(input);
    fuzz::checkStone(read.stone, true);
    const std::string text = writeIntentText(read.stone, read.intent);
    if (intentLimitProblem(read.intent).empty() &&
        !readIntentText(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size())).problem.empty())
        std::abort();
    if (!read.intent.tiers.empty()) {
        TierChange change;
        change.tier = int32_t(size % read.intent.tiers.size());
        change.setAngle = true;
        change.angle = read.intent.tiers[change.tier].angle * 0.98;
        const RecutResult cut = recutByIntent(read.stone, read.intent, change);
        fuzz::checkStone(cut.stone, true);
    }
    return 0;
}
