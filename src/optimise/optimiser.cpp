#include "optimise/optimiser.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <nlopt.hpp>
#include <random>
#include <thread>

#include "intent/recut.h"
#include "optics/parallel_rows.h"
#include "optimise/evaluation_memo.h"

namespace brevix::optimise {

namespace {

using Clock = std::chrono::steady_clock;

// What a rejected candidate scores: below anything the goal can give, so
// the search turns back into the limits.
constexpr double REJECTED = -1e6;

// One local search: what it found (without the designs, given again by
// re-cutting the few that are kept) and what it cost.
struct StartRun {
    std::vector<Evaluation> accepted;
    int evaluations = 0;
};

// What the searching threads share: the stop flag and the progress.
struct Shared {
    const OptimiseSettings& settings;
    std::atomic<bool> stop{false};
    bool timed = false;
    Clock::time_point deadline;
    std::mutex mutex;
    Progress progress;
    EvaluationMemo memo;
    // What the candidates took so far, for the time the next may take.
    Clock::duration spent{0};
    int timedCandidates = 0;

    explicit Shared(const OptimiseSettings& s) : settings(s) {}

    Clock::time_point now() const { return settings.clock ? settings.clock() : Clock::now(); }

    void took(Clock::duration time) {
        std::lock_guard<std::mutex> lock(mutex);
        spent += time;
        ++timedCandidates;
    }

    // A candidate is not started when one as long as the average so far
    // would end past the deadline: the limit holds within a candidate's
    // time, however long a candidate takes.
    bool shouldStop() {
        if (stop.load()) return true;
        if (settings.cancel && settings.cancel->load()) stop = true;
        if (timed && !stop.load()) {
            Clock::duration expected{0};
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (timedCandidates > 0) expected = spent / timedCandidates;
            }
            if (now() + expected > deadline) stop = true;
        }
        return stop.load();
    }

    void count(Evaluation& e) {
        std::lock_guard<std::mutex> lock(mutex);
        ++progress.evaluations;
        if (e.accepted && (!progress.haveBest || e.score > progress.bestScore)) {
            progress.haveBest = true;
            progress.bestScore = e.score;
            progress.bestAngles = e.angles;
            if (e.stone) progress.bestStone = std::make_shared<const Stone>(std::move(*e.stone));
        }
        if (settings.progress) settings.progress(progress);
    }
};

struct Search {
    const Evaluator& evaluator;
    Shared& shared;
    StartRun& run;
    int budget;
    RecutSteps steps{};  // this search's candidates follow one another on one thread

    // The evaluation of x, counted; none once the run is to stop.
    std::optional<Evaluation> evaluate(const std::vector<double>& x) {
        if (run.evaluations >= budget || shared.shouldStop()) return std::nullopt;
        const Clock::time_point begun = shared.now();
        std::optional<Evaluation> known = shared.memo.find(x);
        // The design is kept only for the picture of the best so far; a
        // candidate found before was counted before, so it is never a new best.
        Evaluation e =
            known ? std::move(*known) : evaluator.evaluate(x, bool(shared.settings.progress), &shared.stop, &steps);
        if (!e.accepted && shared.stop.load()) return std::nullopt;
        ++run.evaluations;
        shared.count(e);
        shared.took(shared.now() - begun);
        e.stone.reset();
        e.intent = DesignIntent{};
        if (!known) shared.memo.keep(e);
        if (e.accepted) run.accepted.push_back(e);
        return e;
    }
};

double objective(const std::vector<double>& x, std::vector<double>&, void* data) {
    Search& search = *static_cast<Search*>(data);
    const std::optional<Evaluation> e = search.evaluate(x);
    if (!e) throw nlopt::forced_stop();
    return e->accepted ? e->score : REJECTED;
}

// A point near the design's own angles, drawn for start `k`: each angle
// anywhere in the middle part of its range around the start.
std::vector<double> drawnPoint(const std::vector<TierVariable>& vars, const std::vector<double>& x0, std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> x(vars.size());
    for (size_t i = 0; i < vars.size(); ++i) {
        const double reach = 0.5 * (vars[i].high - vars[i].low);
        x[i] = std::clamp(x0[i] + 0.6 * reach * unit(rng), vars[i].low, vars[i].high);
    }
    return x;
}

void searchFrom(int k, const Evaluator& evaluator, const std::vector<double>& x0, Shared& shared, StartRun& run) {
    const std::vector<TierVariable>& vars = evaluator.variables();
    Search search{evaluator, shared, run, shared.settings.evaluationsPerStart};
    std::vector<double> x = x0;
    if (k > 0) {
        // Each start draws from a generator of its own, so that the points
        // do not depend on which thread took which start.
        std::mt19937 rng(shared.settings.seed * 1000003u + unsigned(k));
        bool found = false;
        for (int attempt = 0; attempt < 8 && !found; ++attempt) {
            x = drawnPoint(vars, x0, rng);
            const std::optional<Evaluation> e = search.evaluate(x);
            if (!e) return;
            found = e->accepted;
        }
        if (!found) return;
    }
    const int left = search.budget - run.evaluations;
    if (left <= 1) return;
    nlopt::opt opt(nlopt::LN_SBPLX, unsigned(vars.size()));
    std::vector<double> low, high, step;
    for (const TierVariable& v : vars) {
        low.push_back(v.low);
        high.push_back(v.high);
        step.push_back(std::max(1e-3, std::min(1.0, (v.high - v.low) / 4)));
    }
    opt.set_lower_bounds(low);
    opt.set_upper_bounds(high);
    opt.set_max_objective(objective, &search);
    opt.set_maxeval(left);
    opt.set_xtol_abs(0.02);
    opt.set_initial_step(step);
    double best = 0;
    try {
        opt.optimize(x, best);
    } catch (const std::exception&) {
        // Stopped, or the method gave up on a flat score: what it found is kept.
    }
}

bool distinct(const std::vector<double>& a, const std::vector<double>& b, double degrees) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (std::fabs(a[i] - b[i]) >= degrees) return true;
    return false;
}

OptimiseResult optimiseWith(const Stone& design, const DesignIntent& intent, const OptimiseSettings& settings,
                            const std::optional<Proportions>& character) {
    OptimiseResult result;
    std::vector<int32_t> tiers = settings.tiers.empty() ? defaultTiers(intent) : settings.tiers;
    result.variables = variablesFor(intent, tiers, settings.ranges, settings.limits,
                                    settings.scoring.refractiveIndex, result.error);
    if (result.variables.empty()) return result;
    std::vector<double> x0;
    for (const TierVariable& v : result.variables) x0.push_back(v.start);

    std::optional<CharacterTarget> target;
    if (character) target = CharacterTarget{*character, x0};
    const Evaluator evaluator(design, intent, result.variables, settings.limits, settings.scoring, settings.weights,
                              target);
    Shared shared(settings);
    const Clock::time_point begun = shared.now();
    if (settings.seconds > 0) {
        shared.timed = true;
        shared.deadline = begun + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(settings.seconds));
    }
    // The start is scored as every candidate is: its time is the first
    // measure of what one takes.
    result.start = evaluator.evaluate(x0, true);
    shared.took(shared.now() - begun);
    for (size_t i = 0; i < x0.size(); ++i)
        x0[i] = std::clamp(x0[i], result.variables[i].low, result.variables[i].high);

    const int starts = std::max(1, settings.starts);
    shared.progress.budget = starts * settings.evaluationsPerStart;
    std::vector<StartRun> runs(starts);
    std::atomic<int> next{0};
    auto work = [&] {
        for (int k = next++; k < starts; k = next++) searchFrom(k, evaluator, x0, shared, runs[k]);
    };
    const int threads = std::clamp(settings.threads > 0 ? settings.threads : optics::coreCount(), 1, starts);
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    result.stopped = shared.stop.load();

    // In the order of the starts, so that threads do not change the outcome.
    std::vector<Evaluation*> all;
    for (StartRun& run : runs) {
        result.evaluations += run.evaluations;
        for (Evaluation& e : run.accepted) all.push_back(&e);
    }
    result.accepted = int(all.size());
    std::stable_sort(all.begin(), all.end(), [](const Evaluation* a, const Evaluation* b) { return a->score > b->score; });
    std::vector<Evaluation*> picked;
    for (Evaluation* r : all) {
        if (int(picked.size()) > settings.runnersUp) break;
        bool apart = true;
        for (const Evaluation* p : picked) apart = apart && distinct(r->angles, p->angles, settings.distinctDegrees);
        if (apart) picked.push_back(r);
    }
    // The kept ones are re-cut for their designs, not rendered again: past
    // the time limit only that little work remains.
    for (size_t i = 0; i < picked.size(); ++i) {
        Evaluation e = std::move(*picked[i]);
        if (!evaluator.restoreDesign(e)) continue;
        if (!result.best) {
            result.bounds = evaluator.bounding(e);
            result.best = std::move(e);
        } else {
            result.runnersUp.push_back(std::move(e));
        }
    }
    // The start is a candidate too: a search stopped before the thread that
    // begins at it got there must not hand back worse than the design was.
    if (result.start.accepted && result.start.stone && (!result.best || result.start.score > result.best->score)) {
        result.best = result.start;
        result.bounds = evaluator.bounding(*result.best);
    }
    return result;
}

// The intent with every pavilion tier the optimiser may turn turned by
// `turn` degrees, re-cut.
std::optional<RetargetStart> turnedPavilion(const Stone& design, const DesignIntent& intent, double turn) {
    DesignIntent turned = intent;
    int32_t first = -1;
    for (size_t t = 0; t < turned.tiers.size(); ++t) {
        TierIntent& tier = turned.tiers[t];
        if (!(tier.angle < 0) || !canVary(tier)) continue;
        tier.angle = -std::clamp(-tier.angle + turn, 0.5, 89.5);
        if (first < 0) first = int32_t(t);
    }
    if (first < 0) return std::nullopt;
    TierChange change;
    change.tier = first;
    change.setAngle = true;
    change.angle = turned.tiers[first].angle;
    RecutResult cut = recutByIntent(design, turned, change);
    if (!cut.ok()) return std::nullopt;
    return RetargetStart{std::move(cut.stone), std::move(cut.intent), turn};
}

}  // namespace

OptimiseResult optimiseDesign(const Stone& design, const DesignIntent& intent, const OptimiseSettings& settings) {
    return optimiseWith(design, intent, settings, std::nullopt);
}

std::optional<RetargetStart> retargetStart(const Stone& design, const DesignIntent& intent, double fromIndex,
                                           const OptimiseSettings& settings) {
    // Turning by the whole difference of the critical angles keeps a
    // pavilion as far above its critical angle as it was, which is what a
    // design near its critical angle needs; a pavilion that was well above
    // it (a quartz design taken to diamond) would be turned far past where
    // light comes back. So the whole turn, half of it and none are scored in
    // the new material, and the best becomes the start.
    const double full = criticalAngle(settings.scoring.refractiveIndex) - criticalAngle(fromIndex);
    std::optional<RetargetStart> best;
    double bestScore = 0;
    for (double turn : {full, full / 2, 0.0}) {
        std::optional<RetargetStart> start = turnedPavilion(design, intent, turn);
        if (!start) continue;
        // Scored as it stands: no limit holds it.
        Limits none;
        none.criticalMargin = -90;
        none.minFacetShare = 0;
        none.orderGap = 1e9;
        none.minGirdleShare = 0;
        none.noNewWarnings = false;
        std::string error;
        std::vector<TierVariable> vars = variablesFor(start->intent, defaultTiers(start->intent), {}, none,
                                                      settings.scoring.refractiveIndex, error);
        for (TierVariable& v : vars) v.low = v.high = v.start;
        std::vector<double> x;
        for (const TierVariable& v : vars) x.push_back(v.start);
        const Evaluator evaluator(start->stone, start->intent, vars, none, settings.scoring, settings.weights);
        const Evaluation e = evaluator.evaluate(x);
        if (!e.accepted) continue;
        if (!best || e.score > bestScore) {
            bestScore = e.score;
            best = std::move(start);
        }
    }
    return best;
}

OptimiseResult retargetDesign(const Stone& design, const DesignIntent& intent, double fromIndex,
                              const OptimiseSettings& settings) {
    std::optional<RetargetStart> start = retargetStart(design, intent, fromIndex, settings);
    if (!start) {
        OptimiseResult failed;
        failed.error = "the design cannot be turned for the new material";
        return failed;
    }
    Stone original(design);
    return optimiseWith(start->stone, start->intent, settings, proportionsOf(original));
}

}  // namespace brevix::optimise
