#include "facet_placement/cut_facet_form.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix {

std::optional<double> scanDouble(std::string_view text) {
    size_t length = 0;
    const std::optional<double> value = leadingNumber(text, &length);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    // Where strtod reads "0x" without hexadecimal digits as 0, "%lf" has
    // already taken the 'x' and finds no number ("0x." is 0 to both).
    const std::string_view number = text.substr(0, length), rest = text.substr(length);
    const bool loneZero = number.substr(number.find_first_not_of(" \t\n\r\f\v+-")) == "0";
    if (loneZero && !rest.empty() && (rest[0] == 'x' || rest[0] == 'X') && !(rest.size() > 1 && rest[1] == '.'))
        return std::nullopt;
    return value;
}

std::optional<int> scanInt(std::string_view text) {
    const std::string buffer(text);
    int value = 0;
    if (std::sscanf(buffer.c_str(), "%d", &value) != 1) return std::nullopt;
    return value;
}

std::optional<double> readAngleField(std::string_view text, Diagnostics& notes) {
    const std::optional<double> value = scanDouble(text);
    if (!value) return std::nullopt;
    if (*value < -90 || *value > 90) {
        notes.warning(DiagCode::FormAngleOutOfRange, "Angle should be between -90 and 90");
        return std::nullopt;
    }
    return value;
}

std::optional<int> readSymmetryField(std::string_view text, Diagnostics& notes) {
    const std::optional<int> value = scanInt(text);
    if (!value) return std::nullopt;
    if (*value < 1) {
        notes.warning(DiagCode::FormSymmetryNotPositive, "Symmetry should a positive number");
        return std::nullopt;
    }
    return value;
}

std::vector<Vec3> readPointsField(std::string_view text) {
    constexpr std::string_view separators = " \t\r\n,;";
    double coordinates[9] = {};
    int count = 0;
    size_t at = 0;
    while (count < 9) {
        at = text.find_first_not_of(separators, at);
        if (at == std::string_view::npos) break;
        size_t end = text.find_first_of(separators, at);
        if (end == std::string_view::npos) end = text.size();
        const std::string token(text.substr(at, end - at));
        // Unreadable text counts as 0, as atof gives it.
        const double value = leadingNumber(token).value_or(0);
        coordinates[count++] = std::isfinite(value) ? value : 0;
        at = end;
    }
    std::vector<Vec3> points;
    for (int k = 0; k + 3 <= count; k += 3)
        points.push_back({coordinates[k], coordinates[k + 1], coordinates[k + 2]});
    return points;
}

std::string angleFieldText(double angle) { return strprintf("%.6f", angle); }
std::string indexFieldText(double index) { return strprintf("%.6f", index); }
std::string cedFieldText(double ced) { return strprintf("%.8f", ced); }
std::string symmetryFieldText(int symmetry) { return strprintf("%d", symmetry); }

std::string pointsFieldText(const NewFacetInfo& info) {
    const auto row = [&](int k) {
        const Vec3& p = info.points[k];
        return strprintf("%12.8f %12.8f %12.8f", p.x, p.y, p.z);
    };
    switch (info.nPoints) {
    case 1:
        return row(0) + "\r\n\r\n";
    case 2:
        return row(0) + "\r\n" + row(1) + "\r\n";
    case 3:
        return row(0) + "\r\n" + row(1) + "\r\n" + row(2);
    default:
        return "\r\n\r\n";
    }
}

CutFacetFormTexts cutFacetFormTexts(const NewFacetInfo& info, bool complete) {
    CutFacetFormTexts out;
    out.caption = complete ? "Cut Facet" : "Apply";
    if (info.hasAngle) out.angle = angleFieldText(info.angle);
    if (info.hasIndex) out.index = indexFieldText(info.index) + (info.recutPending ? "*" : "");
    if (info.hasCed) out.ced = cedFieldText(info.ced);
    out.points = pointsFieldText(info);
    out.symmetry = symmetryFieldText(info.symmetry);
    out.betweenEnabled = info.nPoints == 2;
    out.mirror = info.mirror != 0;
    return out;
}

bool defaultButtonCuts(std::string_view caption) { return caption != "Apply"; }

double readCommandFieldOnLeave(std::string_view text) { return scanDouble(text).value_or(0); }

std::optional<double> readCommandFieldOnOk(std::string_view text) { return scanDouble(text); }

}  // namespace brevix
