#include "document/rotate_amount.h"

#include <cmath>
#include <cstdlib>

#include "files/c_numbers.h"

namespace brevix {

double readRotateAmount(std::string_view text) {
    const double amount = parseDouble(text);
    return std::isfinite(amount) ? amount : 0;
}

std::string rotateAmountText(double amount) {
    std::string text;
    appendFixed(text, amount, 3);
    return text;
}

std::optional<double> rotationRadians(double amount, RotateUnit unit, int gear) {
    switch (unit) {
    case RotateUnit::Degrees:
        return amount * 0.017453292519943295;
    case RotateUnit::IndexNotches:
        if (gear == 0) return std::nullopt;
        return amount * 6.283185307179586 / std::abs(static_cast<double>(gear));
    case RotateUnit::QuarterRevolutions:
        return amount * 1.5707963267948966;
    }
    return std::nullopt;
}

}  // namespace brevix
