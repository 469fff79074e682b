// Replays a fuzz target's seed corpus as an ordinary test: every file of the
// folder given goes through the target's entry point once, so the damaged
// files that once broke a reader keep being read on every test run, with
// the sanitizers where the build has them, and without clang's libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A crash or a sanitizer report ends the run and fails the test.
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++replayed;
    }
    if (error || replayed == 0) {
        std::fprintf(stderr, "%s: no corpus files to replay\n", argv[1]);
        return 1;
    }
    std::printf("%d files replayed\n", replayed);
    return 0;
}
