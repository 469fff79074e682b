#pragma once
// A small streaming JSON writer: objects, arrays, strings (taken as
// Windows-1252 and written as escaped UTF-8), numbers that read back to the
// same double, null. Members of an object go one to a line; arrays of
// numbers stay on one line.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace brevix::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void beginObject();
    void endObject();
    void beginArray(bool inline_ = false);
    void endArray();
    void key(std::string_view name);

    void value(double number);  // not finite: null
    void value(int64_t number);
    void value(int32_t number) { value(static_cast<int64_t>(number)); }
    void value(bool flag);
    void value(std::string_view cp1252Text);
    void value(const char* cp1252Text) { value(std::string_view(cp1252Text)); }
    // An empty text is the design's "no text": null.
    void textOrNull(std::string_view cp1252Text);
    void null();

private:
    struct Level {
        bool array;
        bool inline_;
        int count;
    };
    void beforeValue();
    void newline();

    std::ostream& out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

std::string jsonNumber(double number);
std::string jsonString(std::string_view utf8);

}  // namespace brevix::cli
