#include "assistant/cutting_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "design/design_text.h"

namespace brevix {

namespace {

constexpr double kIndexTolerance = 0.001;

struct Listed {
    double index;
    int32_t facet;
};

// One row of the instructions: the facets of a tier as they are listed.
struct Row {
    int section = 0;
    std::string name;
    std::string instruction;
    double angle = 0;
    double c = 0;
    std::vector<Listed> entries;
};

bool isWholeIndex(double i) {
    double f = i - std::trunc(i);
    while (f < -EPS) f += 1;
    while (f > NEAR_ONE) f -= 1;
    return f <= EPS;
}

std::string formatIndex(double value, bool whole, int digits) {
    char buffer[64];
    if (whole)
        std::snprintf(buffer, sizeof buffer, "%0*.0f", digits, value);
    else
        std::snprintf(buffer, sizeof buffer, "%0*.1f", digits + 2, value);
    return buffer;
}

// The rows in the order of the design, with each facet's index as the
// instructions print it (the same folding and mirroring as the text).
std::vector<Row> instructionRows(const Stone& stone, double notches) {
    std::vector<Row> rows;
    const Sections sections = findSections(stone);
    const auto fold = [notches](double value) {
        return std::fabs(std::fabs(value) - notches) < kIndexTolerance ? 0.0 : value;
    };
    Row row;
    bool open = false;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        const bool girdle = std::fabs(f.c) <= EPS;
        double index = fold(stone.facetIndexOf(i));
        double angle = std::fabs(stone.facetAngleOf(i));
        if (girdle) {
            if (sections.girdle == SECTION_PAVILION) index = notches - index;
            angle = 90;
        } else if (f.c < -EPS) {
            index = fold(notches - index);
        }
        index = fold(index);
        if (!open) {
            row = Row{};
            row.section = girdle ? sections.girdle : (f.c > EPS ? SECTION_CROWN : SECTION_PAVILION);
            row.angle = angle;
            row.c = f.c;
            row.instruction = stone.instructionOf(i);
            open = true;
        }
        if (row.name.empty()) row.name = f.name;
        row.entries.push_back({index, i});

        int32_t nextTier = -1;
        for (int32_t j = i + 1; j < stone.nFacet; ++j)
            if (!stone.facets[j].isRough()) {
                nextTier = stone.facets[j].tier;
                break;
            }
        if (f.tier == nextTier) continue;
        rows.push_back(std::move(row));
        open = false;
    }
    return rows;
}

}  // namespace

CuttingPlan cuttingPlan(const Stone& stone, bool byTier) {
    CuttingPlan plan;
    if (stone.nFacet == 0 || stone.gear == 0) return plan;
    const double notches = std::fabs(static_cast<double>(stone.gear));
    int digits = notches >= 1 ? static_cast<int>(std::trunc(std::log10(notches))) + 1 : 1;
    digits = std::clamp(digits, 1, 10);

    std::vector<Row> rows = instructionRows(stone, notches);
    int previousSection = 0;
    for (Row& row : rows) {
        // Sorted as the text sorts them; a facet at notch 0 is listed as the
        // full gear, first, where the sort put it.
        std::stable_sort(row.entries.begin(), row.entries.end(),
                         [](const Listed& x, const Listed& y) { return x.index < y.index; });
        if (std::fabs(row.entries[0].index) < kIndexTolerance) row.entries[0].index = notches;
        const bool level = row.entries.size() == 1 && row.angle < kIndexTolerance;
        bool whole = true;
        for (const Listed& e : row.entries) whole = whole && isWholeIndex(e.index);

        if (previousSection != 0 && row.section != previousSection) {
            CuttingStep transfer;
            transfer.kind = StepKind::Transfer;
            plan.steps.push_back(transfer);
        }
        previousSection = row.section;

        CuttingStep base;
        base.section = row.section;
        base.tier = plan.tierCount;
        base.tierName = row.name;
        base.instruction = row.instruction;
        base.angle = row.angle;
        base.isTable = level;
        const auto text = [&](double index) {
            if (level) return std::string(row.c > EPS ? "Table" : "Culet");
            return formatIndex(index, whole, digits);
        };
        if (byTier) {
            CuttingStep step = base;
            step.kind = StepKind::Tier;
            for (const Listed& e : row.entries) {
                step.indexes.push_back(e.index);
                step.indexTexts.push_back(text(e.index));
                step.facets.push_back(e.facet);
            }
            plan.steps.push_back(std::move(step));
        } else {
            for (const Listed& e : row.entries) {
                CuttingStep step = base;
                step.indexes = {e.index};
                step.indexTexts = {text(e.index)};
                step.facets = {e.facet};
                if (stone.mirror && !level) {
                    double partner = notches - e.index;
                    if (std::fabs(partner) < kIndexTolerance) partner = notches;
                    if (std::fabs(partner - e.index) >= kIndexTolerance) {
                        for (const Listed& other : row.entries)
                            if (std::fabs(other.index - partner) < kIndexTolerance)
                                step.mirrorText = text(other.index);
                    }
                }
                plan.steps.push_back(std::move(step));
            }
        }
        plan.facetCount += static_cast<int>(row.entries.size());
        ++plan.tierCount;
    }
    return plan;
}

std::string joinedIndexes(const CuttingStep& step) {
    std::string out;
    for (size_t k = 0; k < step.indexTexts.size(); ++k) {
        if (k) out += "-";
        out += step.indexTexts[k];
    }
    return out;
}

}  // namespace brevix
