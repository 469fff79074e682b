// Writes the sample designs into a folder (default "samples") as text and
// binary design files, plus the seed corpus of the file-reader fuzzers when
// asked (--corpus <folder>).
//
// A design cut from angles and depths does not survive the binary format
// bit for bit at the first pass: the stored pole (normal / distance) gives
// back the plane to within a unit in the last place, and the rebuilt corners
// follow. Each sample is therefore passed through its format until the bytes
// stop changing, so that opening a sample and saving it again gives the very
// same file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "design/sample_designs.h"
#include "files/asc_format.h"
#include "files/gem_format.h"
#include "files/thumbnail.h"
#include "platform/messages.h"

using namespace brevix;

namespace {

std::span<const unsigned char> bytesOf(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::string settled(const Stone& design, bool gem) {
    std::ostringstream first;
    Diagnostics notes;  // the samples are plain designs: nothing to change
    gem ? writeGem(design, first, notes) : writeAsc(design, first, notes);
    std::string bytes = first.str();
    for (int pass = 0; pass < 20; ++pass) {
        Stone back(ROUGH_HALF);
        gem ? readGem(back, bytesOf(bytes)) : readAsc(back, bytesOf(bytes));
        std::ostringstream again;
        gem ? writeGem(back, again, notes) : writeAsc(back, again, notes);
        if (again.str() == bytes) return bytes;
        bytes = again.str();
    }
    std::fprintf(stderr, "warning: %s bytes still change after 20 passes\n", gem ? ".gem" : ".asc");
    return bytes;
}

bool save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
    }
    std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
    return true;
}

// Messages a batch run does not stop for.
class QuietSink : public MessageSink {
public:
    void show(std::string_view, Icon) override {}
    Answer ask(std::string_view, Buttons, Icon, Answer fallback) override { return fallback; }
};

// The round brilliant cut over a preform of girdle and pavilion rows: a
// seed for the fuzzers that reaches the preform paths of both readers.
Stone brilliantWithPreform() {
    Stone s = makeBrilliantOverPreform();
    s.heading[0] = "Round brilliant over a preform";
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = "samples";
    std::filesystem::path corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--corpus" && i + 1 < argc)
            corpus = argv[++i];
        else
            folder = arg;
    }
    QuietSink quiet;
    ScopedMessageSink guard(quiet);

    const std::vector<std::pair<std::string, std::function<Stone()>>> designs = {
        {"round_brilliant", makeRoundBrilliantThroughMeets},
        {"oval_brilliant", makeOvalBrilliant},
        {"emerald_cut", makeEmeraldCut},
        {"square_step_cut", makeSquareStepCut},
    };
    std::filesystem::create_directories(folder);
    bool ok = true;
    for (const auto& [name, make] : designs) {
        const Stone design = make();
        const std::string asc = settled(design, false), gem = settled(design, true);
        ok = save(folder / (name + ".asc"), asc) && ok;
        ok = save(folder / (name + ".gem"), gem) && ok;
        if (!corpus.empty()) {
            std::filesystem::create_directories(corpus / "asc");
            std::filesystem::create_directories(corpus / "gem");
            std::filesystem::create_directories(corpus / "thb");
            ok = save(corpus / "asc" / (name + ".asc"), asc) && ok;
            ok = save(corpus / "gem" / (name + ".gem"), gem) && ok;
            ok = save(corpus / "thb" / (name + ".thb"), thumbnailBytes(design)) && ok;
        }
    }
    if (!corpus.empty()) {
        const Stone design = brilliantWithPreform();
        ok = save(corpus / "asc" / "with_preform.asc", settled(design, false)) && ok;
        ok = save(corpus / "gem" / "with_preform.gem", settled(design, true)) && ok;
        ok = save(corpus / "asc" / "odd_records.asc",
                  "Brevix 4.0\r\ng 80 0.5\r\ny 5 n\r\nI 2.42\r\n3 n Stray\r\n"
                  "H one\r\nF two\r\nH three\r\na 90 1 4 8 n Name G\r\n"
                  "a 0 -0.5 80 n Culet G Polish\r\na 45 0 3\r\n+ . # comment\r\n") &&
             ok;
    }
    return ok ? 0 : 1;
}
