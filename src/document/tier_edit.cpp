#include "document/tier_edit.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/tiers.h"
#include "design/transforms.h"
#include "facet_placement/cut_facet_form.h"
#include "document/gem_doc.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// A new angle closer than this to the one shown counts as unchanged.
constexpr double ANGLE_UNCHANGED = 0.005;

// The first word of the field, as "%s" reads it.
std::string firstWord(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r\n\f\v");
    if (start == std::string::npos) return {};
    const size_t end = text.find_first_of(" \t\r\n\f\v", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// `facetOnly`: the name goes on the row's facet alone instead of the tier.
void applyEdits(CGemDoc& doc, const TierRow& row, const TierEditFields& shown,
                const TierEditFields& typed, bool facetOnly = false) {
    const Stone& shownStone = *row.stone;
    const std::string name = firstWord(typed.name);
    const bool nameChanged = name != firstWord(shown.name);
    const bool instructionChanged = typed.instruction != shown.instruction;

    std::optional<double> newAngle;
    if (angleIsEditable(shownStone, row.facet)) {
        const std::optional<double> value = scanDouble(typed.angle);
        const std::optional<double> before = scanDouble(shown.angle);
        if (value && before && std::fabs(*value - *before) > ANGLE_UNCHANGED) newAngle = value;
    }
    // Nothing changed: no undo entry, no mark, but the views follow as after any edit.
    const std::string entry = "Edit Tier " + tierName(shownStone, row.facet);
    if (!nameChanged && !instructionChanged && !newAngle) {
        doc.model().apply({.name = entry, .kind = NamesChanged, .change = [](DesignModel::Draft&) { return false; }});
        return;
    }

    const auto renameAndInstruct = [&](Stone& target) {
        if (nameChanged) {
            if (facetOnly)
                target.setFacetName(row.facet, name);
            else
                changeTierName(target, row.facet, name);
        }
        if (instructionChanged) setTierInstruction(target, row.facet, typed.instruction);
    };
    // Only angles strictly between flat and vertical have a tangent to
    // scale to; anything else would fold the half through the girdle.
    const bool angleInRange = newAngle && *newAngle > 0 && *newAngle < 90;
    if (angleInRange && !row.inPreform && row.stone == doc.stone()) {
        // The design is re-cut by its intent: later tiers keep meeting what
        // they were cut to meet. Names go in with the re-cut, and a re-cut
        // that is refused takes them back with it: the edit is one change.
        doc.recutTierAngle(row.facet, *newAngle, renameAndInstruct);
        return;
    }
    // One undo entry for the whole edit, so that renaming a tier or changing
    // its instruction can be undone and marks the design as changed.
    doc.model().apply({.name = entry,
                       .kind = newAngle ? GeometryChanged | NamesChanged : NamesChanged,
                       .change = [&](DesignModel::Draft& d) {
                           // The row may show the preform: the change goes to the row's own stone.
                           Stone& stone = row.inPreform ? *d.stone().preform : d.stone();
                           renameAndInstruct(stone);
                           if (newAngle && !angleInRange) {
                               doc.say("Angle out of range.");
                           } else if (newAngle) {
                               const double oldAngle = std::fabs(stone.facetAngleOf(row.facet));
                               const double ratio = std::tan(*newAngle * PI / 180) / std::tan(oldAngle * PI / 180);
                               const int side = stone.facets[row.facet].c >= EPS ? 1 : -1;
                               computeBounds(stone);
                               stretchHeight(stone, side, ratio);
                           }
                           return true;
                       }});
}

// The stone of the row within the design being changed: the design or its preform.
Stone& rowStone(DesignModel::Draft& d, const TierRow& row) {
    return row.inPreform ? *d.stone().preform : d.stone();
}

}  // namespace

std::optional<TierRow> facetOfRow(CGemDoc& doc, int row) {
    Stone* design = doc.stone();
    if (!design || row < 0) return std::nullopt;
    // Numbered afresh, so that the row finds the facet it shows now.
    int lines = 0;
    InstructionText text;
    instructionText(*design, CUT_LIST_WIDTH, lines, text);
    doc.keepNotes(std::move(text.notes));
    const ListedFacet listed = facetOnLine(text, row);
    if (listed.facet < 0) return std::nullopt;
    return TierRow{listed.inPreform ? design->preform.get() : design, listed.facet, listed.inPreform};
}

bool angleIsEditable(const Stone& stone, int32_t facet) {
    const double angle = std::fabs(stone.facetAngleOf(facet));
    return std::fabs(angle) >= EPS && std::fabs(angle - 90) >= EPS;
}

TierEditFields tierEditFields(const Stone& stone, int32_t facet) {
    TierEditFields fields;
    // The row lists the tier under the name of its first named facet; the
    // facet the row maps to may be an unnamed one of the same tier, and an
    // empty field would clear the tier's name on Apply.
    fields.name = stone.facetName(facet);
    if (fields.name.empty()) fields.name = tierName(stone, facet);
    fields.instruction = tierInstruction(stone, facet);
    fields.angle = angleIsEditable(stone, facet)
                       ? strprintf("%6.2f\xB0", std::fabs(stone.facetAngleOf(facet)))
                       : std::string(" N/A");
    return fields;
}

void applyFacetEdit(CGemDoc& doc, const TierRow& row, const TierEditFields& shown,
                    const TierEditFields& typed) {
    if (!row.stone || row.facet < 0 || row.facet >= row.stone->nFacet) return;
    applyEdits(doc, row, shown, typed, true);
}

void applyTierEdit(CGemDoc& doc, const TierRow& row, TierEditAction action,
                   const TierEditFields& shown, const TierEditFields& typed) {
    if (!row.stone || row.facet < 0 || row.facet >= row.stone->nFacet) return;
    const std::string tier = tierName(*row.stone, row.facet);
    switch (action) {
    case TierEditAction::Cancel:
        return;
    case TierEditAction::Apply:
        // The edit keeps an undo entry only when something changes.
        applyEdits(doc, row, shown, typed);
        return;
    case TierEditAction::DeleteTier:
        doc.model().apply({.name = "Delete Tier " + tier, .change = [&](DesignModel::Draft& d) {
                               Stone& stone = rowStone(d, row);
                               deleteTier(stone, stone.tierOf(row.facet));
                               return true;
                           }});
        return;
    case TierEditAction::Uncut:
        // Takes its own snapshot; a preform row only gets a message.
        doc.uncutTier(row.facet, row.inPreform);
        return;
    case TierEditAction::MoveUp:
    case TierEditAction::MoveDown:
        doc.model().apply({.name = (action == TierEditAction::MoveDown ? "Move Down " : "Move Up ") + tier,
                           .kind = NamesChanged,
                           .change = [&](DesignModel::Draft& d) {
                               moveTier(rowStone(d, row), row.facet, action == TierEditAction::MoveDown);
                               return true;
                           }});
        return;
    }
}

}  // namespace brevix
