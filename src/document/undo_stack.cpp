#include "document/undo_stack.h"

#include <utility>

namespace brevix {

void UndoStack::push(const std::string& name, DesignState state) {
    Entry& entry = entries_[cursor_];
    entry.name = name;
    entry.state = std::move(state);
    cursor_ = (cursor_ + 1) % SIZE;
}

void UndoStack::exchange(Entry& entry, DesignState& current) {
    if (!entry.state.stone) entry.state.stone = std::make_unique<Stone>(ROUGH_HALF);
    std::swap(entry.state.stone, current.stone);
    std::swap(entry.state.intent, current.intent);
    std::swap(entry.state.tag, current.tag);
}

void UndoStack::undo(DesignState& current) {
    cursor_ = previous(cursor_);
    exchange(entries_[cursor_], current);
}

void UndoStack::redo(DesignState& current) {
    exchange(entries_[cursor_], current);
    cursor_ = (cursor_ + 1) % SIZE;
}

const Stone* UndoStack::latest() const { return entries_[previous(cursor_)].state.stone.get(); }

}  // namespace brevix
