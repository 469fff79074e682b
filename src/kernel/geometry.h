#pragma once
// Small vector type and the tolerances every geometric test of the program
// shares. +z points from the pavilion to the crown; index 0 of the gear lies
// along +y and a quarter of the gear along +x.
#include <cmath>

namespace brevix {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 p, Vec3 q) { return {p.x + q.x, p.y + q.y, p.z + q.z}; }
inline Vec3 operator-(Vec3 p, Vec3 q) { return {p.x - q.x, p.y - q.y, p.z - q.z}; }
inline Vec3 operator*(Vec3 p, double k) { return {p.x * k, p.y * k, p.z * k}; }
inline Vec3 operator*(double k, Vec3 p) { return p * k; }
inline double dot(Vec3 p, Vec3 q) { return p.x * q.x + p.y * q.y + p.z * q.z; }
inline Vec3 cross(Vec3 p, Vec3 q) {
    return {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}
inline double length(Vec3 p) { return std::sqrt(dot(p, p)); }

// Every geometric classification.
constexpr double EPS = 1e-8;
// Short edges and vertices off their planes; the product is kept as double
// arithmetic gives it (3.0000000000000004e-8), not as the literal 3e-8.
inline const double EPS3 = 3 * EPS;
// A facet whose normal's c exceeds this is a table; also the whole-index test.
constexpr double NEAR_ONE = 0.99999999;
// Half-size of the rough cube of every design, and of database designs.
constexpr double ROUGH_HALF = 1.02;
constexpr double DATABASE_ROUGH_HALF = 1.25;

constexpr double PI = 3.141592653589793;
constexpr double TWO_PI = 6.283185307179586;
constexpr double DEG_PER_RAD = 57.29577951308232;

}  // namespace brevix
