#include "collection/score_cache.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix::collection {

namespace {

using nlohmann::json;

// Bumped whenever what an entry holds or how figures are computed changes,
// so older entries are not taken for new ones.
constexpr int CACHE_FORMAT = 2;

json toJson(const DesignFigures& f) {
    json j;
    j["format"] = CACHE_FORMAT;
    j["warning"] = f.warning;
    j["heading"] = f.facts.heading;
    j["facets"] = f.facts.facets;
    j["gear"] = f.facts.gear;
    j["symmetry"] = f.facts.symmetry;
    j["mirror"] = f.facts.mirror;
    j["lw"] = f.facts.lengthWidth;
    j["warnings"] = f.warnings;
    if (f.light) {
        json l;
        l["material"] = f.light->material;
        l["ri"] = f.light->refractiveIndex;
        l["iso"] = f.light->iso;
        l["cos"] = f.light->cos;
        l["windowing"] = f.light->windowing;
        l["extinction"] = f.light->extinction;
        l["contrast"] = f.light->contrast;
        if (f.light->scintillation) l["scintillation"] = *f.light->scintillation;
        json sweep = json::array();
        for (const optics::TiltBrightness& p : f.light->sweep)
            sweep.push_back({p.tiltDegrees, p.iso, p.cos, p.windowing, p.extinction, p.contrast});
        l["sweep"] = sweep;
        j["light"] = l;
    }
    return j;
}

DesignFigures fromJson(const json& j) {
    DesignFigures f;
    f.warning = j.at("warning").get<std::string>();
    f.facts.heading = j.at("heading").get<std::string>();
    f.facts.facets = j.at("facets").get<int>();
    f.facts.gear = j.at("gear").get<int>();
    f.facts.symmetry = j.at("symmetry").get<int>();
    f.facts.mirror = j.at("mirror").get<int>();
    f.facts.lengthWidth = j.at("lw").get<double>();
    f.warnings = j.at("warnings").get<std::vector<std::string>>();
    if (j.contains("light")) {
        const json& l = j.at("light");
        LightFigures light;
        light.material = l.at("material").get<std::string>();
        light.refractiveIndex = l.at("ri").get<double>();
        light.iso = l.at("iso").get<double>();
        light.cos = l.at("cos").get<double>();
        light.windowing = l.at("windowing").get<double>();
        light.extinction = l.at("extinction").get<double>();
        light.contrast = l.at("contrast").get<double>();
        if (l.contains("scintillation")) light.scintillation = l.at("scintillation").get<double>();
        for (const json& p : l.at("sweep"))
            light.sweep.push_back({p.at(0).get<double>(), p.at(1).get<double>(), p.at(2).get<double>(),
                                   p.at(3).get<double>(), p.at(4).get<double>(), p.at(5).get<double>()});
        f.light = std::move(light);
    }
    return f;
}

}  // namespace

uint64_t contentHash(std::string_view bytes, uint64_t seed) {
    uint64_t h = seed;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

std::string settingsKey(const optics::LightSettings& s) {
    const optics::FaceUpOptions& o = s.options;
    std::string key = s.material ? "material=" + s.material->name
                      : s.ri     ? strprintf("ri=%.17g", *s.ri)
                                 : std::string("ri=design");
    key += strprintf(" size=%d tilt=%.17g cone=%.17g head=%.17g", o.size, o.tiltDegrees,
                     o.lighting.coneDegrees, o.lighting.headShadowDegrees);
    if (s.dispersion) key += " dispersion";
    if (s.scintillation) key += " scintillation";
    if (s.sweep) key += strprintf(" sweep=%.17g:%.17g:%.17g", s.sweep->from, s.sweep->to, s.sweep->step);
    return key;
}

std::string userCacheFolder() {
#ifdef _WIN32
    if (const char* local = std::getenv("LOCALAPPDATA"); local && *local)
        return std::string(local) + "\\Brevix\\cache";
    return {};
#else
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) return std::string(xdg) + "/brevix";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.cache/brevix";
    return {};
#endif
}

std::string ScoreCache::key(std::string_view bytes, std::string_view settings) {
    // Two hashes of differently seeded streams: 128 bits, so that two of a
    // collector's thousands of designs never share an entry by chance. The
    // length is part of it too.
    const uint64_t settingsHash = contentHash(settings);
    const uint64_t a = contentHash(bytes, settingsHash);
    const uint64_t b = contentHash(bytes, settingsHash ^ 0x9e3779b97f4a7c15ull);
    return strprintf("%016llx%016llx-%llx", static_cast<unsigned long long>(a),
                     static_cast<unsigned long long>(b), static_cast<unsigned long long>(bytes.size()));
}

std::string ScoreCache::pathOf(const std::string& key) const {
    return folder_ + PATH_SEPARATOR + key.substr(0, 2) + PATH_SEPARATOR + key + ".json";
}

std::optional<DesignFigures> ScoreCache::load(const std::string& key) const {
    if (!enabled()) return std::nullopt;
    std::ifstream in(pathOf(key), std::ios::binary);
    if (!in) return std::nullopt;
    // A damaged or foreign entry is as good as none: the design is scored again.
    const json j = json::parse(in, nullptr, false);
    if (j.is_discarded() || !j.is_object() || j.value("format", 0) != CACHE_FORMAT) return std::nullopt;
    try {
        DesignFigures f = fromJson(j);
        f.fromCache = true;
        return f;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

bool ScoreCache::store(const std::string& key, const DesignFigures& figures) const {
    if (!enabled() || !figures.ok()) return false;
    const std::string path = pathOf(key);
    const std::string folder = path.substr(0, lastPathSeparator(path));
    if (!makeFolders(folder)) return false;
    // A name no other writer uses, renamed into place when complete.
    std::ostringstream id;
    id << ::getpid() << '-' << std::this_thread::get_id();
    const std::string temporary = path + ".tmp" + id.str();
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << toJson(figures).dump();
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace brevix::collection
