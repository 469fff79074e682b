#include "files/datavue_search.h"

#include <cstdio>

#include "files/datavue_messages.h"
#include "files/thumbnail.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/registry.h"
#include "platform/strformat.h"

namespace brevix {

const std::array<DatavueFieldInfo, DV_FIELD_COUNT> DATAVUE_FIELDS = {{
    {"D_NAME", 2000, "Design Name"},
    {"D_DESIGNER", 2002, "Designer"},
    {"D_CODE", 2003, "Code"},
    {"D_LW", 2005, "L/W"},
    {"D_INDEX", 2006, "Index"},
    {"D_FACETS", 2007, "Facets"},
    {"D_VERSION", 2009, "Rev."},
    {"D_REFERENC", 2008, "Reference"},
    {"D_REMARKS", 2010, "Remarks"},
    {"BMP_FILE", 0, nullptr},
}};

const std::array<const char*, SHAPE_COUNT> SHAPE_NAMES = {
    "Any", "01 Round", "02 Oval", "03 Navette (Marquise)", "04 Emerald", "05 Pear", "06 Rectangle",
    "07 Square Emerald", "08 Antique Cushion", "09 Sq. Antique Chushion", "10 Heart", "11 Square",
    "12 Baguette", "13 Cushion Triangle", "14 Triangle", "15 Old Mine", "16 Cut Corner Triangle",
    "17 Barrel", "18 Kite", "19 Keystone", "20 Seminavette", "21 Octagon", "22 Whistle", "23 Shield",
    "24 Trapeze", "25 Tapered Pentagon", "26 Calf's Head", "27 Epaulette", "28 Hexagon", "29 Losenge",
    "30 Pentagon", "31 Bullet", "32 Fan", "33 Rhomboid", "34 Star", "35 Window", "36 Navette Oval",
    "37 Heptagon (7)", "38 Nonagon (9)", "39 Undecagon (11)", "40 Long Hexagon", "41 Long Octagon",
    "42 Decagon (10)", "43 Freeform, Small", "44 Freeform, Large", "45 Dodecagon (12)", "46 Coffin",
};

const std::array<int, SHAPE_COUNT> SHAPE_SYMMETRY = {
    1, 8, 2, 2, 2, 1, 2, 4, 2, 4, 1, 4, 2, 3, 3, 4, 3, 2, 1, 1, 1, 8, 1, 1,
    1, 1, 1, 1, 6, 2, 5, 1, 1, 2, 5, 1, 2, 7, 9, 11, 2, 2, 10, 1, 1, 12, 1,
};

int shapeOfCode(std::string_view code) {
    int number = 0;
    const std::string text(code);
    if (std::sscanf(text.c_str(), "%d.", &number) != 1) return 0;
    return number >= 0 && number < SHAPE_COUNT ? number : 0;
}

std::optional<std::string> databasePath() {
    switch (regCreateKey(RegRoot::CurrentUser, DATABASE_KEY)) {
    case RegOpen::Created:
        regSetString(RegRoot::CurrentUser, DATABASE_KEY, DATABASE_VALUE, DEFAULT_DATABASE_PATH);
        return std::string(DEFAULT_DATABASE_PATH);
    case RegOpen::Opened:
        return regGetString(RegRoot::CurrentUser, DATABASE_KEY, DATABASE_VALUE).value_or(std::string());
    default: return std::nullopt;
    }
}

bool storeDatabasePath(const std::string& path) {
    return regSetString(RegRoot::CurrentUser, DATABASE_KEY, DATABASE_VALUE, path);
}

void DatavueSearch::attach(DbfTable table, std::string libraryFolder) {
    table_ = std::move(table);
    libraryFolder_ = std::move(libraryFolder);
    fieldIndexes_.fill(-1);
    for (int32_t i = 0; i < table_.fieldCount; ++i) {
        bool known = false;
        for (int f = 0; f < DV_FIELD_COUNT; ++f) {
            if (table_.fieldNames[i] == DATAVUE_FIELDS[f].name) {
                fieldIndexes_[f] = i;
                known = true;
            }
        }
        if (!known) notes_.warning(DiagCode::FileDatabaseUnknownField, strprintf(dbmsg::UNRECOGNIZED_FIELD, table_.fieldNames[i].c_str()));
    }
    currentRecord_ = -1;
    queryChanged_ = true;
    foundCount_ = 0;
    updating = true;
}

void DatavueSearch::editChanged(int field, std::string text) {
    if (field < 0 || field >= DV_EDIT_COUNT) return;
    edits[field] = std::move(text);
    if (updating) return;
    updating = true;
    for (int f = 0; f < DV_EDIT_COUNT; ++f)
        if (f != field) edits[f].clear();
    shape = NO_SHAPE;
    queryChanged_ = true;
    foundCount_ = 0;
}

DatavueSearch::Outcome DatavueSearch::shapeChosen(int k) {
    if (!updating) {
        updating = true;
        for (std::string& text : edits) text.clear();
        foundCount_ = 0;
    }
    queryChanged_ = true;
    shape = k;
    edits[DV_CODE] = k >= 1 && k < SHAPE_COUNT ? strprintf("%02d.", k) : std::string();
    return findAndShow(+1);
}

DatavueSearch::Outcome DatavueSearch::findAndShow(int step) {
    if (queryChanged_) {
        query_.assign(static_cast<size_t>(table_.fieldCount), std::string());
        for (int f = 0; f < DV_EDIT_COUNT; ++f) {
            queryTexts_[f] = edits[f];
            if (fieldIndexes_[f] >= 0) query_[fieldIndexes_[f]] = edits[f];
        }
        queryChanged_ = false;
        currentRecord_ = -1;
    }
    const int32_t start = currentRecord_ == -1 ? (step > 0 ? 1 : table_.recordCount - 1) : currentRecord_ + step;
    currentRecord_ = findRecord(table_, query_, start, step);
    // Record 0 of the index is never shown.
    if (currentRecord_ > 0 && currentRecord_ < table_.recordCount) {
        showRecord();
        return Outcome::Shown;
    }

    Outcome outcome = Outcome::Beep;
    if (step > 0 && foundCount_ >= 1) {
        notes_.info(DiagCode::FileDatabaseLastOne, strprintf(dbmsg::LAST_ONE, foundCount_));
        outcome = Outcome::LastOne;
    }
    previewStone_.reset();
    previewKind_ = PreviewKind::None;
    canOpen_ = false;
    edits = queryTexts_;
    shape = NO_SHAPE;
    queryChanged_ = true;
    foundCount_ = 0;
    return outcome;
}

std::string DatavueSearch::currentValue(int field) const {
    const auto value = fieldValue(table_, currentRecord_, fieldIndexes_[field]);
    return value ? std::string(*value) : std::string();
}

void DatavueSearch::showRecord() {
    updating = true;
    for (int f = 0; f < DV_EDIT_COUNT; ++f) edits[f] = currentValue(f);
    shape = shapeOfCode(edits[DV_CODE]);
    ++foundCount_;
    loadPreview();
    canOpen_ = hasDesignText(libraryFolder_, currentValue(DV_FILE), currentValue(DV_CODE), notes_);
    updating = false;
}

void DatavueSearch::loadPreview() {
    auto found = findThumbnail(libraryFolder_, currentValue(DV_FILE), currentValue(DV_CODE), notes_);
    if (!found) {
        previewStone_.reset();
        previewKind_ = PreviewKind::None;
        caption_ = dbmsg::PREVIEW_NOT_AVAILABLE;
        return;
    }
    const std::vector<unsigned char> bytes = readMemberBytes(*found->member.stream, found->member.size);
    if (found->picture) {
        previewStone_.reset();
        picture_ = bytes;
        previewKind_ = PreviewKind::Picture;
        caption_.clear();
        return;
    }
    caption_ = dbmsg::PREVIEW;
    if (!previewStone_) previewStone_ = std::make_unique<Stone>(ROUGH_HALF);
    const bool read = readThb(*previewStone_, bytes);
    notes_.append(previewStone_->takeDiagnostics());
    if (!read) {
        previewStone_.reset();
        previewKind_ = PreviewKind::None;
        return;
    }
    int gear = 0;
    if (std::sscanf(currentValue(DV_INDEX).c_str(), "%d", &gear) == 1 && gear > 0) previewStone_->gear = gear;
    previewStone_->symmetry = SHAPE_SYMMETRY[shape >= 0 ? shape : 0];
    previewStone_->mirror = 0;
    previewKind_ = PreviewKind::Thumbnail;
}

std::optional<ExtractedDesign> DatavueSearch::openDesign() {
    if (currentRecord_ < 0 || currentRecord_ >= table_.recordCount) return std::nullopt;
    return extractDesignText(libraryFolder_, currentValue(DV_FILE), currentValue(DV_CODE), notes_);
}

}  // namespace brevix
