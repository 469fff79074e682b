#pragma once
// The search-by-example of the Datavue database, without its window: the
// index read into memory, the texts of the dialog's nine fields and its
// Shape list, stepping through the matches, and the preview of the record
// shown (a thumbnail stone or a metafile picture). The dialog in src/app is
// a thin skin over this.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/datavue_members.h"
#include "files/dbf_table.h"
#include "kernel/stone.h"

namespace brevix {

// The database fields the dialog knows, in the order of its edit fields;
// the last one names the design's library members and is not shown.
enum DatavueField : int {
    DV_NAME, DV_DESIGNER, DV_CODE, DV_LW, DV_INDEX, DV_FACETS, DV_VERSION, DV_REFERENCE, DV_REMARKS,
    DV_FILE,
    DV_FIELD_COUNT
};
constexpr int DV_EDIT_COUNT = DV_FILE;

struct DatavueFieldInfo {
    const char* name;   // in the index
    int controlId;      // of the dialog's edit field
    const char* label;
};
extern const std::array<DatavueFieldInfo, DV_FIELD_COUNT> DATAVUE_FIELDS;

constexpr int SHAPE_COUNT = 47;
extern const std::array<const char*, SHAPE_COUNT> SHAPE_NAMES;
// The symmetry each shape gives the preview stone.
extern const std::array<int, SHAPE_COUNT> SHAPE_SYMMETRY;
// The Shape box with nothing chosen.
constexpr int NO_SHAPE = -1;

// The number before the first dot of a design code, as the Shape box
// shows it: 0 ("Any") when there is none or it names no shape.
int shapeOfCode(std::string_view code);

// Where the index is: the registry value "Path" under Software\Brevix\Database,
// which a key made for the first time gets as "c:\dvue2\dlist.dbf". Nothing
// when the registry cannot be used.
inline constexpr const char* DATABASE_KEY = "Software\\Brevix\\Database";
inline constexpr const char* DATABASE_VALUE = "Path";
inline constexpr const char* DEFAULT_DATABASE_PATH = "c:\\dvue2\\dlist.dbf";
std::optional<std::string> databasePath();
bool storeDatabasePath(const std::string& path);

enum class PreviewKind { None, Thumbnail, Picture };

class DatavueSearch {
public:
    // Takes the index read by readDbf and looks up its fields; each field
    // the search does not know is noted once (see takeNotes).
    void attach(DbfTable table, std::string libraryFolder);
    const DbfTable& table() const { return table_; }
    const std::string& libraryFolder() const { return libraryFolder_; }
    int fieldIndex(int field) const { return fieldIndexes_[field]; }

    // ---- what the dialog shows --------------------------------------------
    std::array<std::string, DV_EDIT_COUNT> edits;
    int shape = NO_SHAPE;
    // Set while the fields hold what the search itself put there.
    bool updating = true;

    // The user changed the text of an edit field.
    void editChanged(int field, std::string text);
    // The user chose shape k in the Shape box (NO_SHAPE or 0: "Any"); the
    // search forward follows at once, as Find Next.
    enum class Outcome { Shown, LastOne, Beep };
    Outcome shapeChosen(int k);

    // Find Next (+1) and Previous (-1). Shown: the record's values are in the
    // fields and its preview is loaded. LastOne: "Last one, %d total" was
    // noted. Beep: nothing more to find.
    Outcome findAndShow(int step);

    int32_t currentRecord() const { return currentRecord_; }
    int foundCount() const { return foundCount_; }
    bool queryChanged() const { return queryChanged_; }

    // ---- preview and Open --------------------------------------------------
    PreviewKind previewKind() const { return previewKind_; }
    Stone* previewStone() { return previewStone_.get(); }
    const std::vector<unsigned char>& picture() const { return picture_; }
    // The caption of the preview area: "PREVIEW", "PREVIEW NOT AVAILABLE" or "".
    const std::string& caption() const { return caption_; }
    // Whether the record shown has its design text in a library.
    bool canOpen() const { return canOpen_; }
    // The shown record's design text in a temporary file; nothing when no
    // record is shown or its text cannot be had.
    std::optional<ExtractedDesign> openDesign();

    // What the search noted since it was last asked, in order: fields it
    // does not know, "Last one, %d total", libraries that are corrupt or
    // newer, a thumbnail that would not read. The dialog shows them after
    // each step; the search itself shows nothing.
    Diagnostics takeNotes() { return std::exchange(notes_, Diagnostics()); }

    // The value of a database field in the current record ("" for none).
    std::string currentValue(int field) const;

private:
    void showRecord();
    void loadPreview();

    DbfTable table_;
    std::string libraryFolder_;
    std::array<int, DV_FIELD_COUNT> fieldIndexes_{};
    int32_t currentRecord_ = -1;
    int foundCount_ = 0;
    bool queryChanged_ = true;
    DbfQuery query_;
    std::array<std::string, DV_EDIT_COUNT> queryTexts_;

    PreviewKind previewKind_ = PreviewKind::None;
    std::unique_ptr<Stone> previewStone_;
    std::vector<unsigned char> picture_;
    std::string caption_ = "  PREVIEW";
    bool canOpen_ = false;
    Diagnostics notes_;
};

}  // namespace brevix
