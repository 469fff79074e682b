#include "kernel/exact_sign.h"

#include <cmath>

namespace brevix::exact {

namespace {

// A floating-point expansion: doubles of increasing magnitude that do not
// overlap, whose exact sum is the value. Its sign is the sign of the last
// (largest) component. At most 24 products of four doubles are summed, each
// at most eight exact pieces, so fixed arrays hold every case.
class Expansion {
public:
    // Adds the exact product of the factors (three or four of them).
    void addProduct(double f0, double f1, double f2, double f3, bool negate) {
        startProduct(f0, f1);
        scale(f2);
        scale(f3);
        addScratch(negate);
    }
    void addProduct(double f0, double f1, double f2, bool negate) {
        startProduct(f0, f1);
        scale(f2);
        addScratch(negate);
    }
    int sign() const {
        for (int i = count_ - 1; i >= 0; --i)
            if (terms_[i] != 0) return terms_[i] > 0 ? 1 : -1;
        return 0;
    }

private:
    static void twoSum(double a, double b, double& sum, double& error) {
        sum = a + b;
        const double bVirtual = sum - a;
        const double aVirtual = sum - bVirtual;
        error = (a - aVirtual) + (b - bVirtual);
    }
    void startProduct(double f0, double f1) {
        const double p = f0 * f1;
        scratch_[0] = std::fma(f0, f1, -p);
        scratch_[1] = p;
        scratchCount_ = 2;
    }
    // Multiplies the scratch pieces by one double, exactly (each piece
    // becomes its rounded product and the rounding error).
    void scale(double factor) {
        for (int i = scratchCount_ - 1; i >= 0; --i) {
            const double p = scratch_[i] * factor;
            scratch_[2 * i] = std::fma(scratch_[i], factor, -p);
            scratch_[2 * i + 1] = p;
        }
        scratchCount_ *= 2;
    }
    void addScratch(bool negate) {
        for (int i = 0; i < scratchCount_; ++i) add(negate ? -scratch_[i] : scratch_[i]);
    }
    // Adds one double, keeping the expansion non-overlapping (zero terms dropped).
    void add(double value) {
        double carry = value;
        int out = 0;
        for (int i = 0; i < count_; ++i) {
            double sum, error;
            twoSum(carry, terms_[i], sum, error);
            carry = sum;
            if (error != 0) terms_[out++] = error;
        }
        count_ = out;
        if (carry != 0) terms_[count_++] = carry;
    }

    // Each add lengthens the expansion by one term at most: 24 products of
    // eight pieces need no more than 192.
    double terms_[200];
    int count_ = 0;
    double scratch_[8];
    int scratchCount_ = 0;
};

// Minors of the 3x3 matrix with rows (u, v, w): the six signed products.
struct Det3 {
    double value;
    double bound;
};

Det3 det3(double u0, double u1, double u2, double v0, double v1, double v2, double w0, double w1,
          double w2) {
    const double m0 = v1 * w2 - v2 * w1;
    const double m1 = v0 * w2 - v2 * w0;
    const double m2 = v0 * w1 - v1 * w0;
    const double value = u0 * m0 - u1 * m1 + u2 * m2;
    const double bound = std::fabs(u0) * (std::fabs(v1 * w2) + std::fabs(v2 * w1)) +
                         std::fabs(u1) * (std::fabs(v0 * w2) + std::fabs(v2 * w0)) +
                         std::fabs(u2) * (std::fabs(v0 * w1) + std::fabs(v1 * w0));
    return {value, bound};
}

// Adds the six products of a 3x3 determinant, each times `factor`, exactly.
void addDet3(Expansion& sum, double factor, bool negate, double u0, double u1, double u2,
             double v0, double v1, double v2, double w0, double w1, double w2) {
    sum.addProduct(factor, u0, v1, w2, negate);
    sum.addProduct(factor, u0, v2, w1, !negate);
    sum.addProduct(factor, u1, v0, w2, !negate);
    sum.addProduct(factor, u1, v2, w0, negate);
    sum.addProduct(factor, u2, v0, w1, negate);
    sum.addProduct(factor, u2, v1, w0, !negate);
}

// Relative error of a 3x3 determinant evaluated as above, and of the final
// four-term sum, with generous margins (a few units in the last place each).
constexpr double DET3_ERROR = 1e-15;
constexpr double SIDE_ERROR = 4e-15;

}  // namespace

MeetPoint meetPoint(const Plane* t, int p, int q, int r) {
    const Plane& u = t[p];
    const Plane& v = t[q];
    const Plane& w = t[r];
    MeetPoint m;
    m.planes = {p, q, r};
    const Det3 n = det3(u.a, u.b, u.c, v.a, v.b, v.c, w.a, w.b, w.c);
    const Det3 x = det3(u.d, u.b, u.c, v.d, v.b, v.c, w.d, w.b, w.c);
    const Det3 y = det3(u.a, u.d, u.c, v.a, v.d, v.c, w.a, w.d, w.c);
    const Det3 z = det3(u.a, u.b, u.d, v.a, v.b, v.d, w.a, w.b, w.d);
    m.dn = n.value;
    m.dx = x.value;
    m.dy = y.value;
    m.dz = z.value;
    m.boundN = n.bound;
    m.boundX = x.bound;
    m.boundY = y.bound;
    m.boundZ = z.bound;
    return m;
}

int normalsSign(const Plane* t, int p, int q, int r) {
    const Plane& u = t[p];
    const Plane& v = t[q];
    const Plane& w = t[r];
    const Det3 n = det3(u.a, u.b, u.c, v.a, v.b, v.c, w.a, w.b, w.c);
    if (std::fabs(n.value) > DET3_ERROR * n.bound) return n.value > 0 ? 1 : -1;
    Expansion sum;
    sum.addProduct(u.a, v.b, w.c, false);
    sum.addProduct(u.a, v.c, w.b, true);
    sum.addProduct(u.b, v.a, w.c, true);
    sum.addProduct(u.b, v.c, w.a, false);
    sum.addProduct(u.c, v.a, w.b, false);
    sum.addProduct(u.c, v.b, w.a, true);
    return sum.sign();
}

int sideOf(const Plane* t, const MeetPoint& m, const Plane& s) {
    // s.(x, y, z) - s.d = (s.a dx + s.b dy + s.c dz - s.d dn) / dn
    const double numerator = s.a * m.dx + s.b * m.dy + s.c * m.dz - s.d * m.dn;
    const double bound = SIDE_ERROR * (std::fabs(s.a) * m.boundX + std::fabs(s.b) * m.boundY +
                                       std::fabs(s.c) * m.boundZ + std::fabs(s.d) * m.boundN);
    int numeratorSign;
    if (std::fabs(numerator) > bound) {
        numeratorSign = numerator > 0 ? 1 : -1;
    } else {
        const Plane& u = t[m.planes[0]];
        const Plane& v = t[m.planes[1]];
        const Plane& w = t[m.planes[2]];
        Expansion sum;
        addDet3(sum, s.a, false, u.d, u.b, u.c, v.d, v.b, v.c, w.d, w.b, w.c);
        addDet3(sum, s.b, false, u.a, u.d, u.c, v.a, v.d, v.c, w.a, w.d, w.c);
        addDet3(sum, s.c, false, u.a, u.b, u.d, v.a, v.b, v.d, w.a, w.b, w.d);
        addDet3(sum, s.d, true, u.a, u.b, u.c, v.a, v.b, v.c, w.a, w.b, w.c);
        numeratorSign = sum.sign();
    }
    if (numeratorSign == 0) return 0;
    int denominatorSign;
    if (std::fabs(m.dn) > DET3_ERROR * m.boundN)
        denominatorSign = m.dn > 0 ? 1 : -1;
    else
        denominatorSign = normalsSign(t, m.planes[0], m.planes[1], m.planes[2]);
    return numeratorSign * denominatorSign;
}

int sideOfSnapped(const Plane* t, const MeetPoint& m, const Plane& s, double snap) {
    if (snap <= 0 || !(std::fabs(m.dn) > DET3_ERROR * m.boundN)) return sideOf(t, m, s);
    const double numerator = s.a * m.dx + s.b * m.dy + s.c * m.dz - s.d * m.dn;
    const double bound = SIDE_ERROR * (std::fabs(s.a) * m.boundX + std::fabs(s.b) * m.boundY +
                                       std::fabs(s.c) * m.boundZ + std::fabs(s.d) * m.boundN);
    // Distance and its rounding error, with the error of dn folded in generously.
    const double distance = numerator / m.dn;
    const double error = (bound + std::fabs(numerator) * DET3_ERROR * m.boundN / std::fabs(m.dn)) /
                         std::fabs(m.dn);
    if (std::fabs(distance) + error <= snap) return 0;
    if (std::fabs(distance) - error > snap) return distance > 0 ? 1 : -1;
    return std::fabs(distance) <= snap ? 0 : sideOf(t, m, s);
}

void position(const MeetPoint& m, long double& x, long double& y, long double& z) {
    x = static_cast<long double>(m.dx) / m.dn;
    y = static_cast<long double>(m.dy) / m.dn;
    z = static_cast<long double>(m.dz) / m.dn;
}

}  // namespace brevix::exact
