#pragma once
// Every text the document's file side shows the user, and its dialog filters.
namespace brevix::docmsg {

inline constexpr const char* CORRUPT_GEM = "Corrupt GEM file: %s";
inline constexpr const char* CORRUPT_ASC = "Corrupt ASC file: %s";
// A hand-edited text design often lacks the final line break: it is read all the same.
inline constexpr const char* LAST_LINE_UNENDED = "%s: the last line has no line break";
inline constexpr const char* CANNOT_READ_TYPE = "Don't know how to read file of type %s";
inline constexpr const char* NO_FILE_NAME = "No file name in OnSaveDocument(). Use Save As";
inline constexpr const char* TYPE_UNDEFINED = "Output file type undefined. Defaulting to .gem";
inline constexpr const char* CANNOT_WRITE_TYPE = "Don't know how to write %s";
inline constexpr const char* ALREADY_OPEN = "%s already open.\nOpen the most recently saved version?";
inline constexpr const char* ALREADY_EXISTS = "%s already exists.\nDo you want to replace it?";
inline constexpr const char* CHANGED_ON_DISK =
    "%s has been changed on disk since it was opened or saved here, by another window or "
    "program.\n\nYes: replace it with the design in this window.\nNo: save the design under "
    "another name.\nCancel: do not save.";
inline constexpr const char* UNSUPPORTED_EXTENSION = "Unsupported file type extension.";
inline constexpr const char* UNSUPPORTED_TYPE = "Unsupported file type: %s";
inline constexpr const char* UNSUPPORTED_EXPORT = "Unsupported filed type.";  // spelled so

inline constexpr const char* OPEN_FILTER =
    "Brevix Files (*.gem)|*.gem|Brevix ASCII or Datavue Files (*.asc)|*.asc|"
    "Brevix design with intent (*.brx)|*.brx||";
inline constexpr const char* SAVE_FILTER =
    "Brevix File (*.gem)|*.gem|Brevix ASCII or Datavue File (*.asc)|*.asc|"
    "Brevix design with intent (*.brx)|*.brx||";
inline constexpr const char* INTENT_NOT_STORED =
    "The cutting intent is not stored in .gem or .asc files: opened again, the design's intent is "
    "inferred from its planes. Save as .brx to keep it.";
inline constexpr const char* SAVE_TYPE_NOTE =
    ".gem and .asc keep only the planes; .brx keeps the meets as well.";
inline constexpr const char* EXPORT_FILTER =
    "VRML File (*.wrl)|*.wrl|Autodesk DXF (*.dxf)|*.dxf|Quorly B3D (*.b3d)|*.b3d|Thumb File "
    "(*.thb)|*.thb|STL Mesh (*.stl)|*.stl|Wavefront OBJ (*.obj)|*.obj||";
inline constexpr const char* EXPORT_TITLE = "Export";

inline constexpr const char* NO_FACETS = "No Facets";
inline constexpr const char* ONE_FACET = "1 Facet";
inline constexpr const char* FACETS = "%d facets\n";
inline constexpr const char* FACETS_WITH_GIRDLES = "%d + %d girdles = %d facets\n";
inline constexpr const char* LENGTH_WIDTH = "L/W=%.3f";
inline constexpr const char* REFRACTIVE_INDEX = "RI=%.3f";

}  // namespace brevix::docmsg
