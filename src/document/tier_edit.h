#pragma once
// Editing a tier from its row of the cut list: which facet a row stands for,
// what the Edit Tier dialog shows, and what each of its buttons does to the
// document. The dialog itself is the GUI's; everything it decides is here.
#include <cstdint>
#include <optional>
#include <string>

namespace brevix {

class CGemDoc;
class Stone;

// The facet a row of the instruction table lists, and the stone that holds
// it: the design or, for the rows of the preform's section, its preform.
struct TierRow {
    Stone* stone = nullptr;
    int32_t facet = -1;
    bool inPreform = false;
};
// Rows that list no facet (section headings, continuation lines) give none.
std::optional<TierRow> facetOfRow(CGemDoc& doc, int row);

// What the Edit Tier dialog starts with.
struct TierEditFields {
    std::string name;         // at most 10 characters
    std::string instruction;  // at most 100 characters
    std::string angle;        // "%6.2f°" of the absolute angle, or " N/A"
};
inline constexpr int TIER_NAME_MAX = 10;
inline constexpr int TIER_INSTRUCTION_MAX = 100;
inline constexpr int TIER_ANGLE_MAX = 18;
TierEditFields tierEditFields(const Stone& stone, int32_t facet);
// Tables and girdle facets have no tangent to scale.
bool angleIsEditable(const Stone& stone, int32_t facet);

enum class TierEditAction { Apply, DeleteTier, Uncut, MoveUp, MoveDown, Cancel };

// Carries out the dialog's result for the facet of `row` (as facetOfRow
// found it just before the dialog opened) and updates the views. `typed`
// holds the fields as the user left them; only Apply reads them.
void applyTierEdit(CGemDoc& doc, const TierRow& row, TierEditAction action,
                   const TierEditFields& shown, const TierEditFields& typed);

// The Facet dialog's Apply: as Apply of the list, but the name goes on this
// facet only (its first word, or none).
void applyFacetEdit(CGemDoc& doc, const TierRow& row, const TierEditFields& shown,
                    const TierEditFields& typed);

}  // namespace brevix
