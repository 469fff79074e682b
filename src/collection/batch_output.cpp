#include "collection/batch_output.h"

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "platform/strformat.h"

namespace brevix::collection {

namespace {

using json = nlohmann::ordered_json;

// The double whose shortest text is the printed one: JSON gets the same
// digits as the command's "%.1f".
double printed(const char* format, double value) { return std::strtod(strprintf(format, value).c_str(), nullptr); }

std::string number(const char* format, double value) { return strprintf(format, value); }

}  // namespace

std::optional<BatchFormat> parseBatchFormat(const std::string& text) {
    if (text == "jsonl" || text == "json") return BatchFormat::JsonLines;
    if (text == "csv") return BatchFormat::Csv;
    return std::nullopt;
}

std::string jsonLine(const DesignFigures& f) {
    json j;
    j["file"] = f.file;
    if (!f.ok()) {
        j["error"] = f.error;
        return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
    }
    j["heading"] = f.facts.heading;
    j["facets"] = f.facts.facets;
    j["gear"] = f.facts.gear;
    j["symmetry"] = f.facts.symmetry;
    j["mirror"] = f.facts.mirror;
    if (f.facts.lengthWidth > 0) j["lw"] = printed("%.3f", f.facts.lengthWidth);
    if (f.light) {
        j["material"] = f.light->material;
        j["ri"] = printed("%.3f", f.light->refractiveIndex);
        j["iso"] = printed("%.1f", f.light->iso);
        j["cos"] = printed("%.1f", f.light->cos);
        if (!f.light->sweep.empty()) {
            json sweep = json::array();
            for (const optics::TiltBrightness& p : f.light->sweep)
                sweep.push_back({{"tilt", printed("%.1f", p.tiltDegrees)},
                                 {"iso", printed("%.1f", p.iso)},
                                 {"cos", printed("%.1f", p.cos)}});
            j["sweep"] = sweep;
        }
    }
    if (!f.warning.empty()) j["warning"] = f.warning;
    return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvHeader(const std::optional<optics::TiltRange>& sweep) {
    std::string line = "file,heading,facets,gear,symmetry,mirror,lw,material,ri,iso,cos";
    if (sweep) {
        for (const double tilt : optics::tiltsOf(*sweep)) {
            const std::string t = number("%.1f", tilt);
            line += ",iso@" + t + ",cos@" + t;
        }
    }
    return line + ",warning,error\n";
}

std::string csvLine(const DesignFigures& f, const std::optional<optics::TiltRange>& sweep) {
    const size_t tilts = sweep ? optics::tiltsOf(*sweep).size() : 0;
    std::string line = csvField(f.file);
    if (!f.ok()) {
        line += std::string(11 + 2 * tilts, ',');
        return line + "," + csvField(f.error) + "\n";
    }
    line += "," + csvField(f.facts.heading) + strprintf(",%d,%d,%d,%d,", f.facts.facets, f.facts.gear,
                                                       f.facts.symmetry, f.facts.mirror);
    if (f.facts.lengthWidth > 0) line += number("%.3f", f.facts.lengthWidth);
    if (f.light) {
        line += "," + csvField(f.light->material) + "," + number("%.3f", f.light->refractiveIndex) + "," +
                number("%.1f", f.light->iso) + "," + number("%.1f", f.light->cos);
        for (size_t i = 0; i < tilts; ++i) {
            if (i < f.light->sweep.size())
                line += "," + number("%.1f", f.light->sweep[i].iso) + "," + number("%.1f", f.light->sweep[i].cos);
            else
                line += ",,";
        }
    } else {
        line += std::string(4 + 2 * tilts, ',');
    }
    return line + "," + csvField(f.warning) + ",\n";
}

}  // namespace brevix::collection
