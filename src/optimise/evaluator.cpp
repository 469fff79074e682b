#include "optimise/evaluator.h"

#include <algorithm>
#include <cmath>

#include "design/measures.h"
#include "intent/recut.h"
#include "optics/light_metrics.h"
#include "platform/strformat.h"

namespace brevix::optimise {

namespace {

// Facets this close to a point pass through it.
constexpr double MEET_TOLERANCE = 1e-7;

// A candidate's re-cut may complain; its messages are the optimiser's
// business, not the person's.
double distanceTo(const Plane& p, double x, double y, double z) { return p.a * x + p.b * y + p.c * z - p.d; }

bool girdleStands(const Stats& s) { return s.crownBottom > s.pavilionTop + 1e-9; }

Proportions proportionsOfBounds(const Stats& s) {
    Proportions p;
    const double width = s.maxX - s.minX;
    if (!(width > 0)) return p;
    p.table = (s.tableMaxX - s.tableMinX) / width;
    if (s.crownBottom < s.maxZ) p.crownHeight = (s.maxZ - s.crownBottom) / width;
    if (s.pavilionTop > s.minZ) p.pavilionDepth = (s.pavilionTop - s.minZ) / width;
    return p;
}

}  // namespace

Proportions proportionsOf(const Stone& stone) { return proportionsOfBounds(boundsOf(stone)); }

int designFacetCount(const Stone& stone) {
    int n = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) n += stone.facets[i].isRough() ? 0 : 1;
    return n;
}

Evaluator::Evaluator(const Stone& design, const DesignIntent& intent, std::vector<TierVariable> variables,
                     const Limits& limits, const Scoring& scoring, const GoalWeights& weights,
                     std::optional<CharacterTarget> character)
    : design_(design),
      intent_(intent),
      variables_(std::move(variables)),
      limits_(limits),
      scoring_(scoring),
      weights_(weights),
      character_(std::move(character)),
      checks_(design, intent, limits, scoring.refractiveIndex) {
    const Stats bounds = boundsOf(design);
    start_ = proportionsOfBounds(bounds);
    girdle_ = girdleStands(bounds);
    facets_ = designFacetCount(design);
    // Every point of the start where four or more facets meet: a cutter's
    // meet (three facets meet at any corner).
    for (int32_t v = 0; v < design.nVertex; ++v) {
        const Vertex& q = design.vertices[v];
        if (q.status != ST_PRESENT) continue;
        std::vector<Ref> refs;
        for (size_t t = 0; t < intent.tiers.size(); ++t) {
            const std::vector<Plane>& planes = intent.tiers[t].planes;
            for (size_t k = 0; k < planes.size(); ++k)
                if (std::fabs(distanceTo(planes[k], q.x, q.y, q.z)) < MEET_TOLERANCE)
                    refs.push_back({int32_t(t), int32_t(k)});
        }
        if (refs.size() >= 4) meets_.push_back(std::move(refs));
    }
}

std::optional<std::string> Evaluator::lostMeet(const Stone& stone, const DesignIntent& intent) const {
    for (const std::vector<Ref>& meet : meets_) {
        bool found = false;
        for (int32_t v = 0; v < stone.nVertex && !found; ++v) {
            const Vertex& q = stone.vertices[v];
            if (q.status != ST_PRESENT) continue;
            found = true;
            for (const Ref& r : meet) {
                const std::vector<Plane>& planes = intent.tiers[r.tier].planes;
                if (r.k >= int32_t(planes.size()) ||
                    std::fabs(distanceTo(planes[r.k], q.x, q.y, q.z)) >= MEET_TOLERANCE) {
                    found = false;
                    break;
                }
            }
        }
        if (!found) return strprintf("the meet of %d facets at tier %d is lost", int(meet.size()), meet[0].tier + 1);
    }
    return std::nullopt;
}

std::optional<RecutResult> Evaluator::cutCandidate(const std::vector<double>& angles, Evaluation& e,
                                                   Proportions& p, RecutSteps* steps) const {
    if (angles.size() != variables_.size()) {
        e.why = "wrong number of angles";
        return std::nullopt;
    }
    DesignIntent intent = intent_;
    for (size_t i = 0; i < angles.size(); ++i) {
        const TierVariable& v = variables_[i];
        if (!(angles[i] >= v.low - 1e-9 && angles[i] <= v.high + 1e-9)) {
            e.why = strprintf("tier %d leaves its range", v.tier + 1);
            return std::nullopt;
        }
        TierIntent& tier = intent.tiers[v.tier];
        tier.angle = v.pavilion ? -angles[i] : angles[i];
    }
    // Tiers turned past each other are refused once re-cut; on designs of
    // many close tiers most rejected candidates are these, and the re-cut
    // is what they would cost.
    if (auto swapped = checks_.swapped(design_, intent_, variables_, angles)) {
        e.why = *swapped;
        return std::nullopt;
    }
    RecutResult cut;
    if (!variables_.empty()) {
        TierChange change;
        change.tier = variables_.front().tier;
        change.setAngle = true;
        change.angle = intent.tiers[change.tier].angle;
        cut = recutByIntent(design_, intent, change, DEFAULT_MEET_TOLERANCE_W, steps);
    } else {
        cut = recutByIntent(design_, intent, std::nullopt, DEFAULT_MEET_TOLERANCE_W, steps);
    }
    if (!cut.ok()) {
        e.why = cut.problems.empty() ? "the re-cut failed" : cut.problems.front();
        return std::nullopt;
    }
    if (designFacetCount(cut.stone) != facets_) {
        e.why = "a facet was cut away";
        return std::nullopt;
    }
    if (auto lost = lostMeet(cut.stone, cut.intent)) {
        e.why = *lost;
        return std::nullopt;
    }
    const Stats bounds = boundsOf(cut.stone);
    p = proportionsOfBounds(bounds);
    if (girdle_ && !girdleStands(bounds)) {
        e.why = "the girdle is cut through";
        return std::nullopt;
    }
    const double span = limits_.proportionSpan;
    if (start_.table > 0 && std::fabs(p.table - start_.table) > span * start_.table + 1e-12) {
        e.why = "the table leaves its range";
        return std::nullopt;
    }
    if (start_.crownHeight > 0 && std::fabs(p.crownHeight - start_.crownHeight) > span * start_.crownHeight + 1e-12) {
        e.why = "the crown height leaves its range";
        return std::nullopt;
    }
    if (auto broken = checks_.broken(cut.stone, cut.intent)) {
        e.why = *broken;
        return std::nullopt;
    }
    return cut;
}

namespace {

// Every figure of `from` times `w` added to `into`.
void addScaled(optics::TiltAverages& into, const optics::TiltAverages& from, double w) {
    into.iso += w * from.iso;
    into.cos += w * from.cos;
    into.windowing += w * from.windowing;
    into.extinction += w * from.extinction;
    into.contrast += w * from.contrast;
    into.scintillation += w * from.scintillation;
    into.scene += w * from.scene;
    into.sceneContrast += w * from.sceneContrast;
    into.sceneScintillation += w * from.sceneScintillation;
}

void divideBy(optics::TiltAverages& f, double n) {
    f.iso /= n;
    f.cos /= n;
    f.windowing /= n;
    f.extinction /= n;
    f.contrast /= n;
    f.scintillation /= n;
    f.scene /= n;
    f.sceneContrast /= n;
    f.sceneScintillation /= n;
}

}  // namespace

std::optional<std::vector<optics::TiltAverages>> Evaluator::lightOf(const Stone& stone,
                                                                    const std::atomic<bool>* cancel) const {
    optics::FaceUpOptions options;
    options.size = scoring_.size;
    options.refractiveIndex = scoring_.refractiveIndex;
    options.lighting = scoring_.lighting;
    options.threads = 1;  // the optimiser runs candidates side by side
    options.cancel = cancel;
    // Every render has the ISO and COS figures; each room needs its own.
    std::vector<optics::Environment> renders;
    for (optics::Environment e : scoring_.lightings)
        if (optics::hasScene(e)) renders.push_back(e);
    if (renders.empty()) renders.push_back(options.lighting.environment);
    std::vector<optics::TiltAverages> rendered;
    for (optics::Environment e : renders) {
        options.lighting.environment = e;
        const optics::TiltSweep sweep = optics::sweepTilts(stone, options, scoring_.tilts);
        if (!sweep.complete || sweep.points.empty()) return std::nullopt;
        optics::TiltAverages light = optics::tiltAverages(sweep.points);
        if (weights_.scintillation != 0) {
            const optics::TiltSweep small = optics::sweepTilts(stone, options, scoring_.sparkleTilts);
            if (!small.complete) return std::nullopt;
            light.scintillation = small.scintillation;
            light.sceneScintillation = small.sceneScintillation;
        }
        rendered.push_back(light);
    }
    std::vector<optics::TiltAverages> judged;
    for (optics::Environment e : scoring_.lightings) {
        const auto room = std::find(renders.begin(), renders.end(), e);
        judged.push_back(optics::judgedUnder(rendered[room == renders.end() ? 0 : room - renders.begin()], e));
    }
    return judged;
}

std::optional<std::vector<optics::TiltAverages>> Evaluator::robustLightOf(const RecutResult& cut,
                                                                          const std::atomic<bool>* cancel,
                                                                          std::string& why) const {
    const double meetTolerance = tolerance::meetToleranceFor(scoring_.machineError);
    std::vector<optics::TiltAverages> sum(scoring_.lightings.size());
    int measured = 0;
    for (int s = 0; s < scoring_.robustSamples; ++s) {
        const std::vector<tolerance::TierError> errors = tolerance::drawTierErrors(
            cut.intent.tiers.size(), scoring_.machineError, scoring_.robustSeed, uint64_t(s));
        const std::optional<Stone> stone = tolerance::cutWithErrors(cut.stone, cut.intent, errors, meetTolerance);
        if (!stone) continue;  // this sample's errors break a meet: the others still say how it forgives
        const std::optional<std::vector<optics::TiltAverages>> light = lightOf(*stone, cancel);
        if (!light) {
            why = "cancelled";
            return std::nullopt;
        }
        for (size_t k = 0; k < sum.size(); ++k) addScaled(sum[k], (*light)[k], 1.0);
        ++measured;
    }
    if (measured == 0) {
        why = "no copy cut with machine error keeps its intent";
        return std::nullopt;
    }
    for (optics::TiltAverages& figures : sum) divideBy(figures, measured);
    return sum;
}

optics::TiltAverages Evaluator::combined(const std::vector<optics::TiltAverages>& underEach, Figures& figures,
                                         bool withCharacter) const {
    // The goal is linear in the figures: the goal of their mean is the mean of their goals.
    optics::TiltAverages mean;
    size_t worst = 0;
    figures.lightingScores.clear();
    for (size_t k = 0; k < underEach.size(); ++k) {
        figures.light = underEach[k];
        figures.lightingScores.push_back(goalScore(weights_, figures, withCharacter));
        if (figures.lightingScores[k] < figures.lightingScores[worst]) worst = k;
        addScaled(mean, underEach[k], 1.0);
    }
    if (underEach.size() == 1) return underEach[0];
    if (scoring_.worstLighting) return underEach[worst];
    divideBy(mean, double(underEach.size()));
    return mean;
}

bool Evaluator::restoreDesign(Evaluation& e) const {
    Evaluation check;
    Proportions p;
    std::optional<RecutResult> cut = cutCandidate(e.angles, check, p);
    if (!cut) return false;
    e.stone = std::move(cut->stone);
    e.intent = std::move(cut->intent);
    return true;
}

Evaluation Evaluator::evaluate(const std::vector<double>& angles, bool keepDesign,
                               const std::atomic<bool>* cancel, RecutSteps* steps) const {
    // The kernel's notes on each candidate stay with the candidate's stone:
    // nothing a candidate says reaches the user.
    Evaluation e;
    e.angles = angles;
    Proportions p;
    std::optional<RecutResult> candidate = cutCandidate(angles, e, p, steps);
    if (!candidate) return e;
    RecutResult& cut = *candidate;

    std::optional<std::vector<optics::TiltAverages>> light;
    if (scoring_.robustSamples > 0) {
        light = robustLightOf(cut, cancel, e.why);
    } else {
        light = lightOf(cut.stone, cancel);
        if (!light) e.why = "cancelled";
    }
    if (!light) return e;
    e.figures.proportions = p;
    if (character_) e.figures.character = characterDistance(*character_, p, angles);
    e.figures.light = combined(*light, e.figures, character_.has_value());
    e.score = goalScore(weights_, e.figures, character_.has_value());
    e.accepted = true;
    if (keepDesign) {
        e.stone = std::move(cut.stone);
        e.intent = std::move(cut.intent);
    }
    return e;
}

std::vector<std::string> Evaluator::bounding(const Evaluation& e) const {
    if (!e.accepted || !e.stone) return {};
    return checks_.bounding(*e.stone, e.intent, variables_, e.angles);
}

}  // namespace brevix::optimise
