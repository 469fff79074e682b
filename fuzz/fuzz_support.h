#pragma once
// Shared by the reader fuzzers: a sink that keeps the thousands of messages
// a fuzz run provokes off the terminal, and the checks every stone a reader
// leaves behind must pass.
#include <cstdlib>
#include <span>

#include "kernel/stone.h"
#include "platform/messages.h"

namespace brevix::fuzz {

class QuietSink : public MessageSink {
public:
    void show(std::string_view, Icon) override {}
    Answer ask(std::string_view, Buttons, Icon, Answer fallback) override { return fallback; }
};

inline void installQuietSink() {
    static QuietSink quiet;
    setMessageSink(&quiet);
}

// A reader must leave a polyhedron later code can walk without checks.
inline void checkStone(const Stone& s, bool polyhedron) {
    if (s.nFacet > s.maxFacet || s.nEdge > s.maxEdge || s.nVertex > s.maxVertex) std::abort();
    if (polyhedron && s.eulerSum() != 2) std::abort();
    for (int32_t j = 0; j < s.nEdge; ++j)
        for (int k = 0; k < 2; ++k)
            if (s.edges[j].v[k] < 0 || s.edges[j].v[k] >= s.nVertex || s.edges[j].f[k] < 0 ||
                s.edges[j].f[k] >= s.nFacet)
                std::abort();
    if (s.preform) checkStone(*s.preform, polyhedron);
}

inline std::span<const unsigned char> bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const unsigned char*>(data), size};
}

}  // namespace brevix::fuzz
