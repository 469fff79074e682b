#pragma once
// Both design formats store lengths in file units, a tenth larger than the
// design's own: file length = internal length / FILE_SCALE.
namespace brevix {

constexpr double FILE_SCALE = 0.9;

}  // namespace brevix
