#include "files/build_stone.h"

#include <memory>

#include "files/plane_cutter.h"
#include "platform/diag_codes.h"
#include "platform/strformat.h"

namespace brevix {

DesignSettings settingsOf(const Stone& stone) {
    return {stone.gear,     stone.indexOffset, stone.refractiveIndex, stone.symmetry,
            stone.mirror,   stone.heading,     stone.footnote};
}

void applySettings(Stone& stone, const DesignSettings& settings) {
    stone.gear = settings.gear;
    stone.indexOffset = settings.indexOffset;
    stone.refractiveIndex = settings.refractiveIndex;
    stone.symmetry = settings.symmetry;
    stone.mirror = settings.mirror;
    stone.heading = settings.heading;
    stone.footnote = settings.footnote;
}

namespace {

// Walks the record's notes and settings along with the planes cut.
class Reach {
public:
    Reach(Stone& stone, const DesignRecord& record) : stone_(stone), record_(record) {}

    // Everything reading found before plane `plane`.
    void to(size_t plane) {
        for (; note_ < record_.notes.size() && record_.notes[note_].atPlane <= plane; ++note_)
            stone_.addNote(record_.notes[note_].note);
        bool changed = false;
        for (; stage_ < record_.stages.size() && record_.stages[stage_].atPlane <= plane; ++stage_) changed = true;
        if (changed) applySettings(stone_, record_.stages[stage_ - 1].settings);
    }

private:
    Stone& stone_;
    const DesignRecord& record_;
    size_t note_ = 0;
    size_t stage_ = 0;
};

int cutPlane(PlaneCutter& cutter, const FacetPlane& plane) {
    return plane.form == FacetPlane::Angle ? cutter.cutByAngle(plane.azimuth, plane.tilt, plane.depth)
                                           : cutter.cut(plane.a, plane.b, plane.c, plane.d);
}

// The stone before the first cut that wiped out a facet, with the design's
// settings so far but no symmetry of its own.
void inferPreform(Stone& stone, const PlaneCutter& cutter) {
    std::unique_ptr<Stone> preform = cutter.stoneBeforeLastCut();
    preform->symmetry = 1;
    preform->mirror = 0;
    stone.setPreform(std::move(preform));
}

bool planeMayCut(const FacetPlane& plane) {
    return plane.form == FacetPlane::Angle ? PlaneCutter::mayCutByAngle(plane.azimuth, plane.tilt, plane.depth)
                                           : PlaneCutter::mayCut(plane.a, plane.b, plane.c, plane.d);
}

// Cuts the planes; the count of planes reading got to before a broken cut
// ended the design, or every plane.
size_t cutPlanes(Stone& stone, const DesignRecord& record, Reach& reach, int32_t localCutsFrom) {
    PlaneCutter cutter(stone, localCutsFrom);
    bool tierMade = false;  // some plane of the current tier made a facet
    const std::vector<FacetPlane>& planes = record.planes;
    size_t lastCutting = planes.size();
    while (lastCutting > 0 && !planeMayCut(planes[lastCutting - 1])) --lastCutting;
    for (size_t j = 0; j < planes.size(); ++j) {
        const FacetPlane& plane = planes[j];
        reach.to(j);
        if (j + 1 == lastCutting) cutter.finish();
        const int result = cutPlane(cutter, plane);
        if (result == PlaneCutter::BROKEN) return j;
        if (record.preformFromFirstLoss && result > 0 && !stone.preform) inferPreform(stone, cutter);
        if (j == 0 || plane.tier != planes[j - 1].tier) tierMade = false;
        tierMade = tierMade || result >= 0;
        if (result >= 0 && !plane.name.empty()) cutter.nameNewestFacet(plane.name);
        const bool instructed = record.instructionsFollowTier ? tierMade : result >= 0;
        if (instructed && !plane.instruction.empty()) cutter.instructNewestFacet(plane.instruction);
    }
    cutter.finish();
    reach.to(planes.size());
    return planes.size();
}

void tallyNotes(Stone& stone, const DesignRecord& record, size_t reached, bool broken) {
    for (const ReadTally& tally : record.tallies) {
        int count = 0;
        for (size_t at : tally.atPlane)
            if (!broken || at <= reached) ++count;
        if (count > 0) stone.addNote(tally.kind, tally.code, strprintf(tally.format.c_str(), count));
    }
}

}  // namespace

void buildStone(Stone& stone, const DesignRecord& record, int32_t localCutsFrom) {
    Reach reach(stone, record);
    const size_t reached = cutPlanes(stone, record, reach, localCutsFrom);
    const bool broken = reached < record.planes.size();
    tallyNotes(stone, record, reached, broken);
    if (broken || !record.preform) return;
    auto preform = std::make_unique<Stone>(ROUGH_HALF);
    buildStone(*preform, *record.preform, localCutsFrom);
    Diagnostics said = preform->takeDiagnostics();
    stone.setPreform(std::move(preform));
    // The preform was read after the design that holds it: its notes follow.
    stone.addNotes(std::move(said));
}

}  // namespace brevix
