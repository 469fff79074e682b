#include "designing/undo_ring.h"

namespace brevix {

void UndoRing::save(const Stone& stone) {
    std::unique_ptr<Stone>& slot = slots[undoCursor];
    if (slot)
        slot->copy(stone);
    else
        slot = std::make_unique<Stone>(stone);
    undoCursor = (undoCursor + 1) % SIZE;
}

void UndoRing::undo(std::unique_ptr<Stone>& current) {
    undoCursor = previous(undoCursor);
    std::unique_ptr<Stone>& slot = slots[undoCursor];
    if (!slot) slot = std::make_unique<Stone>(ROUGH_HALF);
    current.swap(slot);
}

void UndoRing::redo(std::unique_ptr<Stone>& current) {
    std::unique_ptr<Stone>& slot = slots[undoCursor];
    if (!slot) slot = std::make_unique<Stone>(ROUGH_HALF);
    current.swap(slot);
    undoCursor = (undoCursor + 1) % SIZE;
}

const Stone* UndoRing::latest() const { return slots[previous(undoCursor)].get(); }

}  // namespace brevix
