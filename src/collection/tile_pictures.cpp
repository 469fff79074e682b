#include "collection/tile_pictures.h"

#include <optional>

#include "collection/design_read.h"
#include "collection/worker_pool.h"
#include "optics/parallel_rows.h"

namespace brevix::collection {

optics::RgbPicture tilePicture(const Stone& design, const optics::LightSettings& light,
                               optics::Environment lighting, int side) {
    const optics::LightChoice choice = optics::chooseLight(light.material, light.ri, design.refractiveIndex);
    optics::FaceUpOptions options = light.options;
    options.refractiveIndex = choice.refractiveIndex;
    options.size = side;
    options.lighting.environment = lighting;
    const optics::LightRender made = optics::renderLight(design, options, std::nullopt);
    if (!made.complete || made.image.insideCount == 0) return {};
    return optics::picture(made, lighting);
}

TilePictures::TilePictures(std::vector<DesignEntry> entries, optics::LightSettings light, optics::Environment lighting,
                           int side, Deliver deliver, Finished finished, int jobs)
    : entries_(std::move(entries)),
      light_(std::move(light)),
      lighting_(lighting),
      side_(side),
      deliver_(std::move(deliver)),
      finished_(std::move(finished)),
      jobs_(jobs) {
    thread_ = std::thread([this] { run(); });
}

TilePictures::~TilePictures() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void TilePictures::run() {
    const int cores = optics::coreCount();
    const int jobs = jobCount(jobs_, cores, entries_.size());
    light_.options.threads = innerThreads(cores, jobs, entries_.size());
    light_.options.cancel = &cancel_;
    std::vector<optics::RgbPicture> pictures(entries_.size());
    runInOrder(
        entries_.size(), jobs,
        [&](size_t i) {
            if (!entries_[i].problem.empty()) return;
            try {
                const ReadEntry read = readEntry(entries_[i]);
                if (read.stone) pictures[i] = tilePicture(*read.stone, light_, lighting_, side_);
            } catch (const std::exception&) {
                // A design the renderer cannot take keeps its drawing.
            }
        },
        [&](size_t i) {
            if (!pictures[i].rgb.empty() && deliver_) deliver_(i, std::move(pictures[i]));
        },
        &cancel_);
    if (cancel_) return;
    done_ = true;
    if (finished_) finished_();
}

}  // namespace brevix::collection
