#pragma once
// JSON for scripts: the document is an nlohmann::ordered_json (members keep
// the order they were added in), written in the layout brevix-cli has always
// used: members of an object one to a line, arrays of plain values (numbers,
// texts, null, true, false) on one line, other arrays one element to a line,
// two blanks of indent. Numbers are written in the shortest form that reads
// back to the same double ("6.5", "2", "1e+300"), never nlohmann's "2.0".
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace brevix::cli {

using Json = nlohmann::ordered_json;

// The whole document followed by a line end.
void writeJson(std::ostream& out, const Json& document);
std::string jsonText(const Json& document);

// A design's text (Windows-1252) as a JSON string; an empty text is the
// design's "no text": null.
Json text(std::string_view cp1252);
Json textOrNull(std::string_view cp1252);

// Not finite: "null"; -0: "0", which JSON readers handle alike.
std::string jsonNumber(double number);

}  // namespace brevix::cli
