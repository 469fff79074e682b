#pragma once
// Every text the Datavue database search shows the user: the stow
// libraries, the search dialog and the opening of a design from it.
namespace brevix::dbmsg {

// Stow libraries (the %s is the library's name).
inline constexpr const char* STOW_HEADER_WRONG = "Stow file %s is corrupt: header wrong\n";
inline constexpr const char* STOW_NEWER_VERSION = "Warning: %s was written with version %d.%03d";
inline constexpr const char* STOW_OWN_VERSION = "But this is only version %d.%03d";
inline constexpr const char* STOW_TOC_POINTER = "Stow file %s is corrupt: table of contents pointer foul\n";
inline constexpr const char* STOW_VERSION_MISMATCH = "Stow file %s is corrupt: version number mismatch\n";
inline constexpr const char* STOW_POSITION_MISMATCH = "Stow file %s is corrupt: contents position mismatch\n";
inline constexpr const char* STOW_COUNT_MISMATCH = "Stow file %s is corrupt: number of files mismatch\n";
inline constexpr const char* CANNOT_OPEN_MEMBER = "Cannot open %s in library %s";

// Notes of the index reader, for standard error only.
inline constexpr const char* DBF_ENDED = "File ended prematurely\n";
inline constexpr const char* DBF_RECORDS_READ = "Only %d out of %lld records read\n";

// The search dialog and the command behind it.
inline constexpr const char* DIALOG_TITLE = "Search Datavue Database";
inline constexpr const char* REGISTRY_FAILED = "Could not access registry!";
inline constexpr const char* LOCATE_INDEX_TITLE = "Search for dlist.dbf";
inline constexpr const char* LOCATE_INDEX_FILTER = "DBF Files (*.dbf)|*.dbf|All Files (*.*)|*.*||";
inline constexpr const char* LOCATE_INDEX_EXTENSION = "DBF";
inline constexpr const char* UNRECOGNIZED_FIELD = "Database has unrecognized field:\n%s";
inline constexpr const char* LAST_ONE = "Last one, %d total";
inline constexpr const char* PREVIEW = "PREVIEW";
inline constexpr const char* PREVIEW_INITIAL = "  PREVIEW";
inline constexpr const char* PREVIEW_NOT_AVAILABLE = "PREVIEW NOT AVAILABLE";
inline constexpr const char* NO_SUCH_DESIGN = "No such design.";

}  // namespace brevix::dbmsg
