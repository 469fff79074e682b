#pragma once
// Thumbnails (.thb): every corner in one signed byte per coordinate and
// every facet as the ring of its corner numbers plus the octant of its
// normal. Good for drawing a preview, not for cutting: the stone read back
// holds each edge twice (once per facet, both facet slots naming it).
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "kernel/stone.h"

namespace brevix {

constexpr double THB_SCALE = 115;
constexpr int THB_END_MARK = 255;

// The bytes of the thumbnail of `stone`; empty when it has more facets or
// points than a thumbnail can count (65535).
std::string thumbnailBytes(const Stone& stone);
// Writes through a temporary file that replaces `path` only when complete.
// Returns whether the file was written; when not, `notes` says why (too
// large for a thumbnail, or the file's own problem).
bool writeThb(const Stone& stone, const std::string& path, Diagnostics& notes);

// Fills `stone` with the display-only polyhedron of the thumbnail. Returns
// false when the thumbnail is unusable (a point number out of range): the
// stone is then left empty (no facets, no vertices), so the preview is blank.
bool readThb(Stone& stone, std::istream& in);
bool readThb(Stone& stone, std::span<const unsigned char> bytes);

}  // namespace brevix
