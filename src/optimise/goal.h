#pragma once
// What the optimiser looks for in a candidate design, and the figures it
// judges it by.
//
// The goal is a weighted sum of figures averaged over a tilt sweep, never of
// the face-up picture alone: a flattened crown wins brightness straight on
// and loses it as soon as the stone moves, so only what holds over the tilts
// counts. Brightness (ISO and COS), contrast and scintillation add to the
// score, windowing and extinction take from it. With the default weights a point of windowing
// costs as much as a point of ISO brightness gains: a window is the fault a
// viewer sees first. Extinction counts half (some dark is what makes the
// pattern), contrast and scintillation a quarter each (they reward a bold,
// lively pattern, but must not buy one with light). Both are measured with
// the observer's head shadow (optics/light_metrics.h), so a brighter stone
// whose pattern the head washes out does not win. The goal presets are in
// optimise/problem.h.
#include <vector>

#include "optics/light_metrics.h"

namespace brevix::optimise {

struct GoalWeights {
    double iso = 1.0;
    double cos = 1.0;
    double windowing = 1.0;
    double extinction = 0.5;
    double contrast = 0.25;
    double scintillation = 0.25;
    // Retargeting only: how much a point of distance from the design's
    // character costs (see CharacterTarget).
    double character = 1.0;
};

// The proportions a design keeps when it is cut in another material.
struct Proportions {
    double table = 0;          // table width / girdle width
    double crownHeight = 0;    // crown height / girdle width
    double pavilionDepth = 0;  // pavilion depth / girdle width
};

// What retargeting keeps close to: the original's proportions and each
// varied tier's angle after the shift the start was given.
struct CharacterTarget {
    Proportions proportions;
    std::vector<double> angles;  // shown degrees, one per varied tier
};

// How far a candidate is from the character: the mean relative change of
// the three proportions in per cent, plus the mean angle change in degrees.
double characterDistance(const CharacterTarget& target, const Proportions& p, const std::vector<double>& angles);

struct Figures {
    optics::TiltAverages light;  // averaged over the sweep, as the goal judges them
    Proportions proportions;
    double character = 0;        // with a character target
    // The goal under each lighting the candidate was judged under, in the
    // scoring's order (one for ISO alone).
    std::vector<double> lightingScores;
};

double goalScore(const GoalWeights& weights, const Figures& figures, bool withCharacter);

}  // namespace brevix::optimise
