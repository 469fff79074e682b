#include "collection/score_cache.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "collection/entry_file.h"

#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix::collection {

namespace {

using nlohmann::json;

// Bumped whenever what an entry holds or how figures are computed changes,
// so older entries are not taken for new ones.
constexpr int CACHE_FORMAT = 2;

// Far more than the figures of the longest tilt sweep take.
constexpr size_t MAX_ENTRY_BYTES = 16u << 20;

// A temporary untouched this long belongs to no write still going on.
constexpr auto STALE_AGE = std::chrono::hours(1);

constexpr std::string_view TEMPORARY_MARK = ".json.tmp";

// The process that writes the temporary `name` ("KEY.json.tmpPID-THREAD"),
// 0 when the name is none of ours.
long writerOf(const std::string& name) {
    const size_t mark = name.find(TEMPORARY_MARK);
    if (mark == std::string::npos) return 0;
    size_t at = mark + TEMPORARY_MARK.size();
    long pid = 0;
    const size_t digits = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digits < 10) pid = pid * 10 + (name[at++] - '0');
    if (at == digits || at >= name.size() || name[at] != '-' || at + 1 == name.size()) return 0;
    return pid;
}

bool processGone(long pid) {
#ifdef _WIN32
    (void)pid;
    return false;
#else
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#endif
}

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
        // A room's figures are members of their own, so that entries
        // without one read as they always did.
        const bool room = f.light->scene.has_value();
        json sweep = json::array();
        for (const optics::TiltBrightness& p : f.light->sweep) {
            json point = {p.tiltDegrees, p.iso, p.cos, p.windowing, p.extinction, p.contrast};
            if (room) point.insert(point.end(), {p.scene, p.sceneContrast});
            sweep.push_back(point);
        }
        l["sweep"] = sweep;
        if (room) {
            const optics::SceneFigures& s = *f.light->scene;
            l["lighting"] = f.light->lighting;
            l["scene"] = {s.brightness, s.contrast, s.red, s.green, s.blue, s.black};
            if (f.light->sceneScintillation) l["scene_scintillation"] = *f.light->sceneScintillation;
        }
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
        for (const json& p : l.at("sweep")) {
            optics::TiltBrightness point{p.at(0).get<double>(), p.at(1).get<double>(), p.at(2).get<double>(),
                                         p.at(3).get<double>(), p.at(4).get<double>(), p.at(5).get<double>()};
            if (p.size() > 7) {
                point.scene = p.at(6).get<double>();
                point.sceneContrast = p.at(7).get<double>();
            }
            light.sweep.push_back(point);
        }
        if (l.contains("scene")) {
            const json& s = l.at("scene");
            light.lighting = l.at("lighting").get<std::string>();
            light.scene = optics::SceneFigures{s.at(0).get<double>(), s.at(1).get<double>(), s.at(2).get<double>(),
                                               s.at(3).get<double>(), s.at(4).get<double>(), s.at(5).get<double>()};
            if (l.contains("scene_scintillation"))
                light.sceneScintillation = l.at("scene_scintillation").get<double>();
        }
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
    if (optics::hasScene(o.lighting.environment))
        key += std::string(" lighting=") + optics::environmentKey(o.lighting.environment);
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

// Two hashes of differently seeded streams: 128 bits, so that two of a
// collector's thousands of designs never share an entry by chance. The
// length is part of it too.
KeyBuilder::KeyBuilder(std::string_view settings)
    : a_(contentHash(settings)), b_(contentHash(settings) ^ 0x9e3779b97f4a7c15ull) {}

void KeyBuilder::add(std::string_view bytes) {
    a_ = contentHash(bytes, a_);
    b_ = contentHash(bytes, b_);
    size_ += bytes.size();
}

std::string KeyBuilder::key() const {
    return strprintf("%016llx%016llx-%llx", static_cast<unsigned long long>(a_), static_cast<unsigned long long>(b_),
                     static_cast<unsigned long long>(size_));
}

std::string ScoreCache::key(std::string_view bytes, std::string_view settings) {
    KeyBuilder builder(settings);
    builder.add(bytes);
    return builder.key();
}

std::string ScoreCache::pathOf(const std::string& key) const {
    return folder_ + PATH_SEPARATOR + key.substr(0, 2) + PATH_SEPARATOR + key + ".json";
}

std::optional<DesignFigures> ScoreCache::load(const std::string& key) const {
    if (!enabled()) return std::nullopt;
    std::string text, problem;
    // A damaged or foreign entry, or one that cannot be read, is as good as
    // none: the design is scored again.
    if (!readWholeFile(pathOf(key), text, problem, MAX_ENTRY_BYTES)) return std::nullopt;
    const json j = json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return std::nullopt;
    // A "format" that is not a number would throw from value(): it too is a
    // foreign entry, not a reason to stop the batch.
    const auto format = j.find("format");
    if (format == j.end() || !format->is_number_integer() || format->get<long long>() != CACHE_FORMAT)
        return std::nullopt;
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

size_t ScoreCache::removeStaleTemporaries() const {
    namespace fs = std::filesystem;
    if (!enabled()) return 0;
    size_t removed = 0;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    // Entries live one folder down (the key's first two characters).
    for (fs::directory_iterator shard(folder_, ec), end; !ec && shard != end; shard.increment(ec)) {
        if (!shard->is_directory(ec) || shard->is_symlink(ec)) continue;
        std::error_code inner;
        for (fs::directory_iterator it(shard->path(), inner); !inner && it != end; it.increment(inner)) {
            const std::string name = it->path().filename().string();
            const long pid = writerOf(name);
            std::error_code status;
            if (pid <= 0 || it->is_symlink(status) || !it->is_regular_file(status)) continue;
            const auto written = it->last_write_time(status);
            const bool old = !status && now - written > STALE_AGE;
            if ((old || processGone(pid)) && fs::remove(it->path(), status)) ++removed;
        }
    }
    return removed;
}

}  // namespace brevix::collection
