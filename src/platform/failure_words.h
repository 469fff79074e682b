#pragma once
// An exception's text as the user reads it: the library's own names
// ("std::bad_alloc", "vector::_M_default_append") mean nothing to a gem
// cutter, and running out of memory is something they can act on.
#include <exception>
#include <string>
#include <string_view>

namespace brevix {

// "not enough memory for <doing>" when memory ran out (or a request was too
// large to make); otherwise the exception's own text.
std::string failureInWords(const std::exception& error, std::string_view doing);

}  // namespace brevix
