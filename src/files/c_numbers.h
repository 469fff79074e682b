#pragma once
// Number text for files, independent of the process locale: the GUI toolkit
// switches the C library to the user's locale, where printf and strtod would
// write and expect a decimal comma and make design files unreadable.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevix {

// printf("%.*f", precision, value), with a decimal point whatever the locale.
void appendFixed(std::string& out, double value, int precision);
// printf("%.*g", precision, value).
void appendGeneral(std::string& out, double value, int precision);
// The shortest text that reads back as exactly this value.
void appendShortest(std::string& out, double value);
// printf("%d", value).
void appendInt(std::string& out, long long value);

// atof: the longest number at the start of the text (after blanks), 0 when
// there is none; overflow gives an infinity, underflow 0.
double parseDouble(std::string_view text);
// atoi, but saturating at the int32 range instead of overflowing.
int32_t parseInt(std::string_view text);

}  // namespace brevix
