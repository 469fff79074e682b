#include "platform/number_parse.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace brevix {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// A number too large or too small for a double (`digits`, after the "0x" of
// a hexadecimal one, as far as it reads): which, from the place of its first
// significant digit and its exponent. At or below the units place it is far
// too small to overflow; above it, far too large to underflow.
double outOfRange(std::string_view digits, bool hex) {
    const size_t mark = digits.find_first_of(hex ? "pP" : "eE");
    const std::string_view mantissa = digits.substr(0, mark);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    long long place = 0;  // of the first significant digit: 0 for units, -1 for the first after the point
    bool significant = false;
    for (size_t k = 0; k < mantissa.size() && !significant; ++k) {
        if (mantissa[k] == '.' || mantissa[k] == '0') continue;
        significant = true;
        place = k < point ? static_cast<long long>(point - k - 1) : -static_cast<long long>(k - point);
    }
    if (!significant) return 0;
    long long exponent = 0;
    if (mark != std::string_view::npos) {
        std::string_view e = digits.substr(mark + 1);
        const bool negative = !e.empty() && e[0] == '-';
        if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
        for (char c : e) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    // A hexadecimal digit is four binary places; its exponent counts binary ones.
    return (hex ? 4 * place : place) + exponent > 0 ? std::numeric_limits<double>::infinity() : 0;
}

}  // namespace

std::optional<double> leadingNumber(std::string_view text, size_t* length) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::string_view rest = text.substr(i);
    // from_chars takes no sign of its own; a second sign is not a number.
    if (rest.empty() || rest[0] == '+' || rest[0] == '-') return std::nullopt;
    double value = 0;
    std::from_chars_result result{};
    bool hex = false;
    const char* const last = rest.data() + rest.size();
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
        (std::isxdigit(static_cast<unsigned char>(rest[2])) || rest[2] == '.')) {
        hex = true;
        result = std::from_chars(rest.data() + 2, last, value, std::chars_format::hex);
        if (result.ec == std::errc::invalid_argument) {
            // "0x." with no hexadecimal digit is the number 0 and an 'x'.
            value = 0;
            result.ptr = rest.data() + 1;
        }
    } else {
        result = std::from_chars(rest.data(), last, value);
        if (result.ec == std::errc::invalid_argument) return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range) {
        const char* const first = rest.data() + (hex ? 2 : 0);
        value = outOfRange(std::string_view(first, static_cast<size_t>(result.ptr - first)), hex);
    }
    if (length) *length = static_cast<size_t>(result.ptr - text.data());
    return negative ? -value : value;
}

std::optional<double> wholeNumber(std::string_view text, bool plusAllowed) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (plusAllowed && first != last && *first == '+') ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace brevix
