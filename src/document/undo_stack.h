#pragma once
// The design's last ten states, each with the intent it had and which state
// of which design it was, named for the change that left it. It is a ring
// with a cursor: undo and redo exchange the design in hand with an entry
// instead of copying, so a state undone stays in the ring for redo, and
// stepping back past the oldest entry goes round to the newest.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// Which state of which design a stone is: a new state with every change
// undo can take back, a new lineage with every open and New. {0, 0} is a
// fresh rough stone that no change made.
struct StateTag {
    uint64_t state = 0;
    uint64_t lineage = 0;
};

// A design as undo keeps it. A null stone stands for a fresh rough block.
struct DesignState {
    std::unique_ptr<Stone> stone;
    std::optional<DesignIntent> intent;
    StateTag tag;
};

class UndoStack {
public:
    static constexpr int SIZE = 10;

    // Keeps `state` under the name of the change made to it (the oldest
    // entry goes once ten are held).
    void push(const std::string& name, DesignState state);
    // Steps back and exchanges `current` with that entry; an empty entry
    // hands back a fresh rough stone.
    void undo(DesignState& current);
    // Exchanges `current` with the entry undone last and steps forward.
    void redo(DesignState& current);

    // The stone kept last (the design before the latest change), or null.
    const Stone* latest() const;
    // The entry the next change goes into.
    int cursor() const { return cursor_; }
    // The change Undo and Redo would take back or make again; "" when the
    // entry has none (nothing was kept there yet).
    const std::string& undoName() const { return entries_[previous(cursor_)].name; }
    const std::string& redoName() const { return entries_[cursor_].name; }

private:
    struct Entry {
        std::string name;
        DesignState state;
    };
    static int previous(int slot) { return slot == 0 ? SIZE - 1 : slot - 1; }
    void exchange(Entry& entry, DesignState& current);
    std::array<Entry, SIZE> entries_;
    int cursor_ = 0;
};

}  // namespace brevix
