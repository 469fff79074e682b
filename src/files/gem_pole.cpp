#include "files/gem_pole.h"

#include <cmath>
#include <cstdlib>

#include "files/file_units.h"

namespace brevix {

GemPlane planeOfPole(double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    return {x / len, y / len, z / len, FILE_SCALE / len};
}

namespace {

bool readsBackAs(const std::array<double, 3>& p, const Facet& f) {
    const GemPlane q = planeOfPole(p[0], p[1], p[2]);
    return q.a == f.a && q.b == f.b && q.c == f.c && q.d == f.d;
}

double stepped(double value, int steps) {
    const double toward = steps < 0 ? -INFINITY : INFINITY;
    for (int i = std::abs(steps); i > 0; --i) value = std::nextafter(value, toward);
    return value;
}

}  // namespace

std::array<double, 3> poleOf(const Facet& f) {
    const double k = FILE_SCALE / f.d;
    const std::array<double, 3> formula = {f.a * k, f.b * k, f.c * k};
    if (readsBackAs(formula, f)) return formula;
    for (int radius = 1; radius <= 2; ++radius) {
        for (int i = -radius; i <= radius; ++i)
            for (int j = -radius; j <= radius; ++j)
                for (int k2 = -radius; k2 <= radius; ++k2) {
                    if (std::abs(i) != radius && std::abs(j) != radius && std::abs(k2) != radius)
                        continue;  // tried at a smaller radius
                    const std::array<double, 3> p = {stepped(formula[0], i), stepped(formula[1], j),
                                                     stepped(formula[2], k2)};
                    if (readsBackAs(p, f)) return p;
                }
    }
    return formula;
}

}  // namespace brevix
