#pragma once
// The values a design file may give a design, checked in one place for
// both formats: a refractive index, symmetry or index offset outside these
// limits is refused as the program's own fields and options refuse it,
// instead of surfacing later as "nan%" brightness or "nan" indexes.
#include <string>

namespace brevix {

// The refractive indexes a cutter can type (Raytrace Properties, --ri).
inline constexpr double MIN_FILE_REFRACTIVE_INDEX = 1.01, MAX_FILE_REFRACTIVE_INDEX = 3.0;
// Far beyond any design (a dodecagon is 12-fold); a symmetry that large
// would have every cut make millions of facets.
inline constexpr long long MAX_FILE_SYMMETRY = 1000;

// Each returns "" when a design may hold the value, otherwise a sentence
// saying what the file holds and what a design may hold instead.
std::string refractiveIndexProblem(double refractiveIndex);
std::string symmetryProblem(long long symmetry);
std::string indexOffsetProblem(double indexOffset);
// The gear's limit (at most MAX_GEAR_TEETH teeth either way), as the whole
// message: both formats stop reading at such a gear. A zero gear is read,
// as a design may have one, and reported where indexes are shown.
std::string gearProblem(long long gear);

// The message for a refused value: the problem, then on a line of its own
// what became of it. The design keeps the value it had (`kept`, as shown),
// except where the text format stops reading at an offset: the facets after
// it would be cut at the wrong places.
std::string valueKeptMessage(const std::string& problem, const std::string& kept);
std::string readingStoppedMessage(const std::string& problem);

}  // namespace brevix
