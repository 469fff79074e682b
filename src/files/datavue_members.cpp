#include "files/datavue_members.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <random>

#include "files/datavue_messages.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr const char* USER_THUMBNAILS = "GTUSER.STO";
constexpr const char* UPDATE_THUMBNAILS = "GTUPDATE.STO";
constexpr const char* USER_TEXTS = "GAUSER.STO";
constexpr const char* UPDATE_TEXTS = "GAUPDATE.STO";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The three libraries a member is looked for in, in order.
std::array<std::string, 3> libraryOrder(const MemberName& member, MemberKind kind) {
    const bool thumbnail = kind == MemberKind::Thumbnail;
    return {thumbnail ? USER_THUMBNAILS : USER_TEXTS, thumbnail ? UPDATE_THUMBNAILS : UPDATE_TEXTS,
            volumeLibrary(member, kind)};
}

std::optional<StowMember> findMember(const std::string& libraryFolder, const MemberName& member,
                                     MemberKind kind, Diagnostics& notes, std::string* lastLibrary = nullptr) {
    for (const std::string& library : libraryOrder(member, kind)) {
        if (lastLibrary) *lastLibrary = library;
        if (auto found = stowOpen(libraryFolder, library, member.name, notes)) return found;
    }
    return std::nullopt;
}

// A name no other file has, in the system's folder for temporary files.
std::string temporaryPathFor(const std::string& memberName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path folder = fs::temp_directory_path(ec);
    if (ec) folder = ".";
    // One generator per thread: extractions may run on several at once.
    thread_local std::mt19937_64 random(static_cast<uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    return (folder / ("brevix-" + std::to_string(random() % 1000000007ULL) + "-" + memberName)).string();
}

}  // namespace

std::optional<MemberName> memberName(const std::string& fileReference, const std::string& designCode,
                                     MemberKind kind) {
    if (fileReference.size() < 2) return std::nullopt;
    MemberName member;
    std::string name = fileReference;
    const bool pf = !designCode.empty() && designCode.back() == 'P';
    name[0] = 'P';
    name[1] = pf ? 'F' : 'C';
    if (name.size() >= 4 && isDigit(name[2]) && isDigit(name[3])) member.volume = (name[2] - '0') * 10 + (name[3] - '0');

    const size_t dot = name.find('.');
    member.picture = dot != std::string::npos && dot + 1 < name.size() && (name[dot + 1] == 'W' || name[dot + 1] == 'w');
    if (dot != std::string::npos) {
        if (member.picture && kind == MemberKind::DesignText) {
            name[dot] = 'W';
            name.resize(dot + 1);
        } else {
            name.resize(dot);
        }
    }
    if (member.picture && kind == MemberKind::Thumbnail) {
        name[0] = 'G';
        name[1] = 'X';
    }
    name += kind == MemberKind::DesignText ? ".ASC" : member.picture ? ".WMF" : ".THB";
    member.name = std::move(name);
    return member;
}

std::string volumeLibrary(const MemberName& member, MemberKind kind) {
    const bool thumbnail = kind == MemberKind::Thumbnail;
    if (member.picture) return thumbnail ? "GWMF.STO" : "GASCWMF.STO";
    const char* volumes = member.volume == 1                        ? "0101"
                          : member.volume >= 2 && member.volume <= 8 ? "0208"
                          : member.volume >= 9 && member.volume <= 26 ? "0926"
                                                                      : "2799";
    return std::string(thumbnail ? "GTHB" : "GASC") + volumes + ".STO";
}

std::string libraryFolderOf(const std::string& indexPath) {
    const size_t sep = lastPathSeparator(indexPath);
    if (sep == std::string::npos) return {};
    return indexPath.substr(0, sep + 1);
}

std::optional<FoundThumbnail> findThumbnail(const std::string& libraryFolder, const std::string& fileReference,
                                            const std::string& designCode, Diagnostics& notes) {
    const auto member = memberName(fileReference, designCode, MemberKind::Thumbnail);
    if (!member) return std::nullopt;
    std::string lastLibrary;
    auto found = findMember(libraryFolder, *member, MemberKind::Thumbnail, notes, &lastLibrary);
    if (!found) {
        if (member->picture)
            notes.warning(DiagCode::FileDatabaseCannotOpenMember, strprintf(dbmsg::CANNOT_OPEN_MEMBER, member->name.c_str(), lastLibrary.c_str()));
        return std::nullopt;
    }
    FoundThumbnail result;
    result.member = std::move(*found);
    result.picture = member->picture;
    return result;
}

bool hasDesignText(const std::string& libraryFolder, const std::string& fileReference,
                   const std::string& designCode, Diagnostics& notes) {
    const auto member = memberName(fileReference, designCode, MemberKind::DesignText);
    return member && findMember(libraryFolder, *member, MemberKind::DesignText, notes).has_value();
}

std::optional<std::string> designTextBytes(const std::string& libraryFolder, const std::string& fileReference,
                                           const std::string& designCode, Diagnostics& notes) {
    if (fileReference.empty() || designCode.empty()) return std::nullopt;
    const auto member = memberName(fileReference, designCode, MemberKind::DesignText);
    if (!member) return std::nullopt;
    auto found = findMember(libraryFolder, *member, MemberKind::DesignText, notes);
    if (!found) return std::nullopt;
    const std::vector<unsigned char> bytes = readMemberBytes(*found->stream, found->size);
    // A member the library cuts short is a read error, not a shorter design.
    if (bytes.size() != found->size) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

std::optional<ExtractedDesign> extractDesignText(const std::string& libraryFolder,
                                                 const std::string& fileReference,
                                                 const std::string& designCode, Diagnostics& notes) {
    const auto text = designTextBytes(libraryFolder, fileReference, designCode, notes);
    if (!text) return std::nullopt;
    const auto member = memberName(fileReference, designCode, MemberKind::DesignText);
    // A fresh file of our own: never one of the user's that happens to
    // carry the member's name.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::string path = temporaryPathFor(member->name);
        std::FILE* file = std::fopen(path.c_str(), "wbx");
        if (!file) continue;
        ExtractedDesign extracted(path, member->name);
        const bool written = std::fwrite(text->data(), 1, text->size(), file) == text->size();
        if (std::fclose(file) != 0 || !written) return std::nullopt;  // the file goes with `extracted`
        return extracted;
    }
    return std::nullopt;
}

ExtractedDesign::~ExtractedDesign() {
    if (!path_.empty()) std::remove(path_.c_str());
}

ExtractedDesign::ExtractedDesign(ExtractedDesign&& other) noexcept
    : path_(std::move(other.path_)), memberName_(std::move(other.memberName_)) {
    other.path_.clear();
}

ExtractedDesign& ExtractedDesign::operator=(ExtractedDesign&& other) noexcept {
    if (this != &other) {
        if (!path_.empty()) std::remove(path_.c_str());
        path_ = std::move(other.path_);
        memberName_ = std::move(other.memberName_);
        other.path_.clear();
    }
    return *this;
}

}  // namespace brevix
