#pragma once
// Stow libraries (.STO): many member files packed into one, found through a
// table of contents at the end. The program only reads them, to take a
// design's text, thumbnail or picture out of the Datavue database.
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/diagnostics.h"

namespace brevix {

constexpr uint32_t STOW_MAGIC = 0x01234567;
// Version 1.100, the newest layout this reader knows, in thousandths.
constexpr int STOW_VERSION = 1100;

// A member found in a library: the open library, positioned at the member's
// first byte. Read at most `size` bytes; closing is dropping the stream.
struct StowMember {
    std::unique_ptr<std::istream> stream;
    uint32_t size = 0;
};

// Finds `member` (compared in upper case) in the library held by `library`,
// which is called `libraryName` in the notes on a corrupt or newer library.
// On success the stream stands at the member's first byte and its size is
// returned.
std::optional<uint32_t> stowFind(std::istream& library, const std::string& libraryName,
                                 const std::string& member, Diagnostics& notes);

// Opens the library by its bare name (the current folder), else in
// `libraryFolder`, and finds the member there. A missing library is silent.
std::optional<StowMember> stowOpen(const std::string& libraryFolder, const std::string& libraryName,
                                   const std::string& member, Diagnostics& notes);

// The member's bytes: at most `size`, fewer when the library ends first.
// Memory grows with what is actually there, never with what `size` claims.
std::vector<unsigned char> readMemberBytes(std::istream& in, uint32_t size);

}  // namespace brevix
