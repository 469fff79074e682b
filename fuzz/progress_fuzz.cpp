// libFuzzer target: the cutting-progress reader, and what a session makes of
// what it read against the round brilliant (nothing it reads may crash the
// matching, and writing it again must read back to the same).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "assistant/assistant_session.h"
#include "assistant/cutting_progress.h"
#include "design/sample_designs.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const ProgressReadResult read =
        readProgressText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = writeProgressText(read.progress);
    const ProgressReadResult again = readProgressText(written);
    if (!again.error.empty() || writeProgressText(again.progress) != written) std::abort();
    static Stone brilliant = makeRoundBrilliant();
    AssistantSession session;
    session.start(brilliant, false, read.progress);
    session.markAndNext();
    session.back();
    // Merging with another window's file never makes more records than
    // both had, nor records a plane twice.
    session.markAndNext();
    const CuttingProgress merged = mergeProgress(read.progress, session.progress(), again.progress);
    if (merged.cut.size() > again.progress.cut.size() + session.progress().cut.size()) std::abort();
    return 0;
}
