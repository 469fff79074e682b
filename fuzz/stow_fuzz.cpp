// libFuzzer target: finding members in a stow library, and reading what it
// says a member holds.
#include <cstdint>
#include <string>

#include "files/memory_input.h"
#include "files/stow_library.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    for (const char* member : {"PC0512.THB", "pc0107.asc", ""}) {
        MemoryInput in(fuzz::bytes(data, size));
        Diagnostics notes;
        if (auto found = stowFind(in, "GTUSER.STO", member, notes)) {
            const auto bytes = readMemberBytes(in, *found);
            if (bytes.size() > *found || bytes.size() > size) std::abort();
        }
    }
    return 0;
}
