#pragma once
// Reading numbers from text, whatever the process locale (a GUI toolkit may
// switch the C library to the user's locale, where strtod and scanf expect a
// decimal comma). Every reader of numbers (design and intent files, the Cut
// Facet form, command-line options, stored settings, the cutting
// assistant's progress) goes through here.
#include <cstddef>
#include <optional>
#include <string_view>

namespace brevix {

// The longest number at the start of the text, after blanks and an optional
// sign, as strtod reads it (decimal or 0x hexadecimal, "inf", "nan"); none
// when the text does not start with one. Overflow gives an infinity,
// underflow 0. `length`, when given, hears how many characters the number
// took, blanks and sign included.
std::optional<double> leadingNumber(std::string_view text, size_t* length = nullptr);

// The whole text as one number in plain decimal notation, nothing before or
// after it; a leading '+' only when `plusAllowed`. Infinities and NaN are
// returned as read.
std::optional<double> wholeNumber(std::string_view text, bool plusAllowed);

}  // namespace brevix
