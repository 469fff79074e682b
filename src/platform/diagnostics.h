#pragma once
// What an operation of the core has to say, handed back to its caller
// instead of being shown from deep inside: each note keeps its exact text
// and its kind. Only the document and the front ends show them, through a
// sink they own, so the core can run on several threads at once and a
// caller can look at what happened without reading texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"

namespace brevix {

// The kernel's own notes on its geometry ("Internal warning: …",
// "Internal error: …") are kinds of their own: they are shown as warnings
// and errors. A batch run does not count the warnings (short edges, close
// vertices) as problems of a file; a broken polyhedron it does.
enum class DiagKind { Information, Warning, Error, InternalWarning, InternalError };

// What a note is about, one value per message (or family of messages with
// the same wording), so that a caller or a test can tell failures apart
// without reading texts. The values are named in platform/diag_codes.h,
// which only the code that emits or checks them includes.
enum class DiagCode : uint16_t;

struct Diagnostic {
    DiagKind kind;
    std::string text;
    DiagCode code{};  // 0: a note passed on from a message sink, which has no code
    bool operator==(const Diagnostic&) const = default;
};

Icon iconOf(DiagKind kind);
// A warning or an error, internal or not.
bool isProblem(DiagKind kind);
bool isInternal(DiagKind kind);

class Diagnostics {
public:
    void add(DiagKind kind, DiagCode code, std::string_view text) {
        items_.push_back({kind, std::string(text), code});
    }
    void add(const Diagnostic& note) { items_.push_back(note); }
    void info(DiagCode code, std::string_view text) { add(DiagKind::Information, code, text); }
    void warning(DiagCode code, std::string_view text) { add(DiagKind::Warning, code, text); }
    void error(DiagCode code, std::string_view text) { add(DiagKind::Error, code, text); }
    // A note told through a message sink, with the icon it would have had
    // as a message box; the sink knows no code.
    void add(std::string_view text, Icon icon);

    void append(const Diagnostics& other);
    void append(Diagnostics&& other);
    // Drops everything said after the first `count` notes (a failed attempt
    // that was redone says nothing).
    void truncate(size_t count);
    // Drops the notes from `first` on that `unwanted` picks.
    template <class Pred>
    void eraseFrom(size_t first, Pred unwanted) {
        if (first >= items_.size()) return;
        items_.erase(std::remove_if(items_.begin() + static_cast<std::ptrdiff_t>(first), items_.end(), unwanted),
                     items_.end());
    }

    bool empty() const { return items_.empty(); }
    size_t size() const { return items_.size(); }
    const Diagnostic& operator[](size_t i) const { return items_[i]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    void clear() { items_.clear(); }

    // Any warning or error other than the kernel's own warnings.
    bool hasProblems() const;
    bool hasErrors() const;
    std::vector<std::string> texts() const;
    std::vector<DiagCode> codes() const;

private:
    std::vector<Diagnostic> items_;
};

// Shows every note in order through `sink`.
void showAll(const Diagnostics& notes, MessageSink& sink);

// Collects what a sink is told into notes (questions take their fallback):
// for code that still reports through a sink it is handed.
class CollectingSink : public MessageSink {
public:
    explicit CollectingSink(Diagnostics& into) : into_(into) {}
    void show(std::string_view text, Icon icon) override { into_.add(text, icon); }
    Answer ask(std::string_view, Buttons, Icon, Answer fallback) override { return fallback; }

private:
    Diagnostics& into_;
};

}  // namespace brevix
