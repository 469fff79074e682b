#include "files/error_keeping_buffer.h"

#include <cerrno>

namespace brevix {

ErrorKeepingBuffer::int_type ErrorKeepingBuffer::overflow(int_type c) {
    errno = 0;
    const int_type result = std::filebuf::overflow(c);
    if (traits_type::eq_int_type(result, traits_type::eof())) keep(errno);
    return result;
}

std::streamsize ErrorKeepingBuffer::xsputn(const char* s, std::streamsize n) {
    errno = 0;
    const std::streamsize written = std::filebuf::xsputn(s, n);
    if (written < n) keep(errno);
    return written;
}

int ErrorKeepingBuffer::sync() {
    errno = 0;
    const int result = std::filebuf::sync();
    if (result != 0) keep(errno);
    return result;
}

bool ErrorKeepingBuffer::closeKeepingError() {
    errno = 0;
    const bool closed = close() != nullptr;
    if (!closed) keep(errno);
    return closed;
}

}  // namespace brevix
