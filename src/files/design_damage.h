#pragma once
// Whether a design file ends before its design does: a copy broken off, a
// download or a save cut short. The readers take such a file quietly as far
// as it goes (an empty .gem reads as an empty design); these checks tell the
// caller, so that nothing is written from it as if it were whole.
#include <iosfwd>
#include <span>
#include <string>

namespace brevix {

// "Damaged file: %s" followed by one of the reasons below on its own line.
inline constexpr const char* DAMAGED_FILE = "Damaged file: %s";

// "" when the binary design in `in` is complete, else where it ends ("The
// file is empty.", "It ends inside its design settings.", ...). Only the
// lengths are checked: values a reader refuses are the reader's to report.
// The stream position is left where it was.
std::string gemDamage(std::istream& in);
std::string gemDamage(std::span<const unsigned char> bytes);

// Whether the text design's last line has no line end. Many editors leave
// it off, and a text design cut short at a line end looks whole anyway, so
// such a file is read; this only tells the caller, so it can say so.
bool lastLineUnended(std::istream& in);
bool lastLineUnended(std::span<const unsigned char> bytes);

}  // namespace brevix
