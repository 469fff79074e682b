#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/text_encoding.h"

namespace brevix::cli {

std::string jsonNumber(double number) {
    if (!std::isfinite(number)) return "null";
    if (number == 0) return "0";  // also -0, which JSON readers handle unevenly
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += ch;
            }
        }
    }
    return out + '"';
}

void JsonWriter::newline() {
    out_ << '\n';
    for (size_t i = 0; i < levels_.size(); ++i) out_ << "  ";
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.count++ > 0) out_ << (level.inline_ ? ", " : ",");
    if (!level.inline_) newline();
}

void JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    levels_.push_back({false, false, 0});
}

void JsonWriter::endObject() {
    const bool empty = levels_.back().count == 0;
    levels_.pop_back();
    if (!empty) newline();
    out_ << '}';
    if (levels_.empty()) out_ << '\n';
}

void JsonWriter::beginArray(bool inline_) {
    beforeValue();
    out_ << '[';
    levels_.push_back({true, inline_, 0});
}

void JsonWriter::endArray() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.inline_ && level.count > 0) newline();
    out_ << ']';
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ << jsonString(name) << ": ";
    afterKey_ = true;
}

void JsonWriter::value(double number) {
    beforeValue();
    out_ << jsonNumber(number);
}

void JsonWriter::value(int64_t number) {
    beforeValue();
    out_ << number;
}

void JsonWriter::value(bool flag) {
    beforeValue();
    out_ << (flag ? "true" : "false");
}

void JsonWriter::value(std::string_view cp1252Text) {
    beforeValue();
    out_ << jsonString(cp1252ToUtf8(cp1252Text));
}

void JsonWriter::textOrNull(std::string_view cp1252Text) {
    if (cp1252Text.empty())
        null();
    else
        value(cp1252Text);
}

void JsonWriter::null() {
    beforeValue();
    out_ << "null";
}

}  // namespace brevix::cli
