#include "platform/failure_words.h"

#include <new>
#include <stdexcept>

namespace brevix {

std::string failureInWords(const std::exception& error, std::string_view doing) {
    if (dynamic_cast<const std::bad_alloc*>(&error) || dynamic_cast<const std::length_error*>(&error))
        return "not enough memory for " + std::string(doing);
    return error.what();
}

}  // namespace brevix
