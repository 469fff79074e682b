#include "files/c_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace brevix {

void appendFixed(std::string& out, double value, int precision) {
    char buffer[400];  // the widest double in fixed notation needs 309 digits
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                precision);
    out.append(buffer, result.ptr);
}

void appendGeneral(std::string& out, double value, int precision) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                precision);
    out.append(buffer, result.ptr);
}

void appendShortest(std::string& out, double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendInt(std::string& out, long long value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// A number too large or too small for a double: tell which from its digits.
double outOfRange(std::string_view digits) {
    const size_t e = digits.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-') return 0;
    for (char c : digits.substr(0, e)) {
        if (c == '.') break;
        if (c >= '1' && c <= '9') return std::numeric_limits<double>::infinity();
    }
    return 0;
}

}  // namespace

double parseDouble(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::string_view rest = text.substr(i);
    // from_chars takes no sign of its own; a second sign is not a number.
    if (rest.empty() || rest[0] == '+' || rest[0] == '-') return 0;
    double value = 0;
    std::from_chars_result result{};
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        result = std::from_chars(rest.data() + 2, rest.data() + rest.size(), value,
                                 std::chars_format::hex);
        if (result.ec == std::errc::invalid_argument) value = 0;  // "0x" alone reads as 0
    } else {
        result = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (result.ec == std::errc::invalid_argument) value = 0;
    }
    if (result.ec == std::errc::result_out_of_range) value = outOfRange(rest);
    return negative ? -value : value;
}

int32_t parseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > (1LL << 31)) break;  // saturated either way
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace brevix
