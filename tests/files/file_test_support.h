#pragma once
// Helpers shared by the file format tests: bytes in and out of the writers
// and readers, and a scratch folder per test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>

#include "kernel/stone.h"
#include "platform/messages.h"

namespace brevix::testing {

inline std::span<const unsigned char> bytesOf(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

inline std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::filesystem::path samplesDir() {
    return std::filesystem::path(BREVIX_SOURCE_DIR) / "samples";
}

// A folder of its own for each test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("brevix-files-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Records every message for the lifetime of the object.
struct Messages {
    RecordingSink sink;
    ScopedMessageSink guard{sink};
    std::vector<std::string> texts() const { return sink.texts(); }
    bool has(const std::string& text) const {
        for (const auto& t : sink.texts())
            if (t == text) return true;
        return false;
    }
};

}  // namespace brevix::testing

#include "files/asc_format.h"
#include "platform/diagnostics.h"
#include "files/gem_format.h"

namespace brevix::testing {

// The readers leave what they have to say with the stone they read into,
// the writers in the notes they are given; these pass it on to the
// recorder, after what was said before.
inline void passOn(Stone& stone) { showAll(stone.takeDiagnostics(), messageSink()); }
inline void passOn(const Diagnostics& notes) { showAll(notes, messageSink()); }

inline std::string ascOf(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeAsc(stone, out, notes);
    passOn(notes);
    return out.str();
}

inline std::string gemOf(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeGem(stone, out, notes);
    passOn(notes);
    return out.str();
}

inline Stone fromAsc(const std::string& text) {
    Stone stone(ROUGH_HALF);
    readAsc(stone, bytesOf(text));
    passOn(stone);
    return stone;
}

inline Stone fromGem(const std::string& bytes) {
    Stone stone(ROUGH_HALF);
    readGem(stone, bytesOf(bytes));
    passOn(stone);
    return stone;
}

// Facets of the design proper (the rough block's faces left out).
inline int designFacets(const Stone& s) { return s.nFacet - s.nRough; }

}  // namespace brevix::testing
