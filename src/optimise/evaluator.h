#pragma once
// One candidate of the optimiser: the design with the varied tiers at the
// candidate's angles, re-cut by intent so that every later tier follows its
// meets, checked against the limits and scored. A candidate whose re-cut
// fails, that loses a facet or a meet, cuts through the girdle, or breaks
// a limit (optimise/limit_checks.h) is not accepted.
//
// An Evaluator holds only what it was built from and never changes it:
// several threads may evaluate through one at once.
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"
#include "optics/lighting.h"
#include "optics/tilt_sweep.h"
#include "optimise/goal.h"
#include "optimise/limit_checks.h"
#include "optimise/variables.h"
#include "tolerance/machine_error.h"

namespace brevix::optimise {

// How every candidate is rendered: small pictures over a few tilts, enough
// to rank candidates; the results are scored again at full size by the
// caller if it wants.
struct Scoring {
    int size = 64;  // pixels a side
    optics::TiltRange tilts{-20.0, 20.0, 10.0};
    // Scintillation needs neighbouring small tilts: a sweep of its own,
    // rendered only when the goal weighs it.
    optics::TiltRange sparkleTilts{-1.0, 1.0, 2.0};
    optics::Lighting lighting;
    // The lightings a candidate is judged under (optics::judgedUnder), its
    // goal being the mean of its goals under each, or with worstLighting
    // the lowest: a design for the rooms it will be worn in, not one. ISO
    // alone judges as the plain lighting above.
    std::vector<optics::Environment> lightings{optics::Environment::Iso};
    bool worstLighting = false;
    double refractiveIndex = 1.54;
    // Robust scoring: a candidate scores the mean of its figures over this
    // many copies cut with machine error (the same drawn errors for every
    // candidate, so that candidates differ by their angles alone), so
    // that a design on a cliff of light loses to one that forgives; 0 =
    // the candidate as drawn.
    int robustSamples = 0;
    tolerance::MachineError machineError;
    uint64_t robustSeed = 1;
};

struct Evaluation {
    bool accepted = false;
    std::string why;             // why it was not accepted
    std::vector<double> angles;  // shown degrees, one per variable
    Figures figures;
    double score = 0;
    // The design itself, when asked for.
    std::optional<Stone> stone;
    DesignIntent intent;
};

class Evaluator {
public:
    // `design` must be described by `intent` (intentMatches).
    Evaluator(const Stone& design, const DesignIntent& intent, std::vector<TierVariable> variables,
              const Limits& limits, const Scoring& scoring, const GoalWeights& weights,
              std::optional<CharacterTarget> character = std::nullopt);

    // `steps`, when given, carries the re-cut over from the candidate
    // evaluated through it before (one thread's run of candidates).
    Evaluation evaluate(const std::vector<double>& angles, bool keepDesign = false,
                        const std::atomic<bool>* cancel = nullptr, RecutSteps* steps = nullptr) const;
    // An accepted evaluation given its design again (re-cut, not rendered
    // again: its figures are kept). False when the re-cut no longer holds.
    bool restoreDesign(Evaluation& e) const;

    const std::vector<TierVariable>& variables() const { return variables_; }
    const Proportions& startProportions() const { return start_; }
    const Scoring& scoring() const { return scoring_; }
    // The limits an accepted evaluation kept with its design is held at.
    std::vector<std::string> bounding(const Evaluation& e) const;

private:
    // Facets named by their tier and their place in it.
    struct Ref {
        int32_t tier, k;
    };
    std::optional<std::string> lostMeet(const Stone& stone, const DesignIntent& intent) const;
    // The candidate re-cut and checked against the limits; why not in e.why.
    std::optional<RecutResult> cutCandidate(const std::vector<double>& angles, Evaluation& e,
                                            Proportions& proportions, RecutSteps* steps = nullptr) const;
    // The light figures of a stone over the sweeps, judged under each of
    // the scoring's lightings; none when cancelled.
    std::optional<std::vector<optics::TiltAverages>> lightOf(const Stone& stone,
                                                             const std::atomic<bool>* cancel) const;
    // Their mean over the robust samples of the cut; none when cancelled
    // or when no sample could be cut (`why` then says so).
    std::optional<std::vector<optics::TiltAverages>> robustLightOf(const RecutResult& cut,
                                                                   const std::atomic<bool>* cancel,
                                                                   std::string& why) const;
    // The figures the goal is taken of: the mean of the lightings' figures,
    // or those of the lighting with the lowest goal.
    optics::TiltAverages combined(const std::vector<optics::TiltAverages>& underEach, Figures& figures,
                                  bool withCharacter) const;

    Stone design_;
    DesignIntent intent_;
    std::vector<TierVariable> variables_;
    Limits limits_;
    Scoring scoring_;
    GoalWeights weights_;
    std::optional<CharacterTarget> character_;
    LimitChecks checks_;
    Proportions start_;
    int facets_ = 0;
    bool girdle_ = false;
    std::vector<std::vector<Ref>> meets_;  // sets of four or more facets meeting at one point
};

// The proportions of a stone, from its bounds worked out afresh.
Proportions proportionsOf(const Stone& stone);

// Non-rough facets of a stone.
int designFacetCount(const Stone& stone);

}  // namespace brevix::optimise
