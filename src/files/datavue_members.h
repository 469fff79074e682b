#pragma once
// Where a Datavue design's files live: a record's file reference and design
// code become a member name, and the member is looked for in the user's
// library, the update library and one library chosen by the design's volume.
#include <cstdint>
#include <optional>
#include <string>

#include "files/stow_library.h"

namespace brevix {

enum class MemberKind { Thumbnail, DesignText };

struct MemberName {
    std::string name;     // "PC0512.THB", "GX0512.WMF", "PC0512W.ASC", ...
    int volume = -1;      // from the reference's third and fourth characters; -1 when not digits
    bool picture = false; // the reference names a Windows metafile picture
};

// Nothing for a reference too short to carry the two-letter prefix.
std::optional<MemberName> memberName(const std::string& fileReference, const std::string& designCode,
                                     MemberKind kind);

// The library of the volume, for either kind: "GTHB0208.STO", "GASCWMF.STO", ...
std::string volumeLibrary(const MemberName& member, MemberKind kind);

// The folder of the index file, with a separator appended ("" when the path
// names no folder: the libraries are then looked for in the current folder).
std::string libraryFolderOf(const std::string& indexPath);

struct FoundThumbnail {
    StowMember member;
    bool picture = false;
};

// The design's thumbnail or picture. A picture found in none of the libraries
// is noted; a missing thumbnail is not. Every lookup below notes what a
// corrupt or newer library it meets has wrong, in `notes`.
std::optional<FoundThumbnail> findThumbnail(const std::string& libraryFolder, const std::string& fileReference,
                                            const std::string& designCode, Diagnostics& notes);

bool hasDesignText(const std::string& libraryFolder, const std::string& fileReference,
                   const std::string& designCode, Diagnostics& notes);

// A design text taken out of its library into a temporary file of its own,
// which goes when this object does. The member's name stays as the name the
// design is known by.
class ExtractedDesign {
public:
    ExtractedDesign(std::string path, std::string memberName)
        : path_(std::move(path)), memberName_(std::move(memberName)) {}
    ~ExtractedDesign();
    ExtractedDesign(ExtractedDesign&& other) noexcept;
    ExtractedDesign& operator=(ExtractedDesign&& other) noexcept;
    ExtractedDesign(const ExtractedDesign&) = delete;
    ExtractedDesign& operator=(const ExtractedDesign&) = delete;

    const std::string& path() const { return path_; }
    const std::string& memberName() const { return memberName_; }

private:
    std::string path_;
    std::string memberName_;
};

// Nothing for an empty reference or code, a member in no library, or a copy
// that failed (the temporary file is then removed at once).
std::optional<ExtractedDesign> extractDesignText(const std::string& libraryFolder,
                                                 const std::string& fileReference,
                                                 const std::string& designCode, Diagnostics& notes);

// The member's bytes as the library holds them (what extraction copies).
std::optional<std::string> designTextBytes(const std::string& libraryFolder, const std::string& fileReference,
                                           const std::string& designCode, Diagnostics& notes);

}  // namespace brevix
