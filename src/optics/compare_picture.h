#pragma once
// Two designs face up side by side, to judge a change by eye: the start on
// the left, the result on the right; the top row in the lighting as given,
// the bottom row as an observer sees it, with the head shadow (the
// lighting's own, or OBSERVER_HEAD_DEGREES). The optimiser's dialog and
// `brevix-cli optimize --compare` show the same picture.
#include "optics/face_up.h"
#include "optics/light_picture.h"

namespace brevix {
class Stone;
}

namespace brevix::optics {

// Pixels between the pictures.
constexpr int COMPARE_GAP = 4;

// The stone face up under `environment`, as the light panes show it: a
// room's picture needs a render in that room, ISO and COS come with any.
RgbPicture faceUpPicture(const Stone& stone, FaceUpOptions options, Environment environment);

// Each picture options.size a side, under `environment`.
RgbPicture comparePictures(const Stone& start, const Stone& result, const FaceUpOptions& options,
                           Environment environment = Environment::Iso);

// The lighting an observer sees a stone in: the head shadow of `lighting`,
// or OBSERVER_HEAD_DEGREES when it has none.
Lighting observerLighting(const Lighting& lighting);

}  // namespace brevix::optics
