#pragma once
// Files the tests make and read back: a scratch folder removed with all it
// holds (also what a test left unreadable), and whole files as bytes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>

#include "kernel/stone.h"

namespace brevix::testing {

class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/brevix-test-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto& p : fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec))
            fs::permissions(p.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::span<const unsigned char> bytesOf(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// The first facet of that name, -1 when there is none.
inline int32_t facetNamed(const Stone& stone, const std::string& name) {
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facets[i].name == name) return i;
    return -1;
}

}  // namespace brevix::testing
