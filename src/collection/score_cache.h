#pragma once
// Figures already computed, kept in files of the user's cache folder under a
// key made from the design's bytes and the settings: a design that changes
// gets a new key, so a changed file is scored again and never shown with the
// figures of what it was. Several processes may share the folder; each entry
// is written whole or not at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "collection/figures.h"

namespace brevix::collection {

// 64-bit FNV-1a over the bytes, continued from `seed`.
uint64_t contentHash(std::string_view bytes, uint64_t seed = 14695981039346656037ull);

// The settings that change the figures, as one text (part of the key).
std::string settingsKey(const optics::LightSettings& settings);

// $XDG_CACHE_HOME/brevix, else ~/.cache/brevix (%LOCALAPPDATA%\Brevix\cache
// on Windows); "" when none can be named.
std::string userCacheFolder();

// The key of a design's bytes taken piece by piece, so that a file of any
// size is keyed without being held: the same key as ScoreCache::key of the
// whole.
class KeyBuilder {
public:
    explicit KeyBuilder(std::string_view settings);
    void add(std::string_view bytes);
    std::string key() const;

private:
    uint64_t a_, b_;
    uint64_t size_ = 0;
};

class ScoreCache {
public:
    // An empty folder caches nothing.
    explicit ScoreCache(std::string folder) : folder_(std::move(folder)) {}
    bool enabled() const { return !folder_.empty(); }
    const std::string& folder() const { return folder_; }

    // The key of a design's bytes under the settings (`settings` empty: the
    // tile facts alone).
    static std::string key(std::string_view bytes, std::string_view settings);

    std::optional<DesignFigures> load(const std::string& key) const;
    // False when the entry could not be written (the figures are still good).
    bool store(const std::string& key, const DesignFigures& figures) const;

    // Removes the half-written entries a writer killed part way left behind:
    // those of a process that is gone, or older than any write takes. Only
    // names this cache gives its own temporaries are touched. Returns how
    // many went.
    size_t removeStaleTemporaries() const;

private:
    std::string pathOf(const std::string& key) const;
    std::string folder_;
};

}  // namespace brevix::collection
