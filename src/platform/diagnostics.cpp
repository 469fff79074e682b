#include "platform/diagnostics.h"

#include <iterator>

namespace brevix {

Icon iconOf(DiagKind kind) {
    switch (kind) {
    case DiagKind::Information: return Icon::Information;
    case DiagKind::Warning:
    case DiagKind::InternalWarning: return Icon::Warning;
    case DiagKind::Error:
    case DiagKind::InternalError: return Icon::Error;
    }
    return Icon::Warning;
}

bool isProblem(DiagKind kind) { return kind != DiagKind::Information; }

bool isInternal(DiagKind kind) { return kind == DiagKind::InternalWarning || kind == DiagKind::InternalError; }

void Diagnostics::add(std::string_view text, Icon icon) {
    switch (icon) {
    case Icon::Information:
    case Icon::None:
    case Icon::Question: add(DiagKind::Information, DiagCode{}, text); return;
    case Icon::Error: add(DiagKind::Error, DiagCode{}, text); return;
    case Icon::Warning: break;
    }
    add(DiagKind::Warning, DiagCode{}, text);
}

void Diagnostics::append(const Diagnostics& other) {
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

void Diagnostics::append(Diagnostics&& other) {
    if (items_.empty()) {
        items_ = std::move(other.items_);
    } else {
        items_.insert(items_.end(), std::make_move_iterator(other.items_.begin()),
                      std::make_move_iterator(other.items_.end()));
    }
    other.items_.clear();
}

void Diagnostics::truncate(size_t count) {
    if (count < items_.size()) items_.resize(count);
}

bool Diagnostics::hasProblems() const {
    for (const Diagnostic& d : items_)
        if (isProblem(d.kind) && d.kind != DiagKind::InternalWarning) return true;
    return false;
}

bool Diagnostics::hasErrors() const {
    for (const Diagnostic& d : items_)
        if (d.kind == DiagKind::Error || d.kind == DiagKind::InternalError) return true;
    return false;
}

std::vector<std::string> Diagnostics::texts() const {
    std::vector<std::string> out;
    out.reserve(items_.size());
    for (const Diagnostic& d : items_) out.push_back(d.text);
    return out;
}

std::vector<DiagCode> Diagnostics::codes() const {
    std::vector<DiagCode> out;
    out.reserve(items_.size());
    for (const Diagnostic& d : items_) out.push_back(d.code);
    return out;
}

void showAll(const Diagnostics& notes, MessageSink& sink) {
    for (const Diagnostic& d : notes) sink.show(d.text, iconOf(d.kind));
}

}  // namespace brevix
