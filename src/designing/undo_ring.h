#pragma once
// Ten snapshots of the stone with a cursor. Undo and redo exchange the
// current stone with a slot instead of copying, so the state undone stays in
// the ring and redo can bring it back.
#include <array>
#include <memory>

#include "kernel/stone.h"

namespace brevix {

struct UndoRing {
    static constexpr int SIZE = 10;
    std::array<std::unique_ptr<Stone>, SIZE> slots;
    int undoCursor = 0;  // the slot the next snapshot goes into

    // Copies `stone` into the cursor's slot (the oldest is overwritten once
    // ten are held) and advances the cursor.
    void save(const Stone& stone);
    // Steps the cursor back and exchanges `current` with that slot; an empty
    // slot hands back a fresh rough stone.
    void undo(std::unique_ptr<Stone>& current);
    // Exchanges `current` with the cursor's slot and steps forward.
    void redo(std::unique_ptr<Stone>& current);
    // The snapshot saved last (slot undoCursor - 1), or null.
    const Stone* latest() const;
    static int previous(int slot) { return slot == 0 ? SIZE - 1 : slot - 1; }
};

}  // namespace brevix
