// The search for the largest stone: turns of the stone to the rough's
// principal axes (every way round) and seeded random turns are tried at
// the rough's deepest points; the best few are improved by a local
// derivative-free search over the turn and the position, the size for
// each pose being the largest that fits (fit_scale.cpp). Every start is a
// task of its own whose result is kept by its number, so that the answer
// does not depend on how many threads ran them.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <nlopt.hpp>
#include <random>
#include <thread>

#include "design/real_size.h"
#include "platform/strformat.h"
#include "rough/fit_model.h"

namespace brevix::rough {

namespace {

constexpr int RANDOM_TURNS = 16;
constexpr int GRID_STEPS = 9;            // per side, for the deepest points
constexpr size_t LOCAL_SEARCHES = 6;     // from the best starts
constexpr int LOCAL_EVALUATIONS = 500;
constexpr int POLISH_EVALUATIONS = 300;
constexpr double TURN_STEP = 0.2;        // radians, first step of a local search
constexpr double MOVE_STEP = 0.05;       // of the rough's extent
constexpr int SHRINK_STEPS = 60;

Matrix product(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
    return m;
}

// The turn by |w| radians about w.
Matrix turnAbout(Vec3 w) {
    const double angle = length(w);
    Matrix m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    if (angle < 1e-300) return m;
    const Vec3 k = w * (1 / angle);
    const double c = std::cos(angle), s = std::sin(angle), v = 1 - c;
    return {{{c + k.x * k.x * v, k.x * k.y * v - k.z * s, k.x * k.z * v + k.y * s},
             {k.y * k.x * v + k.z * s, c + k.y * k.y * v, k.y * k.z * v - k.x * s},
             {k.z * k.x * v - k.y * s, k.z * k.y * v + k.x * s, c + k.z * k.z * v}}};
}

Matrix fromQuaternion(double w, double x, double y, double z) {
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
             {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
             {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}}};
}

// The 24 ways of laying the design's axes along the rough's principal
// axes, then turns drawn at random (uniformly over all turns).
std::vector<Matrix> startingTurns(const Rough& rough, uint64_t seed) {
    Matrix principal{};
    for (int i = 0; i < 3; ++i) {
        principal[0][i] = rough.axes[i].x;
        principal[1][i] = rough.axes[i].y;
        principal[2][i] = rough.axes[i].z;
    }
    std::vector<Matrix> turns;
    const int perms[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {1, 0, 2}, {0, 2, 1}, {2, 1, 0}};
    for (const auto& perm : perms)
        for (int signs = 0; signs < 8; ++signs) {
            Matrix q{};
            for (int i = 0; i < 3; ++i) q[perm[i]][i] = (signs >> i) & 1 ? -1 : 1;
            const double det = q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) -
                               q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
                               q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
            if (det > 0) turns.push_back(product(principal, q));
        }
    std::mt19937_64 random(seed);
    std::normal_distribution<double> normal;
    for (int i = 0; i < RANDOM_TURNS; ++i) {
        double q[4];
        double norm = 0;
        do {
            norm = 0;
            for (double& c : q) {
                c = normal(random);
                norm += c * c;
            }
        } while (norm < 1e-12);
        norm = std::sqrt(norm);
        turns.push_back(fromQuaternion(q[0] / norm, q[1] / norm, q[2] / norm, q[3] / norm));
    }
    return turns;
}

// The rough's centroid when it lies inside, and the points of a grid over
// the rough farthest from its surface (a non-convex rough's centroid may
// lie in a hollow).
std::vector<Vec3> startingCentres(const Rough& rough) {
    std::vector<Vec3> centres;
    if (rough.geometry->inside(rough.centroid)) centres.push_back(rough.centroid);
    const Vec3 lo = rough.bounds[0], span = rough.bounds[1] - rough.bounds[0];
    double deepest = 0;
    Vec3 deepestPoint;
    for (int i = 0; i < GRID_STEPS; ++i)
        for (int j = 0; j < GRID_STEPS; ++j)
            for (int k = 0; k < GRID_STEPS; ++k) {
                const Vec3 p = lo + Vec3{span.x * (i + 0.5) / GRID_STEPS, span.y * (j + 0.5) / GRID_STEPS,
                                         span.z * (k + 0.5) / GRID_STEPS};
                if (!rough.geometry->inside(p)) continue;
                const double depth = rough.geometry->squaredDistance(p);
                if (depth > deepest) {
                    deepest = depth;
                    deepestPoint = p;
                }
            }
    if (deepest > 0) centres.push_back(deepestPoint);
    return centres;
}

// Runs task(i) for i < count on up to `threads` threads.
template <typename Task>
void forEachParallel(size_t count, int threads, const Task& task) {
    const size_t workers = std::min<size_t>(count, static_cast<size_t>(std::max(1, threads)));
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < count; i = next++) task(i);
    };
    std::vector<std::thread> pool;
    for (size_t w = 1; w < workers; ++w) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
}

struct Candidate {
    Pose pose;
    double scale = -std::numeric_limits<double>::infinity();
};

struct LocalSearch {
    const StoneShape& shape;
    const Rough& rough;
    const FitOptions& options;
    Pose start;
    Candidate best;
    nlopt::opt* opt = nullptr;

    Pose poseAt(const std::vector<double>& x) const {
        Pose pose;
        pose.rotation = product(start.rotation, turnAbout({x[0], x[1], x[2]}));
        const double extent = rough.extent();
        pose.centre = start.centre + Vec3{x[3], x[4], x[5]} * extent;
        return pose;
    }
};

double localObjective(const std::vector<double>& x, std::vector<double>&, void* data) {
    LocalSearch& search = *static_cast<LocalSearch*>(data);
    if (search.options.cancel && search.options.cancel->load()) throw nlopt::forced_stop();
    const Pose pose = search.poseAt(x);
    const double scale = largestScale(search.shape, search.rough, pose, search.options, false);
    if (scale > search.best.scale) search.best = {pose, scale};
    return scale;
}

Candidate improve(const StoneShape& shape, const Rough& rough, const FitOptions& options, const Candidate& from,
                  int evaluations, double turnStep, double moveStep) {
    LocalSearch search{shape, rough, options, from.pose, from};
    nlopt::opt opt(nlopt::LN_SBPLX, 6);
    opt.set_max_objective(localObjective, &search);
    opt.set_maxeval(evaluations);
    opt.set_xtol_abs(1e-7);
    opt.set_ftol_rel(1e-9);
    opt.set_initial_step({turnStep, turnStep, turnStep, moveStep, moveStep, moveStep});
    std::vector<double> x(6, 0.0);
    double value = 0;
    try {
        opt.optimize(x, value);
    } catch (const std::exception&) {
        // Stopped, or the method gave up on a flat stretch: the best seen is kept.
    }
    return search.best;
}

// Corners of the placed stone that lie outside the rough or nearer its
// surface than the margin. The scale from the search already keeps them
// off; this is the check by plain distance rather than along a ray.
bool cornersClear(const StoneShape& shape, const Rough& rough, const Pose& pose, double scale, double margin) {
    for (const Vec3& corner : shape.corners) {
        const Vec3 p = pose.centre + times(pose.rotation, corner) * scale;
        if (!rough.geometry->within(p)) return false;
        if (margin > 0 && rough.geometry->squaredDistance(p) < margin * margin * (1 - 1e-9)) return false;
    }
    return true;
}

}  // namespace

FitResult fitStone(const Stone& stone, const Rough& rough, const FitOptions& options) {
    FitResult result;
    const StoneShape shape = stoneShape(stone);
    if (shape.corners.empty() || !(shape.width > 0)) {
        result.message = "The design has no solid to fit.";
        return result;
    }
    const int threads = options.threads > 0 ? options.threads
                                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::vector<Matrix> turns = startingTurns(rough, options.seed);
    const std::vector<Vec3> centres = startingCentres(rough);
    std::vector<Candidate> starts;
    for (const Vec3& c : centres)
        for (const Matrix& r : turns) starts.push_back({{r, c}, 0});
    forEachParallel(starts.size(), threads, [&](size_t i) {
        starts[i].scale = largestScale(shape, rough, starts[i].pose, options, false);
    });
    std::vector<size_t> order(starts.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return starts[a].scale > starts[b].scale; });
    order.resize(std::min(order.size(), LOCAL_SEARCHES));
    std::vector<Candidate> improved(order.size());
    forEachParallel(order.size(), threads, [&](size_t i) {
        improved[i] = improve(shape, rough, options, starts[order[i]], LOCAL_EVALUATIONS, TURN_STEP, MOVE_STEP);
    });
    Candidate best;
    for (const Candidate& c : improved)
        if (c.scale > best.scale) best = c;
    // Polished in finer steps: the size is a maximum of corners and folds,
    // and a subplex search settles early where one of them takes over.
    for (double finer : {10.0, 100.0})
        if (best.scale > 0) best = improve(shape, rough, options, best, POLISH_EVALUATIONS, TURN_STEP / finer, MOVE_STEP / finer);

    // The answer is checked against every point and edge of the surface
    // and every corner's distance, and made smaller until it passes.
    double scale = std::min(best.scale, largestScale(shape, rough, best.pose, options, true));
    // A corner that touches the surface may land a rounding error outside
    // it: the first steps back are that small.
    const double reached = scale;
    for (int i = 0; i < SHRINK_STEPS && scale > 0; ++i) {
        if (cornersClear(shape, rough, best.pose, scale, options.marginMm)) break;
        scale = i + 1 == SHRINK_STEPS ? 0 : reached * (1 - std::min(0.5, 1e-12 * std::pow(4.0, i)));
    }
    const double widthMm = scale * shape.width;
    if (!(widthMm >= MIN_SIZE_MM)) {
        result.message = options.marginMm > 0 || !options.avoid.empty()
                             ? "No stone fits in the rough less its margin and the spheres to avoid."
                             : "No stone fits in the rough.";
        return result;
    }
    result.fits = true;
    result.placement.rotation = best.pose.rotation;
    result.placement.millimetresPerUnit = scale;
    result.placement.translation = best.pose.centre - times(best.pose.rotation, shape.reference) * scale;
    result.widthMm = widthMm;
    result.lengthMm = scale * shape.length;
    result.depthMm = scale * shape.depth;
    result.volumeMm3 = shape.volume * scale * scale * scale;
    result.yieldPercent = 100 * result.volumeMm3 / rough.volume;
    return result;
}

}  // namespace brevix::rough
