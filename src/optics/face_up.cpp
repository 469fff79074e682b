#include "optics/face_up.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "kernel/stone.h"
#include "optics/fresnel.h"
#include "optics/parallel_rows.h"

// The vector blocks never cross a library boundary: the notes on how they
// would be passed between separately compiled code do not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace brevix::optics {

namespace {

constexpr int LANES = PLANE_LANES;
constexpr double FAR = 1e300;
// A ray this close to parallel with a plane never leaves through it.
constexpr double PARALLEL = 1e-12;
// The viewer's line of sight. Its zeros are negative so that they add
// nothing to what a surface makes of it, not even the sign of a zero.
constexpr Vec3 DOWN{-0.0, -0.0, -1.0};

typedef double PlaneBlock __attribute__((vector_size(LANES * sizeof(double))));
typedef long long MaskBlock __attribute__((vector_size(LANES * sizeof(double))));

// Block i of a padded array (the arrays promise no vector alignment).
inline PlaneBlock load(const std::vector<double>& v, size_t i) {
    PlaneBlock block;
    std::memcpy(&block, v.data() + i * LANES, sizeof block);
    return block;
}
inline size_t blocksOf(const std::vector<double>& v) { return v.size() / LANES; }

// Lane-wise `mask ? x : y`, spelt with bit operations so that every
// compiler of the vector extension takes it.
inline PlaneBlock pick(MaskBlock mask, PlaneBlock x, PlaneBlock y) {
    return (PlaneBlock)(((MaskBlock)x & mask) | ((MaskBlock)y & ~mask));
}
inline MaskBlock pick(MaskBlock mask, MaskBlock x, MaskBlock y) { return (x & mask) | (y & ~mask); }

MaskBlock laneNumbers() {
    MaskBlock lanes;
    for (int k = 0; k < LANES; ++k) lanes[k] = k;
    return lanes;
}

// Appends `value` to a padded array, starting a new block filled with
// `pad` when the last is full.
void append(std::vector<double>& blocks, int at, double value, double pad) {
    if (at % LANES == 0) blocks.resize(blocks.size() + LANES, pad);
    blocks[at] = value;
}

// Choosing the plane a ray leaves by takes most of the time: it runs in
// single precision (positions and directions stay double), sixteen planes
// to a block, kept as two halves of eight. Eight floats are one register of
// the common vector units (AVX2); a sixteen-float vector on those is taken
// apart lane by lane by the compiler, ten times slower.
constexpr int EXIT_LANES = 16;
constexpr int HALF = EXIT_LANES / 2;
typedef float ExitHalf __attribute__((vector_size(HALF * sizeof(float))));
typedef int ExitMask __attribute__((vector_size(HALF * sizeof(float))));

// Half h of block i.
inline ExitHalf loadExit(const std::vector<float>& v, size_t i, int h) {
    ExitHalf half;
    std::memcpy(&half, v.data() + i * EXIT_LANES + h * HALF, sizeof half);
    return half;
}
inline ExitHalf pick(ExitMask mask, ExitHalf x, ExitHalf y) {
    return (ExitHalf)(((ExitMask)x & mask) | ((ExitMask)y & ~mask));
}
inline ExitMask pick(ExitMask mask, ExitMask x, ExitMask y) { return (x & mask) | (y & ~mask); }

// The nearest plane of each lane of the blocks that the ray heads out
// through, kept as the fraction num/dn (compared by cross-multiplying: no
// division); lane k of half h sees planes 16 i + 8 h + k.
struct ExitLane {
    ExitHalf num[2], dn[2];
    ExitMask which[2];

    void reset() {
        for (int h = 0; h < 2; ++h) {
            num[h] = ExitHalf{} + 1.0f;  // 1/0: as far as can be
            dn[h] = ExitHalf{};
            which[h] = ExitMask{} - 1;
        }
    }
    void step(const PreparedStone& s, size_t i, const float* p, const float* dir) {
        const ExitHalf zero = {};
#pragma GCC unroll 2
        for (int h = 0; h < 2; ++h) {
            const ExitHalf A = loadExit(s.fa, i, h), B = loadExit(s.fb, i, h), C = loadExit(s.fc, i, h);
            ExitHalf n = loadExit(s.fd, i, h) - (A * p[0] + B * p[1] + C * p[2]);
            ExitHalf d = A * dir[0] + B * dir[1] + C * dir[2];
            // The point may sit a rounding error outside a plane it has just met.
            n = pick(n > zero, n, zero);
            // With n >= 0 and the kept fraction's num, dn >= 0, a plane the ray
            // does not head for (d <= 0) is never nearer: no mask needed.
            const ExitMask closer = n * dn[h] < num[h] * d;
            num[h] = pick(closer, n, num[h]);
            dn[h] = pick(closer, d, dn[h]);
            const ExitMask index = ExitMask{0, 1, 2, 3, 4, 5, 6, 7} + (int(i) * EXIT_LANES + h * HALF);
            which[h] = pick(closer, index, which[h]);
        }
    }
};

// Each lane keeps the nearer of itself and the lane the permutation brings
// to it (itself when as near); three folds leave the nearest of eight in
// every lane.
template <int... Lane>
inline void fold(ExitHalf& t, ExitMask& which) {
    const ExitHalf u = __builtin_shufflevector(t, t, Lane...);
    const ExitMask w = __builtin_shufflevector(which, which, Lane...);
    const ExitMask closer = u < t;
    t = pick(closer, u, t);
    which = pick(closer, w, which);
}

// The planes through which N rays leave the stone, and the distances to
// them (-1 for a ray parallel to every plane it might leave by). The rays
// are searched together so that their chains of comparisons overlap.
template <int N>
inline void exitPlanes(const PreparedStone& s, const double* const p[N], const double* const dir[N],
                       int plane[N], double distance[N]) {
    float pf[N][3], df[N][3];
    ExitLane lanes[N];  // set by reset(): zeroing them first costs a tenth of the time
    for (int r = 0; r < N; ++r) {
        for (int k = 0; k < 3; ++k) {
            pf[r][k] = float(p[r][k]);
            df[r][k] = float(dir[r][k]);
        }
        lanes[r].reset();
    }
    const size_t blocks = s.fa.size() / EXIT_LANES;
    for (size_t i = 0; i < blocks; ++i) {
        const double* cone = &s.blockAxis[i * 4];
        bool any = false;
        for (int r = 0; r < N; ++r) any |= cone[0] * dir[r][0] + cone[1] * dir[r][1] + cone[2] * dir[r][2] > cone[3];
        if (!any) continue;
        // Unrolled, the lanes' state stays in registers instead of going
        // through memory at every block.
#pragma GCC unroll 2
        for (int r = 0; r < N; ++r) lanes[r].step(s, i, pf[r], df[r]);
    }
    for (int r = 0; r < N; ++r) {
        // Planes never headed for have 1/0 here, an infinity. The low half
        // keeps the nearer of each pair of halves' lanes (its own when as
        // near), then folds.
        const ExitHalf low = lanes[r].num[0] / lanes[r].dn[0], high = lanes[r].num[1] / lanes[r].dn[1];
        const ExitMask higher = high < low;
        ExitHalf t = pick(higher, high, low);
        ExitMask which = pick(higher, lanes[r].which[1], lanes[r].which[0]);
        fold<4, 5, 6, 7, 0, 1, 2, 3>(t, which);
        fold<2, 3, 0, 1, 6, 7, 4, 5>(t, which);
        fold<1, 0, 3, 2, 5, 4, 7, 6>(t, which);
        const int nearest = which[0];
        plane[r] = nearest;
        if (nearest < 0) continue;
        // Single precision places the point within about 1e-7 of the plane,
        // far below a pixel; the next search allows for it.
        distance[r] = t[0];
    }
}

// Whether any lane of the mask is set: three folds, no lane taken out alone.
inline bool anyLane(ExitMask m) {
    m |= __builtin_shufflevector(m, m, 4, 5, 6, 7, 0, 1, 2, 3);
    m |= __builtin_shufflevector(m, m, 2, 3, 0, 1, 6, 7, 4, 5);
    m |= __builtin_shufflevector(m, m, 1, 0, 3, 2, 5, 4, 7, 6);
    return m[0] != 0;
}

// Coefficient `coefficient` (0 to 3 for a to d) of half h of plane q's hint block.
inline ExitHalf loadHint(const float* blocks, int q, int h, int coefficient) {
    ExitHalf half;
    std::memcpy(&half, blocks + size_t(q) * HINT_FLOATS + (4 * h + coefficient) * HINT_HALF, sizeof half);
    return half;
}

// Whether the ray from p along dir leaves by plane q, settled from q's hint
// block alone; `distance` is then what the full search gives, to the bit.
// False when it cannot be settled that way.
inline bool confirmExit(const PreparedStone& s, int q, const float* p, const float* dir, double& distance) {
    if (q < 0) return false;
    const int halves = s.hints.halves[q];
    if (halves == 0) return false;
    // The same arithmetic, in the same order, as a lane of the full search.
    const float dq = s.fa[q] * dir[0] + s.fb[q] * dir[1] + s.fc[q] * dir[2];
    if (!(dq >= MIN_HINTED_COS)) return false;
    float nq = s.fd[q] - (s.fa[q] * p[0] + s.fb[q] * p[1] + s.fc[q] * p[2]);
    if (!(nq > 0.0f)) nq = 0.0f;
    // Every plane of the block that the ray heads for must be clearly
    // farther (n / d > t (1 + 1e-5) + 1e-6, t = nq / dq, multiplied out),
    // so that the full search's own comparisons pick q as well.
    const float limit = nq * 1.00001f + 1e-6f * dq;
    const ExitHalf zero = {};
    const float* blocks = s.hints.blocks.data();
    for (int h = 0; h < halves; ++h) {
        const ExitHalf A = loadHint(blocks, q, h, 0), B = loadHint(blocks, q, h, 1), C = loadHint(blocks, q, h, 2);
        ExitHalf n = loadHint(blocks, q, h, 3) - (A * p[0] + B * p[1] + C * p[2]);
        n = pick(n > zero, n, zero);
        const ExitHalf d = A * dir[0] + B * dir[1] + C * dir[2];
        if (anyLane((d > zero) & (n * dq <= limit * d))) return false;
    }
    distance = nq / dq;
    return true;
}

// Where the vertical ray through (x, y) meets the stone: the up plane it
// enters by (an index of the up arrays) and the height of that point; -1
// when it misses.
inline int entryPlane(const PreparedStone& s, double x, double y, double& z) {
    const PlaneBlock zero = {};
    PlaneBlock top = zero + FAR;
    MaskBlock which = {}, index = laneNumbers();
    for (size_t i = 0; i < blocksOf(s.upH); ++i) {
        const PlaneBlock h = load(s.upH, i) - x * load(s.upHx, i) - y * load(s.upHy, i);
        const MaskBlock lower = h < top;
        top = pick(lower, h, top);
        which = pick(lower, index, which);
        index += LANES;
    }
    PlaneBlock bottom = zero - FAR;
    for (size_t i = 0; i < blocksOf(s.downH); ++i) {
        const PlaneBlock h = load(s.downH, i) - x * load(s.downHx, i) - y * load(s.downHy, i);
        bottom = pick(h > bottom, h, bottom);
    }
    MaskBlock beside = {};
    for (size_t i = 0; i < blocksOf(s.sideA); ++i)
        beside |= load(s.sideA, i) * x + load(s.sideB, i) * y > load(s.sideD, i);
    double zTop = FAR, zBottom = -FAR;
    int up = -1;
    for (int k = 0; k < LANES; ++k) {
        if (beside[k]) return -1;
        if (top[k] < zTop) {
            zTop = top[k];
            up = static_cast<int>(which[k]);
        }
        zBottom = std::max(zBottom, bottom[k]);
    }
    if (up < 0 || zTop <= zBottom || zTop >= FAR) return -1;
    z = zTop;
    return up;
}

// Why the vertical ray through a pixel missed the stone, found again
// cheaply for the next: an up plane below a down plane there, or a side
// plane it lies beyond (-1 for none). The search over all planes takes the
// lowest up plane and the highest down plane, so a pair of them that cross
// (by the same arithmetic) makes it miss too, however many others there are.
struct MissWitness {
    int up = -1, down = -1, side = -1;

    bool holds(const PreparedStone& s, double x, double y) const {
        if (side >= 0) return s.sideA[side] * x + s.sideB[side] * y > s.sideD[side];
        if (up < 0) return false;
        return s.upH[up] - x * s.upHx[up] - y * s.upHy[up] <= s.downH[down] - x * s.downHx[down] - y * s.downHy[down];
    }
    // After the search over all planes found that the ray misses.
    void learn(const PreparedStone& s, double x, double y) {
        *this = {};
        for (size_t k = 0; k < s.sideA.size(); ++k)
            if (s.sideA[k] * x + s.sideB[k] * y > s.sideD[k]) {
                side = static_cast<int>(k);
                return;
            }
        double top = FAR, bottom = -FAR;
        for (size_t k = 0; k < s.upPlane.size(); ++k)
            if (const double h = s.upH[k] - x * s.upHx[k] - y * s.upHy[k]; h < top) {
                top = h;
                up = static_cast<int>(k);
            }
        for (size_t k = 0; k < s.downH.size(); ++k)
            if (const double h = s.downH[k] - x * s.downHx[k] - y * s.downHy[k]; h > bottom) {
                bottom = h;
                down = static_cast<int>(k);
            }
        if (up < 0 || down < 0 || !(top <= bottom)) *this = {};
    }
};

// Whether the vertical ray through (x, y) enters by up plane `up`, as the
// pixel before did, settled from that plane's hint block: the point where
// the ray meets the plane must lie clearly inside every plane of the block,
// and so on the plane's face, with every other plane clearly above or
// below it. The search over all planes then gives this plane and, by the
// same arithmetic, this height, to the bit.
inline bool confirmEntry(const PreparedStone& s, int up, double x, double y, double& z) {
    if (up < 0) return false;
    const int q = s.upPlane[up];
    const int halves = s.hints.halves[q];
    if (halves == 0) return false;
    const double height = s.upH[up] - x * s.upHx[up] - y * s.upHy[up];
    const float px = float(x), py = float(y), pz = float(height);
    const float* blocks = s.hints.blocks.data();
    for (int h = 0; h < halves; ++h) {
        const ExitHalf A = loadHint(blocks, q, h, 0), B = loadHint(blocks, q, h, 1), C = loadHint(blocks, q, h, 2);
        const ExitHalf n = loadHint(blocks, q, h, 3) - (A * px + B * py + C * pz);
        if (anyLane(n <= s.hints.clearance)) return false;
    }
    z = height;
    return true;
}

// The planes the pixel before left by, bounce by bounce: the next pixel's
// guesses. A guess costs a fraction of a full search; where guesses mostly
// miss (a small picture, whose neighbouring pixels lie far apart) they are
// tried only now and then, to notice when they start to hit again.
struct NeighbourExits {
    int plane[MAX_INTERNAL_BOUNCES + 1];
    int tried = 0, settled = 0, passed = 0;

    NeighbourExits() { std::fill_n(plane, MAX_INTERNAL_BOUNCES + 1, -1); }
    bool worthGuessing() {
        if (tried < 32 || 2 * settled >= tried) return true;
        return ++passed % 16 == 0;
    }
};

// The planes each pixel of a row left by, bounce by bounce, and how many:
// the second guesses of the row below, where the pixel before went
// another way.
struct RowExits {
    std::vector<int> planes;      // MAX_INTERNAL_BOUNCES + 1 a pixel
    std::vector<uint8_t> counts;  // 0 where the pixel's ray missed, or for a row not traced

    explicit RowExits(int size) : planes(size_t(size) * (MAX_INTERNAL_BOUNCES + 1), -1), counts(size, 0) {}
    int* of(int col) { return &planes[size_t(col) * (MAX_INTERNAL_BOUNCES + 1)]; }
    const int* of(int col) const { return &planes[size_t(col) * (MAX_INTERNAL_BOUNCES + 1)]; }
};

struct EntryGuess {
    int up = -1;
    MissWitness miss;
    bool missing = false;  // the pixel before missed, for the reason in `miss`
};

// The light of one pixel on its way through the stone: what is left of
// it, where it is and where it goes.
struct Path {
    PixelLight out;
    double p[3], d[3];
    double energy = 0;
    int bounces = 0;
    bool going = false;
    NeighbourExits* neighbour = nullptr;
    // The up plane the pixel before entered by (-1 for none) and why the
    // last pixel that missed did; null when entries are not guessed.
    EntryGuess* entryGuess = nullptr;
    // The exits of the pixel above and how many it had, the same of the
    // pixel above and to the right (null at the row's end); where this
    // path's are kept for the pixel below (null when not kept).
    const int* above = nullptr;
    int aboveCount = 0;
    const int* aboveRight = nullptr;
    int aboveRightCount = 0;
    int* exits = nullptr;

    // The plane this path leaves by next and the distance to it, when the
    // neighbour's plane at this bounce can be confirmed cheaply.
    bool confirmNeighbourExit(const PreparedStone& s, int& plane, double& distance) const {
        if (!neighbour || !neighbour->worthGuessing()) return false;
        const float pf[3] = {float(p[0]), float(p[1]), float(p[2])};
        const float df[3] = {float(d[0]), float(d[1]), float(d[2])};
        const int left = neighbour->plane[bounces];
        ++neighbour->tried;
        int guess = left;
        if (!confirmExit(s, left, pf, df, distance)) {
            guess = bounces < aboveCount ? above[bounces] : -1;
            if (guess == left || !confirmExit(s, guess, pf, df, distance)) {
                // Where the pattern slants, the pixel above to the right
                // often went the way this one goes.
                const int tried = guess;
                guess = bounces < aboveRightCount ? aboveRight[bounces] : -1;
                if (guess == left || guess == tried || !confirmExit(s, guess, pf, df, distance)) return false;
            }
        }
        ++neighbour->settled;
        plane = guess;
        return true;
    }
    void rememberExit(int plane) {
        if (neighbour) neighbour->plane[bounces] = plane;
        if (exits) exits[bounces] = plane;
    }

    void score(const LightingTest& light, double lx, double ly, double lz, double e) {
        if (lx * light.gx + ly * light.gy + lz * light.gz <= 0.0) out.window += e;
        if (light.hasScene()) scoreScene(light, lx, ly, lz, e);
        if (light.lit(lx, ly, lz)) {
            out.lit += e;
            out.iso += e;
            out.cos += e * lz;
            if (light.observed(lz)) out.observed += e;
        } else {
            out.unlit += e;
        }
    }

    // Under a room, as under ISO, nothing comes from below the girdle plane
    // nor from the head shadow the lighting sets.
    void scoreScene(const LightingTest& light, double lx, double ly, double lz, double e) {
        const double height = lx * light.gx + ly * light.gy + lz * light.gz;
        if (height <= 0.0) return;
        if (light.aset) {
            if (!light.observed(lz)) out.blue += e;
            else if (height >= light.redSin) out.red += e;
            else out.green += e;
            return;
        }
        if (lz > light.shadowCos) return;
        const double v = e * light.room->radiance(lx, ly, lz);
        out.scene += v;
        if (light.observed(lz)) out.sceneObserved += v;
    }

    // Enters the stone at the pixel (x, y); what the crown reflects is scored.
    void enter(const PreparedStone& s, double x, double y, double ri, const LightingTest& light) {
        p[0] = x;
        p[1] = y;
        int up = -1;
        if (!entryGuess) {
            up = entryPlane(s, x, y, p[2]);
        } else if (entryGuess->missing && entryGuess->miss.holds(s, x, y)) {
            return;
        } else if (confirmEntry(s, entryGuess->up, x, y, p[2])) {
            up = entryGuess->up;
        } else {
            up = entryPlane(s, x, y, p[2]);
        }
        if (entryGuess) {
            entryGuess->missing = up < 0;
            if (up >= 0) entryGuess->up = up;
            else entryGuess->miss.learn(s, x, y);
        }
        if (up < 0) return;
        const int entry = s.upPlane[up];
        out.inside = true;
        const double nx = s.a[entry], ny = s.b[entry], nz = s.c[entry];
        const Vec3 n{nx, ny, nz};
        const double cosI = nz;  // -(n . d) for d straight down
        const double eta = 1.0 / ri;
        const double cosT = transmittedCos(cosI, eta);
        const double r = fresnelReflectance(cosI, cosT, 1.0, ri);
        out.surface = r;
        const Vec3 back = reflectedDirection(DOWN, n, -cosI);
        score(light, back.x, back.y, back.z, r);
        const Vec3 in = refractedDirection(DOWN, n, eta, cosI, cosT);
        d[0] = in.x;
        d[1] = in.y;
        d[2] = in.z;
        energy = 1.0 - r;
        going = stillGoing();
    }

    // Gives the path up when too little is left or it has reflected often enough.
    bool stillGoing() {
        if (energy < MIN_PATH_ENERGY) {
            out.belowThreshold += energy;
            return false;
        }
        if (bounces == MAX_INTERNAL_BOUNCES) {
            out.bounceLimit += energy;
            return false;
        }
        return true;
    }

    // Meets plane f after distance t: what leaves is scored, the rest reflects.
    void meet(const PreparedStone& s, int f, double t, double ri, const LightingTest& light) {
        if (f < 0) {  // cannot happen in a closed stone; the light is lost, not invented
            out.unlit += energy;
            going = false;
            return;
        }
        p[0] += t * d[0];
        p[1] += t * d[1];
        p[2] += t * d[2];
        const double nx = s.a[f], ny = s.b[f], nz = s.c[f];
        const double cosI = nx * d[0] + ny * d[1] + nz * d[2];
        const double cosT = transmittedCos(cosI, ri);
        const Vec3 dir{d[0], d[1], d[2]}, n{nx, ny, nz};
        if (cosT >= 0) {
            const double r = fresnelReflectance(cosI, cosT, ri, 1.0);
            const Vec3 out = refractedDirection(dir, {-nx, -ny, -nz}, ri, cosI, cosT);
            score(light, out.x, out.y, out.z, energy * (1 - r));
            energy *= r;
        }
        const Vec3 back = reflectedDirection(dir, n, cosI);
        d[0] = back.x;
        d[1] = back.y;
        d[2] = back.z;
        ++bounces;
        going = stillGoing();
    }

    // Follows the path alone to its end.
    void finish(const PreparedStone& s, double ri, const LightingTest& light) {
        while (going) {
            int f[1];
            double t[1];
            if (!confirmNeighbourExit(s, f[0], t[0])) {
                const double* ps[1] = {p};
                const double* ds[1] = {d};
                exitPlanes<1>(s, ps, ds, f, t);
            }
            rememberExit(f[0]);
            meet(s, f[0], t[0], ri, light);
        }
    }
};

// Two neighbouring pixels, followed side by side while both go on.
inline void tracePair(const PreparedStone& s, Path& one, Path& two, double ri, const LightingTest& light) {
    while (one.going && two.going) {
        int f[2];
        double t[2];
        const bool knowOne = one.confirmNeighbourExit(s, f[0], t[0]);
        const bool knowTwo = two.confirmNeighbourExit(s, f[1], t[1]);
        if (!knowOne && !knowTwo) {
            const double* ps[2] = {one.p, two.p};
            const double* ds[2] = {one.d, two.d};
            exitPlanes<2>(s, ps, ds, f, t);
        } else if (!knowOne || !knowTwo) {
            const int r = knowOne ? 1 : 0;
            Path& unknown = knowOne ? two : one;
            const double* ps[1] = {unknown.p};
            const double* ds[1] = {unknown.d};
            exitPlanes<1>(s, ps, ds, &f[r], &t[r]);
        }
        one.rememberExit(f[0]);
        two.rememberExit(f[1]);
        one.meet(s, f[0], t[0], ri, light);
        two.meet(s, f[1], t[1], ri, light);
    }
    one.finish(s, ri, light);
    two.finish(s, ri, light);
}

inline PixelLight tracePixel(const PreparedStone& s, double x, double y, double ri, const LightingTest& light) {
    Path path;
    path.enter(s, x, y, ri, light);
    path.finish(s, ri, light);
    return path.out;
}

struct RowTotals {
    double iso = 0, cos = 0, scene = 0;
    int inside = 0;
};

struct RowJob {
    const PreparedStone* stone;
    const LightingTest* light;
    double refractiveIndex;
    double left, step;
    int size;
    bool guessExits;
    bool guessEntries;
    // The exits of the row above, and where this row's are kept (both null
    // when exits are not guessed).
    const RowExits* above;
    RowExits* exits;
    float* iso;
    float* cos;
    float* window;
    float* observed;
    uint8_t* inside;
    // Under a room light only.
    float* scene;
    float* sceneObserved;
    float *red, *green, *blue;  // ASET only
};

// One row of the picture. Built for the wider vector units too where the
// compiler can choose among them when the program starts. Not under the
// sanitizers: the choosing runs before their run-time is up, and crashes.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && \
    !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
#if defined(__GNUC__)
__attribute__((flatten))
#endif
RowTotals traceRow(const RowJob& job, double y) {
    RowTotals sums;
    auto keep = [&](int col, const PixelLight& light) {
        if (!light.inside) return;
        job.iso[col] = float(light.iso);
        job.cos[col] = float(light.cos);
        job.window[col] = float(light.window);
        job.observed[col] = float(light.observed);
        job.inside[col] = 1;
        if (job.scene) {
            const bool aset = job.red != nullptr;
            const double scene = aset ? light.red + light.green : light.scene;
            job.scene[col] = float(scene);
            job.sceneObserved[col] = float(aset ? scene : light.sceneObserved);
            sums.scene += scene;
            if (aset) {
                job.red[col] = float(light.red);
                job.green[col] = float(light.green);
                job.blue[col] = float(light.blue);
            }
        }
        sums.iso += light.iso;
        sums.cos += light.cos;
        ++sums.inside;
    };
    const PreparedStone& s = *job.stone;
    // Shared by both paths of a pair: each guesses the plane the pixel
    // before it left by at the same bounce.
    NeighbourExits neighbour;
    EntryGuess entry;
    for (int col = 0; col < job.size; col += 2) {
        Path one, two;
        if (job.guessExits) one.neighbour = two.neighbour = &neighbour;
        if (job.guessEntries) one.entryGuess = two.entryGuess = &entry;
        const bool pair = col + 1 < job.size;
        if (job.exits) {
            one.above = job.above->of(col);
            one.aboveCount = job.above->counts[col];
            one.exits = job.exits->of(col);
            if (pair) {
                one.aboveRight = two.above = job.above->of(col + 1);
                one.aboveRightCount = two.aboveCount = job.above->counts[col + 1];
                two.exits = job.exits->of(col + 1);
            }
            if (col + 2 < job.size) {
                two.aboveRight = job.above->of(col + 2);
                two.aboveRightCount = job.above->counts[col + 2];
            }
        }
        one.enter(s, job.left + col * job.step, y, job.refractiveIndex, *job.light);
        if (pair) two.enter(s, job.left + (col + 1) * job.step, y, job.refractiveIndex, *job.light);
        tracePair(s, one, two, job.refractiveIndex, *job.light);
        keep(col, one.out);
        if (pair) keep(col + 1, two.out);
        if (job.exits) {
            job.exits->counts[col] = uint8_t(one.bounces);
            if (pair) job.exits->counts[col + 1] = uint8_t(two.bounces);
        }
    }
    return sums;
}

}  // namespace

PreparedStone::PreparedStone(const Stone& stone, double tiltDegrees, bool withHints) {
    const double tilt = tiltDegrees / DEG_PER_RAD;
    const double cs = std::cos(tilt), sn = std::sin(tilt);
    count_ = stone.nFacet;
    // Each facet's plane turned by the tilt, with the facet it came from.
    struct TiltedFacet {
        Plane plane;
        int facet;
    };
    std::vector<TiltedFacet> planes;
    for (int i = 0; i < count_; ++i) {
        const Facet& f = stone.facets[i];
        planes.push_back({{f.a, f.b * cs - f.c * sn, f.b * sn + f.c * cs, f.d}, i});
    }
    // Crown first, then girdle, then pavilion: the blocks of the exit
    // search then hold planes facing much the same way, and a ray can pass
    // over a block whose planes all face away from it.
    std::stable_sort(planes.begin(), planes.end(),
                     [](const TiltedFacet& p, const TiltedFacet& q) { return p.plane.c > q.plane.c; });
    while (planes.size() % EXIT_LANES != 0) planes.push_back({{0, 0, 0, 1}, -1});
    int ups = 0, downs = 0, sides = 0;
    for (int i = 0; i < static_cast<int>(planes.size()); ++i) {
        const auto [na, nb, nc, nd] = planes[i].plane;
        const int facet = planes[i].facet;
        a.push_back(na);
        b.push_back(nb);
        c.push_back(nc);
        d.push_back(nd);
        fa.push_back(float(na));
        fb.push_back(float(nb));
        fc.push_back(float(nc));
        fd.push_back(float(nd));
        facetOf.push_back(facet);
        if (facet < 0) continue;
        if (nc > PARALLEL) {
            append(upHx, ups, na / nc, 0.0);
            append(upHy, ups, nb / nc, 0.0);
            append(upH, ups, nd / nc, FAR);
            upPlane.push_back(i);
            ++ups;
        } else if (nc < -PARALLEL) {
            append(downHx, downs, na / nc, 0.0);
            append(downHy, downs, nb / nc, 0.0);
            append(downH, downs, nd / nc, -FAR);
            ++downs;
        } else {
            append(sideA, sides, na, 0.0);
            append(sideB, sides, nb, 0.0);
            append(sideD, sides, nd, 1.0);
            ++sides;
        }
    }
    // Each block's normals lie within some angle h of their mean direction;
    // a ray whose direction makes more than 90 + h degrees with it heads
    // out through none of them.
    for (size_t first = 0; first < planes.size(); first += EXIT_LANES) {
        double ax = 0, ay = 0, az = 0;
        for (size_t i = first; i < first + EXIT_LANES; ++i) {
            ax += planes[i].plane.a;
            ay += planes[i].plane.b;
            az += planes[i].plane.c;
        }
        const double len = std::sqrt(ax * ax + ay * ay + az * az);
        double minCos = 1;
        if (len > 1e-9) {
            ax /= len;
            ay /= len;
            az /= len;
            for (size_t i = first; i < first + EXIT_LANES; ++i)
                if (const Plane& p = planes[i].plane; planes[i].facet >= 0)
                    minCos = std::min(minCos, ax * p.a + ay * p.b + az * p.c);
        }
        // Below -sin(h) = -sqrt(1 - cos^2 h), less a margin for rounding;
        // blocks spread over more than a hemisphere are never passed over.
        const double threshold = len > 1e-9 && minCos > 0 ? -std::sqrt(1 - minCos * minCos) - 1e-9 : -2.0;
        blockAxis.insert(blockAxis.end(), {ax, ay, az, threshold});
    }
    if (withHints) hints = exitHintsOf(stone, tilt, a, b, c, d, facetOf);
    double minX = FAR, maxX = -FAR, minY = FAR, maxY = -FAR;
    for (int v = 0; v < stone.nVertex; ++v) {
        const Vertex& q = stone.vertices[v];
        const double y = q.y * cs - q.z * sn;
        minX = std::min(minX, q.x);
        maxX = std::max(maxX, q.x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    if (stone.nVertex == 0) minX = maxX = minY = maxY = 0;
    centreX_ = 0.5 * (minX + maxX);
    centreY_ = 0.5 * (minY + maxY);
    // A small margin keeps the outline off the picture's edge.
    halfWidth_ = std::max(0.5 * std::max(maxX - minX, maxY - minY) * 1.04, 1e-6);
}

PixelLight PreparedStone::trace(double x, double y, double ri, const LightingTest& light) const {
    return tracePixel(*this, x, y, ri, light);
}

FaceUpImage renderFaceUp(const Stone& stone, const FaceUpOptions& options) {
    return renderFaceUp(PreparedStone(stone, options.tiltDegrees, options.size >= MIN_HINTED_ENTRY_SIZE), options);
}

FaceUpTrace::FaceUpTrace(const PreparedStone& prepared, const FaceUpOptions& options)
    : prepared_(prepared),
      refractiveIndex_(options.refractiveIndex),
      light_(options.lighting, options.tiltDegrees / DEG_PER_RAD) {
    const int n = std::max(options.size, 1);
    image_.size = n;
    const size_t pixels = size_t(n) * n;
    image_.iso.assign(pixels, 0.0f);
    image_.cos.assign(pixels, 0.0f);
    image_.window.assign(pixels, 0.0f);
    image_.observed.assign(pixels, 0.0f);
    image_.inside.assign(pixels, 0);
    if (light_.hasScene()) {
        image_.environment = options.lighting.environment;
        image_.scene.assign(pixels, 0.0f);
        image_.sceneObserved.assign(pixels, 0.0f);
        if (light_.aset) {
            image_.red.assign(pixels, 0.0f);
            image_.green.assign(pixels, 0.0f);
            image_.blue.assign(pixels, 0.0f);
        }
    }
    step_ = 2 * prepared.halfWidth() / n;
    left_ = prepared.centreX() - prepared.halfWidth() + 0.5 * step_;
    top_ = prepared.centreY() + prepared.halfWidth() - 0.5 * step_;
    guessEntries_ = !prepared.hints.halves.empty();
    guessExits_ = n >= MIN_HINTED_SIZE && guessEntries_;
    rows_.resize(n);
}

void FaceUpTrace::traceRows(int first, int end) {
    const int n = image_.size;
    // A pointer into a picture, or none where the render has no such picture.
    auto rowOf = [](std::vector<float>& picture, size_t at) { return picture.empty() ? nullptr : &picture[at]; };
    std::optional<RowExits> above, exits;
    if (guessExits_) {
        above.emplace(n);
        exits.emplace(n);
    }
    for (int row = first; row < end; ++row) {
        const size_t at = size_t(row) * n;
        const RowJob job{&prepared_, &light_, refractiveIndex_, left_, step_, n, guessExits_, guessEntries_,
                         above ? &*above : nullptr, exits ? &*exits : nullptr,
                         &image_.iso[at], &image_.cos[at], &image_.window[at], &image_.observed[at],
                         &image_.inside[at], rowOf(image_.scene, at), rowOf(image_.sceneObserved, at),
                         rowOf(image_.red, at), rowOf(image_.green, at), rowOf(image_.blue, at)};
        const RowTotals sums = traceRow(job, top_ - row * step_);
        rows_[row] = {sums.iso, sums.cos, sums.scene, sums.inside};
        if (guessExits_) std::swap(*above, *exits);
    }
}

FaceUpImage FaceUpTrace::finish(bool complete) {
    // Summed in row order so the figure does not depend on the thread count.
    RowSums total;
    for (const RowSums& r : rows_) {
        total.iso += r.iso;
        total.cos += r.cos;
        total.scene += r.scene;
        total.inside += r.inside;
    }
    FaceUpImage image = std::move(image_);
    image.complete = complete;
    image.insideCount = total.inside;
    if (total.inside > 0) {
        image.isoBrightness = 100.0 * total.iso / total.inside;
        image.cosBrightness = 100.0 * total.cos / total.inside;
        image.sceneBrightness = 100.0 * total.scene / total.inside;
    }
    return image;
}

FaceUpImage renderFaceUp(const PreparedStone& prepared, const FaceUpOptions& options) {
    FaceUpTrace trace(prepared, options);
    const int n = trace.size(), band = trace.bandRows();
    const bool complete = forEachBand(n, band, options.threads, options.cancel,
                                      [&](int first, int end) { trace.traceRows(first, end); });
    return trace.finish(complete);
}

}  // namespace brevix::optics
