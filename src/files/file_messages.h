#pragma once
// Every text the design files, exports and thumbnails show the user.
namespace brevix::filemsg {

// Shared by the writers (formats with a %s for the path).
inline constexpr const char* CANNOT_OPEN_TO_WRITE = "Cannot open %s to write.";
inline constexpr const char* CANNOT_OPEN_TO_WRITE_DXF = "Cannot open %s to write";
inline constexpr const char* ERROR_WRITING = "Error writing %s. Disk full?";
inline constexpr const char* CANNOT_OPEN_TO_READ = "Cannot open %s to read";

// Text format.
inline constexpr const char* NOT_ASC = "Not a Brevix text file";
inline constexpr const char* FACET_THROUGH_CENTER = "Facet through center ignored";
inline constexpr const char* G_WITHOUT_TEXT = "G but no cutting instructions";
inline constexpr const char* INDEX_BEFORE_ANGLE =
    "%d facet index(es) came before the first angle and depth (a record) and were ignored";
inline constexpr const char* INDEX_WITH_ZERO_GEAR =
    "%d facet index(es) were ignored because the index gear is 0";
inline constexpr const char* INDEX_NOT_FINITE =
    "%d facet index(es) with an angle, depth or index that is not a finite number were ignored";
inline constexpr const char* ASC_NAME_TRUNCATED =
    "A facet name longer than 255 characters was cut to its first 255";
inline constexpr const char* ASC_NAME_BLANKS =
    "Blanks in facet names were written as \"_\" so that each name reads back as one word "
    "(for example \"%s\")";
inline constexpr const char* ASC_LINE_BREAKS =
    "Line breaks in cutting instructions, heading or footnote lines were written as blanks "
    "so that each reads back as one line";
inline constexpr const char* ASC_TOO_LONG =
    "Cannot save as a text file: %s is %d characters long; a line of a text design file "
    "holds at most %d.\nShorten it and save again.";

// Both formats.
inline constexpr const char* GEAR_OUT_OF_RANGE =
    "The index gear in this file has %lld teeth; a design has at most 100000.\n"
    "Reading stopped there: the design holds what came before the gear.";
inline constexpr const char* GEAR_TOO_LARGE_TO_SAVE =
    "Cannot save: the index gear has %lld teeth; a design file holds at most 100000.\n"
    "Choose a smaller gear with Edit > Index Gear and save again.";

// Binary format.
inline constexpr const char* GEM_BAD_TEXT_LENGTH =
    "Binary file is corrupt.\n(While reading name/instructions. String length = %d)\n"
    "Could it be a text file?";
inline constexpr const char* GEM_BAD_RING =
    "Binary file is corrupt.\n(While skipping vertices.)\nCould it be a text file?";
inline constexpr const char* GEM_BAD_POLE =
    "Binary file is corrupt.\n(While reading a facet plane. Pole length = %g)\n"
    "Could it be a text file?";
inline constexpr const char* GEM_NO_END_OF_FACETS =
    "Binary file is corrupt.\n(It ends inside the list of facets.)\nCould it be a text file?";
inline constexpr const char* GEM_DEEP_PREFORMS =
    "Binary file is corrupt.\n(Preforms nested more than %d deep.)\nCould it be a text file?";
inline constexpr const char* GEM_HAS_PREFORM = "File has a preform";
inline constexpr const char* GEM_DOS_WARNING =
    "Warning: Line length > 79 characters will cause heading\nand/or footnote to be ignored by "
    "DOS Brevix";
inline constexpr const char* GEM_NAME_TABS =
    "Tab characters in facet names were written as blanks";
inline constexpr const char* GEM_TOO_NEAR_CENTRE =
    "Cannot save as a .gem file: %s lies %.6f from the centre; a .gem file holds facets at "
    "least 0.009 from it.\nSave as a text (.asc) file instead.";
inline constexpr const char* GEM_TOO_LONG =
    "Cannot save as a .gem file: %s is %d characters long; a .gem file holds at most %d.\n"
    "Shorten it, or save as a text (.asc) file.";

// Thumbnails.
inline constexpr const char* THB_POINT_OUT_OF_BOUNDS =
    "Thumbnail file problem: Point index out of bounds";
inline constexpr const char* THB_ENDED_ABNORMALLY = "Thumbnail file ended abnormally.";
inline constexpr const char* THB_TOO_LARGE =
    "Cannot export a thumbnail: %d facets and %d points, a thumbnail holds at most 65535 of each";

// A cut while reading left the polyhedron broken (found after the cut).
inline constexpr const char* BROKEN_AFTER_CUT =
    "Internal error: edge %d refers to a vertex or facet that is gone";
inline constexpr const char* READ_STOPPED_AT_FACET =
    "Reading stopped at facet plane %d; the design holds the facets before it";

}  // namespace brevix::filemsg
