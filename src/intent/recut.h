#pragma once
// Re-cutting a design by its intent: the tiers are placed again in cutting
// order; tiers before the changed one keep their planes, the changed one
// takes its new values and every later tier is placed again by its intent,
// its points found anew on the planes of the facets it names.
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "intent/point_resolution.h"
#include "kernel/stone.h"

namespace brevix {

struct RecutResult {
    Stone stone;          // the re-cut design (design fields, names, preform kept)
    DesignIntent intent;  // with the new values; failed tiers carry their reason
    // One line per tier that could not keep its intent, and any kernel
    // failure; problemCodes holds the code of each, in the same order.
    std::vector<std::string> problems;
    std::vector<DiagCode> problemCodes;
    int failedTiers = 0;
    // The change itself could not be made (the changed tier cannot take its
    // new values) or the kernel failed part way: `stone` and `intent` are
    // then no design to take, and the caller keeps the one it had. Later
    // tiers that keep their last place do not refuse the change.
    bool refused = false;
    bool ok() const { return problems.empty(); }
    // The problems as warnings, each with its code.
    Diagnostics problemNotes() const;
};

// Re-cuts `design`, whose planes `intent` describes (see intentMatches),
// after `change`; without a change every tier is placed by its intent from
// the first one on (a design built from its intent alone). Touches nothing
// outside its arguments, so separate stones may be re-cut on separate
// threads at once. The facets of a recorded meet may miss one another by
// `meetTolerance` (a share of W); a tier inferred to a meet it missed is
// placed again even before the changed tier, which makes the meet exact.
RecutResult recutByIntent(const Stone& design, const DesignIntent& intent,
                          const std::optional<TierChange>& change,
                          double meetTolerance = DEFAULT_MEET_TOLERANCE_W);

// What a re-cut leaves for the next of a run of close variants of one
// design, such as the candidates of a search: the stone after each tier and
// each tier as placed. A variant whose tiers agree with the last one's up
// to some tier (and whose later tiers' facets are where they were) starts
// from the stone as the agreeing tiers left it; the result is the one a
// re-cut from the start gives. The design is known by its address: it must
// stay as it is while its steps are used. Another design, change or
// tolerance starts afresh. One thread at a time.
class RecutSteps {
public:
    // Tiers the last re-cut took from the one before it (for the tests).
    int32_t reusedTiers() const { return reused_; }

private:
    friend RecutResult recutByIntent(const Stone&, const DesignIntent&, const std::optional<TierChange>&, double,
                                     RecutSteps*);
    struct Step {
        Stone stone;       // after the tier was cut
        TierIntent tier;   // as placed
        std::vector<std::string> problems;
        std::vector<DiagCode> problemCodes;
        bool refused = false;
    };
    const Stone* design_ = nullptr;
    DesignIntent intent_;  // the intent last re-cut, as given
    std::optional<TierChange> change_;
    double meetTolerance_ = 0;
    int32_t first_ = 0;
    std::vector<Step> steps_;  // one per tier cut without a kernel failure
    int32_t reused_ = 0;
};

// The same, starting from what `steps` kept of the last re-cut of `design`
// where it can, and keeping this one's steps in it.
RecutResult recutByIntent(const Stone& design, const DesignIntent& intent, const std::optional<TierChange>& change,
                          double meetTolerance, RecutSteps* steps);

// Whether the intent's planes are the stone's design facets, in order
// (a facet that a later cut removed entirely may be missing).
bool intentMatches(const Stone& stone, const DesignIntent& intent);

// Leaves in the intent the names (and a tier's instruction) only of the
// facets the stone no longer carries, those later tiers cut away entirely:
// the stone keeps the rest, and an intent that describes a stone compares
// equal however it was come by.
void keepNamesOfCutAwayFacets(const Stone& stone, DesignIntent& intent);

// The stone's design facets grouped as the cut list groups them: runs of
// one tier number, in array order (facet indexes).
std::vector<std::vector<int32_t>> tierRuns(const Stone& stone);

// Half-size of the rough block the stone was cut from, as far as it shows.
double roughHalfOf(const Stone& stone);

}  // namespace brevix
