#include "optics/dispersion.h"

namespace brevix::optics {

LineIndexes lineIndexes(double nD, double dispersion) {
    const auto inverseSquare = [](double nm) { return 1.0 / (nm * nm); };
    const double b = dispersion / (inverseSquare(LINE_F_NM) - inverseSquare(LINE_C_NM));
    const double a = nD - b * inverseSquare(LINE_D_NM);
    return {a + b * inverseSquare(LINE_C_NM), nD, a + b * inverseSquare(LINE_F_NM)};
}

DispersionImage renderDispersion(const Stone& stone, const FaceUpOptions& options, double dispersion) {
    DispersionImage out;
    const LineIndexes n = lineIndexes(options.refractiveIndex, dispersion);
    const double indexes[3] = {n.c, n.d, n.f};
    const PreparedStone prepared(stone, options.tiltDegrees);
    for (int i = 0; i < 3; ++i) {
        FaceUpOptions one = options;
        one.refractiveIndex = indexes[i];
        out.channels[i] = renderFaceUp(prepared, one);
        out.complete = out.complete && out.channels[i].complete;
    }
    return out;
}

}  // namespace brevix::optics
