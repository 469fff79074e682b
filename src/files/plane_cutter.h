#pragma once
// Cuts the planes a design file holds into a stone, one by one, and keeps a
// log of every cut, name and instruction. Replaying the first steps of the
// log into the fresh stone gives exactly the stone as it was at that point
// (cutting is deterministic), which serves two needs without copying the
// stone before every cut:
//  - the text format infers its preform as "the stone before the first cut
//    that wiped out a facet";
//  - when the kernel gives up on a plane (bad bytes can make any plane), the
//    stone is put back as it was before that plane and reading stops.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/local_cut.h"
#include "kernel/stone.h"

namespace brevix {

class PlaneCutter {
public:
    // Result of a cut the kernel could not make: its message has been shown,
    // the stone is back as before this plane, and the reader must stop.
    static constexpr int BROKEN = -2;

    // `stone` is the caller's freshly constructed rough stone. Until
    // finish(), the stone is cut locally (kernel/local_cut.h): between cuts
    // only its own fields and its newest facet may be touched, and that
    // through this cutter.
    explicit PlaneCutter(Stone& stone, int32_t localCutsFrom = LOCAL_CUT_SMALLEST_STONE);

    // newFacet's result, or BROKEN. A plane that is not finite cuts nothing (-1).
    int cut(double a, double b, double c, double d);
    // cutByAngle's result, or BROKEN. Azimuth, tilt and depth must be finite
    // and the depth not below 1e-300 in size; otherwise nothing is cut (-1).
    int cutByAngle(double azimuth, double tilt, double depth);
    // Whether cut or cutByAngle would hand the plane to the kernel at all:
    // the last such plane of a design is best cut after finish().
    static bool mayCut(double a, double b, double c, double d);
    static bool mayCutByAngle(double azimuth, double tilt, double depth);

    // The facet the latest cut made, or the one before it when that cut made none.
    void nameNewestFacet(std::string_view name);
    void instructNewestFacet(std::string_view text);

    // The stone's arrays whole again; later planes are cut by newFacet alone.
    void finish() { session_.finish(); }

    // The stone as it was just before the most recent cut, carrying the
    // design fields (gear, lines, ...) the stone has now and no preform.
    std::unique_ptr<Stone> stoneBeforeLastCut() const;

    int planesCut() const { return planes_; }

private:
    struct Step {
        enum Kind { Plane, Angle, Name, Instruction } kind;
        double p[4];
        std::string text;
    };

    static int apply(const Step& step, Stone& target, PlaneCutSession& session);
    int cutLastStep();
    int afterCut(int result);
    std::unique_ptr<Stone> replay(size_t steps) const;
    static void takeDesignFields(Stone& to, const Stone& from);

    Stone& stone_;
    Stone initial_;
    int32_t localCutsFrom_;
    PlaneCutSession session_;
    std::vector<Step> steps_;
    size_t lastCutStep_ = 0;
    int planes_ = 0;
};

}  // namespace brevix
