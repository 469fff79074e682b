#include "cli/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

void newline(std::string& out, int depth) {
    out += '\n';
    out.append(size_t(depth) * 2, ' ');
}

// Texts, true, false, null and whole numbers as the library writes them;
// a design's texts may hold any byte, so malformed UTF-8 is replaced rather
// than thrown over.
std::string scalar(const Json& value) {
    if (value.is_number_float()) return jsonNumber(value.get<double>());
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool isPlain(const Json& value) { return !value.is_object() && !value.is_array(); }

void append(std::string& out, const Json& value, int depth) {
    if (value.is_object()) {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first) out += ',';
            first = false;
            newline(out, depth + 1);
            out += scalar(Json(key));
            out += ": ";
            append(out, member, depth + 1);
        }
        newline(out, depth);
        out += '}';
    } else if (value.is_array()) {
        const bool oneLine = std::all_of(value.begin(), value.end(), isPlain);
        out += '[';
        bool first = true;
        for (const Json& element : value) {
            if (!first) out += oneLine ? ", " : ",";
            first = false;
            if (!oneLine) newline(out, depth + 1);
            append(out, element, depth + 1);
        }
        if (!oneLine && !value.empty()) newline(out, depth);
        out += ']';
    } else {
        out += scalar(value);
    }
}

}  // namespace

std::string jsonNumber(double number) {
    if (!std::isfinite(number)) return "null";
    if (number == 0) return "0";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string jsonText(const Json& document) {
    std::string out;
    append(out, document, 0);
    out += '\n';
    return out;
}

void writeJson(std::ostream& out, const Json& document) { out << jsonText(document); }

Json text(std::string_view cp1252) { return Json(cp1252ToUtf8(cp1252)); }

Json textOrNull(std::string_view cp1252) { return cp1252.empty() ? Json(nullptr) : text(cp1252); }

}  // namespace brevix::cli
