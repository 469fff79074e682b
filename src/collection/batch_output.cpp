#include "collection/batch_output.h"

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix::collection {

namespace {

using ordered_json = nlohmann::ordered_json;

// The double whose shortest text is the printed one: JSON gets the same
// digits as the command's "%.1f".
double printed(const char* format, double value) { return leadingNumber(strprintf(format, value)).value_or(0); }

std::string number(const char* format, double value) { return strprintf(format, value); }

// A room's figures, named by its key, in the order of both formats.
struct SceneColumn {
    std::string name;
    double value;
};
std::vector<SceneColumn> sceneColumns(const LightFigures& l, const std::string& key, bool aset, bool scintillation,
                                      bool sweep) {
    const optics::SceneFigures s = l.scene.value_or(optics::SceneFigures{});
    std::vector<SceneColumn> columns{{key + "_brightness", s.brightness}, {key + "_contrast", s.contrast}};
    if (scintillation) columns.push_back({key + "_scintillation", l.sceneScintillation.value_or(0)});
    if (aset) {
        columns.push_back({"aset_red", s.red});
        columns.push_back({"aset_green", s.green});
        columns.push_back({"aset_blue", s.blue});
        columns.push_back({"aset_black", s.black});
    }
    if (sweep) {
        const optics::TiltAverages a = optics::tiltAverages(l.sweep);
        columns.push_back({"tilt_" + key + "_brightness", a.scene});
        columns.push_back({"tilt_" + key + "_contrast", a.sceneContrast});
    }
    return columns;
}

}  // namespace

std::optional<BatchFormat> parseBatchFormat(const std::string& text) {
    if (text == "jsonl" || text == "json") return BatchFormat::JsonLines;
    if (text == "csv") return BatchFormat::Csv;
    return std::nullopt;
}

std::string jsonLine(const DesignFigures& f) {
    ordered_json j;
    j["file"] = f.file;
    if (!f.ok()) {
        j["error"] = f.error;
        return j.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
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
        j["windowing"] = printed("%.1f", f.light->windowing);
        j["extinction"] = printed("%.1f", f.light->extinction);
        j["contrast"] = printed("%.1f", f.light->contrast);
        if (f.light->scintillation) j["scintillation"] = printed("%.1f", *f.light->scintillation);
        if (!f.light->sweep.empty()) {
            ordered_json sweep = ordered_json::array();
            for (const optics::TiltBrightness& p : f.light->sweep)
                sweep.push_back({{"tilt", printed("%.1f", p.tiltDegrees)},
                                 {"iso", printed("%.1f", p.iso)},
                                 {"cos", printed("%.1f", p.cos)}});
            j["sweep"] = sweep;
            const optics::TiltAverages a = optics::tiltAverages(f.light->sweep);
            j["tilt_iso"] = printed("%.1f", a.iso);
            j["tilt_cos"] = printed("%.1f", a.cos);
            j["tilt_windowing"] = printed("%.1f", a.windowing);
            j["tilt_extinction"] = printed("%.1f", a.extinction);
            j["tilt_contrast"] = printed("%.1f", a.contrast);
        }
        if (f.light->scene) {
            const LightFigures& l = *f.light;
            j["lighting"] = l.lighting;
            for (const SceneColumn& c : sceneColumns(l, l.lighting, l.lighting == "aset",
                                                     l.sceneScintillation.has_value(), !l.sweep.empty()))
                j[c.name] = printed("%.1f", c.value);
        }
    }
    j["warnings"] = f.warnings;
    if (!f.warning.empty()) j["warning"] = f.warning;
    return j.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
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

std::string csvHeader(const std::optional<optics::TiltRange>& sweep, bool scintillation,
                      optics::Environment lighting) {
    std::string line = "file,heading,facets,gear,symmetry,mirror,lw,material,ri,iso,cos,windowing,extinction,contrast";
    if (scintillation) line += ",scintillation";
    if (sweep) {
        for (const double tilt : optics::tiltsOf(*sweep)) {
            const std::string t = number("%.1f", tilt);
            line += ",iso@" + t + ",cos@" + t;
        }
        line += ",tilt_iso,tilt_cos,tilt_windowing,tilt_extinction,tilt_contrast";
    }
    if (optics::hasScene(lighting)) {
        const std::string key = optics::environmentKey(lighting);
        for (const SceneColumn& c :
             sceneColumns(LightFigures{}, key, lighting == optics::Environment::Aset, scintillation, sweep.has_value()))
            line += "," + c.name;
    }
    return line + ",warnings,warning,error\n";
}

std::string csvLine(const DesignFigures& f, const std::optional<optics::TiltRange>& sweep, bool scintillation,
                    optics::Environment lighting) {
    const size_t tilts = sweep ? optics::tiltsOf(*sweep).size() : 0;
    const bool room = optics::hasScene(lighting);
    const std::string key = optics::environmentKey(lighting);
    const bool aset = lighting == optics::Environment::Aset;
    const size_t roomColumns =
        room ? sceneColumns(LightFigures{}, key, aset, scintillation, sweep.has_value()).size() : 0;
    // The light's columns: material to contrast, scintillation, the tilts' and their means, the room's.
    const size_t lightColumns = 7 + (scintillation ? 1 : 0) + 2 * tilts + (sweep ? 5 : 0) + roomColumns;
    std::string line = csvField(f.file);
    if (!f.ok()) {
        line += std::string(6 + lightColumns + 2, ',');
        return line + "," + csvField(f.error) + "\n";
    }
    line += "," + csvField(f.facts.heading) + strprintf(",%d,%d,%d,%d,", f.facts.facets, f.facts.gear,
                                                       f.facts.symmetry, f.facts.mirror);
    if (f.facts.lengthWidth > 0) line += number("%.3f", f.facts.lengthWidth);
    if (f.light) {
        const LightFigures& l = *f.light;
        line += "," + csvField(l.material) + "," + number("%.3f", l.refractiveIndex) + "," + number("%.1f", l.iso) +
                "," + number("%.1f", l.cos) + "," + number("%.1f", l.windowing) + "," +
                number("%.1f", l.extinction) + "," + number("%.1f", l.contrast);
        if (scintillation) line += "," + (l.scintillation ? number("%.1f", *l.scintillation) : std::string());
        for (size_t i = 0; i < tilts; ++i) {
            if (i < l.sweep.size())
                line += "," + number("%.1f", l.sweep[i].iso) + "," + number("%.1f", l.sweep[i].cos);
            else
                line += ",,";
        }
        if (sweep) {
            const optics::TiltAverages a = optics::tiltAverages(l.sweep);
            line += "," + number("%.1f", a.iso) + "," + number("%.1f", a.cos) + "," + number("%.1f", a.windowing) +
                    "," + number("%.1f", a.extinction) + "," + number("%.1f", a.contrast);
        }
        if (room) {
            for (const SceneColumn& c : sceneColumns(l, key, aset, scintillation, sweep.has_value()))
                line += "," + (l.scene ? number("%.1f", c.value) : std::string());
        }
    } else {
        line += std::string(lightColumns, ',');
    }
    std::string warnings;
    for (size_t i = 0; i < f.warnings.size(); ++i) warnings += (i ? "; " : "") + f.warnings[i];
    return line + "," + csvField(warnings) + "," + csvField(f.warning) + ",\n";
}

}  // namespace brevix::collection
