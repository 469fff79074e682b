#pragma once
// The limits every accepted candidate holds beyond its tiers' ranges, and
// which of them held the result back. A cutter wants a design the machine
// can cut as drawn: no pavilion that leaks, no facet shrunk to a sliver, no
// tiers that swap places, a girdle no thinner than drawn and no new fault
// of the kind the design figures warn of. A candidate that breaks one is
// rejected as it stands; nothing is repaired after the search, so the
// limits shape the search itself.
//
// The start's measures are taken once; a check reads them and the
// candidate only, so several threads may check through one at once.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "live/design_warnings.h"
#include "optimise/variables.h"

namespace brevix::optimise {

class LimitChecks {
public:
    // `design` as described by `intent`, light traced with `refractiveIndex`.
    LimitChecks(const Stone& design, const DesignIntent& intent, const Limits& limits, double refractiveIndex);

    // Why the candidate breaks a limit; none when it holds them all. The
    // candidate's stone must be cut from `intent` as the start was.
    std::optional<std::string> broken(const Stone& stone, const DesignIntent& intent) const;

    // Which pair of varied tiers the candidate's angles (shown degrees, one
    // per variable) turn past each other, before anything is cut: a
    // candidate named here is one broken() would refuse once re-cut, found
    // without the re-cut. Only tiers whose angle the re-cut keeps are
    // judged (not those placed through three points).
    std::optional<std::string> swapped(const Stone& design, const DesignIntent& intent,
                                       const std::vector<TierVariable>& variables,
                                       const std::vector<double>& angles) const;

    // The limits the candidate is held at (within a small margin), as the
    // result line names them: "P1 held at the critical angle + 0.5".
    // `variables` and their angles add the ends of the tiers' ranges.
    std::vector<std::string> bounding(const Stone& stone, const DesignIntent& intent,
                                      const std::vector<TierVariable>& variables,
                                      const std::vector<double>& angles) const;

    // The least pavilion angle a candidate may have.
    double leastPavilionAngle() const { return leastPavilion_; }

private:
    // A facet named by its tier and its place in the tier.
    using Ref = std::pair<int32_t, int32_t>;
    std::map<Ref, double> areasOf(const Stone& stone, const DesignIntent& intent) const;
    std::optional<double> girdleShare(const Stone& stone) const;
    std::vector<std::string> warningKeys(const Stone& stone, const DesignIntent& intent) const;

    Limits limits_;
    double refractiveIndex_ = 1.54;
    double leastPavilion_ = 0;
    std::map<Ref, double> areas_;          // the start's facet areas
    std::vector<double> angles_;           // the start's signed tier angles
    std::optional<double> girdle_;         // the start's thinnest girdle, share of W
    std::vector<std::string> warnings_;    // the start's warnings, by kind and tiers
};

}  // namespace brevix::optimise
