#include "files/stow_library.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "files/binary_io.h"
#include "files/datavue_messages.h"
#include "files/file_access.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

std::string upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void corrupt(const char* format, const std::string& libraryName, Diagnostics& notes) {
    notes.warning(DiagCode::FileStowCorrupt, strprintf(format, libraryName.c_str()));
}

struct StowHeader {
    uint32_t magic = 0;
    uint16_t version = 0;
    uint32_t contentsOffset = 0;
    uint16_t memberCount = 0;
};

// Each field read on its own, so that a header cut short fails at the field
// it lacks, as the comparisons after it expect.
enum class HeaderField { None, Magic, Version, Offset, Count };

HeaderField readHeader(std::streambuf* in, StowHeader& h) {
    if (!le::getU32(in, h.magic)) return HeaderField::Magic;
    if (!le::getU16(in, h.version)) return HeaderField::Version;
    if (!le::getU32(in, h.contentsOffset)) return HeaderField::Offset;
    if (!le::getU16(in, h.memberCount)) return HeaderField::Count;
    return HeaderField::None;
}

std::unique_ptr<std::ifstream> openLibrary(const std::string& path) {
    // A pipe or a device named like a library would never end.
    if (!readProblem(path).empty()) return nullptr;
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (*file) return file;
    return nullptr;
}

#ifndef _WIN32
// The database comes from a system whose file names ignore case; copied
// elsewhere its libraries may be spelled in either case.
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path where = folder.empty() ? fs::path(".") : fs::path(folder);
    const std::string wanted = upperCase(name);
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        if (upperCase(it->path().filename().string()) == wanted) return it->path().string();
    }
    return {};
}
#endif

}  // namespace

std::optional<uint32_t> stowFind(std::istream& library, const std::string& libraryName,
                                 const std::string& member, Diagnostics& notes) {
    std::streambuf* in = library.rdbuf();
    if (!in) return std::nullopt;
    const std::string wanted = upperCase(member);

    StowHeader header;
    const HeaderField missing = readHeader(in, header);
    if (missing == HeaderField::Magic || header.magic != STOW_MAGIC) {
        corrupt(dbmsg::STOW_HEADER_WRONG, libraryName, notes);
        return std::nullopt;
    }
    if (missing == HeaderField::None && header.version > STOW_VERSION) {
        notes.warning(
            DiagCode::FileStowVersion, strprintf(dbmsg::STOW_NEWER_VERSION, libraryName.c_str(), header.version / 1000, header.version % 1000));
        notes.warning(DiagCode::FileStowVersion, strprintf(dbmsg::STOW_OWN_VERSION, STOW_VERSION / 1000, STOW_VERSION % 1000));
    }
    // A header cut short has no contents offset to go to: the table of
    // contents cannot be where it says.
    StowHeader contents;
    HeaderField contentsMissing = HeaderField::Magic;
    if (missing == HeaderField::None &&
        in->pubseekpos(header.contentsOffset, std::ios::in) == std::streampos(header.contentsOffset))
        contentsMissing = readHeader(in, contents);
    if (contentsMissing == HeaderField::Magic || contents.magic != STOW_MAGIC) {
        corrupt(dbmsg::STOW_TOC_POINTER, libraryName, notes);
        return std::nullopt;
    }
    if (contentsMissing == HeaderField::Version || contents.version != header.version) {
        corrupt(dbmsg::STOW_VERSION_MISMATCH, libraryName, notes);
        return std::nullopt;
    }
    if (contentsMissing == HeaderField::Offset || contents.contentsOffset != header.contentsOffset) {
        corrupt(dbmsg::STOW_POSITION_MISMATCH, libraryName, notes);
        return std::nullopt;
    }
    if (contentsMissing == HeaderField::Count || contents.memberCount != header.memberCount) {
        corrupt(dbmsg::STOW_COUNT_MISMATCH, libraryName, notes);
        return std::nullopt;
    }

    std::string name;
    for (uint32_t i = 0; i < header.memberCount; ++i) {
        uint32_t dataOffset = 0, size = 0, unused = 0;
        uint16_t nameLength = 0;
        if (!le::getU32(in, dataOffset) || !le::getU32(in, size) || !le::getU32(in, unused) ||
            !le::getU32(in, unused) || !le::getU16(in, nameLength))
            return std::nullopt;
        name.resize(nameLength);
        if (in->sgetn(name.data(), nameLength) != nameLength) return std::nullopt;
        if (upperCase(name) != wanted) continue;
        if (in->pubseekpos(dataOffset, std::ios::in) != std::streampos(dataOffset)) return std::nullopt;
        return size;
    }
    return std::nullopt;
}

std::optional<StowMember> stowOpen(const std::string& libraryFolder, const std::string& libraryName,
                                   const std::string& member, Diagnostics& notes) {
    std::unique_ptr<std::ifstream> file = openLibrary(libraryName);
    if (!file) file = openLibrary(libraryFolder + libraryName);
#ifndef _WIN32
    if (!file) {
        const std::string spelled = findIgnoringCase(libraryFolder, libraryName);
        if (!spelled.empty()) file = openLibrary(spelled);
    }
#endif
    if (!file) return std::nullopt;
    const std::optional<uint32_t> size = stowFind(*file, libraryName, member, notes);
    if (!size) return std::nullopt;
    StowMember found;
    found.stream = std::move(file);
    found.size = *size;
    return found;
}

std::vector<unsigned char> readMemberBytes(std::istream& in, uint32_t size) {
    std::vector<unsigned char> bytes;
    std::streambuf* buffer = in.rdbuf();
    if (!buffer) return bytes;
    constexpr size_t CHUNK = 1 << 16;
    size_t left = size;
    while (left > 0) {
        const size_t want = std::min(left, CHUNK);
        const size_t had = bytes.size();
        bytes.resize(had + want);
        const std::streamsize got = buffer->sgetn(reinterpret_cast<char*>(bytes.data() + had),
                                                  static_cast<std::streamsize>(want));
        bytes.resize(had + static_cast<size_t>(std::max<std::streamsize>(got, 0)));
        if (static_cast<size_t>(got) != want) break;
        left -= want;
    }
    return bytes;
}

}  // namespace brevix
