#include "optics/tilt_sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "optics/light_metrics.h"
#include "optics/parallel_rows.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix::optics {

std::vector<double> tiltsOf(const TiltRange& range) {
    std::vector<double> tilts;
    if (!(range.step > 0) || !(range.to >= range.from) || !std::isfinite(range.from) ||
        !std::isfinite(range.to))
        return tilts;
    // The small allowance keeps "-30:30:2.5" from losing 30 to rounding.
    const double count = std::floor((range.to - range.from) / range.step + 1e-9) + 1;
    if (count > MAX_TILTS) return tilts;
    for (int i = 0; i < static_cast<int>(count); ++i) tilts.push_back(range.from + i * range.step);
    return tilts;
}

namespace {

// Tilts rendered side by side at most, so that the patterns kept for the
// scintillation stay few however long the sweep.
constexpr size_t TILTS_AT_ONCE = 64;

// One tilt's picture boiled down to what the sweep keeps of it.
struct TiltPicture {
    bool complete = false;
    TiltBrightness point;
    PatternCells cells, sceneCells;
    bool scene = false;
};

TiltPicture tiltPictureOf(const FaceUpImage& image, double tiltDegrees) {
    TiltPicture out;
    if (!image.complete) return out;
    out.complete = true;
    out.cells = patternCells(image);
    const LightMetrics m = lightMetrics(image, out.cells);
    out.point = {tiltDegrees, image.isoBrightness, image.cosBrightness, m.windowing, m.extinction, m.contrast};
    if (!image.scene.empty()) {
        out.scene = true;
        out.sceneCells = patternCells(image, image.sceneObserved);
        out.point.scene = image.sceneBrightness;
        out.point.sceneContrast = contrastOf(out.sceneCells);
    }
    return out;
}

// A tilt in the making: set up by the first thread to take one of its
// bands, boiled down by the thread that traces its last.
struct TiltInProgress {
    std::once_flag setUp;
    std::optional<PreparedStone> stone;
    std::optional<FaceUpTrace> trace;
    std::atomic<int> bandsLeft{0};
};

}  // namespace

TiltSweep sweepTilts(const Stone& stone, const FaceUpOptions& options, const TiltRange& range) {
    TiltSweep sweep;
    PatternCells before, sceneBefore;
    double switched = 0, sceneSwitched = 0;
    const std::vector<double> tilts = tiltsOf(range);
    const int size = std::max(options.size, 1);
    const int bands = (size - 1) / ROWS_PER_BAND + 1;
    const bool hinted = size >= MIN_HINTED_ENTRY_SIZE;
    // Every core takes the next band of rows of the earliest tilt not yet
    // handed out: the cores then finish together however the tilts divide
    // among them, and only a few pictures are in memory at once. A tilt's
    // figures are worked out while the other cores go on tracing.
    for (size_t first = 0; first < tilts.size() && sweep.complete; first += TILTS_AT_ONCE) {
        const int count = static_cast<int>(std::min(TILTS_AT_ONCE, tilts.size() - first));
        std::vector<TiltPicture> pictures(count);
        std::vector<TiltInProgress> progress(count);
        for (TiltInProgress& tilt : progress) tilt.bandsLeft = bands;
        auto tiltOptions = [&](int i) {
            FaceUpOptions tilted = options;
            tilted.tiltDegrees = tilts[first + i];
            return tilted;
        };
        auto setUp = [&](int i) {
            TiltInProgress& tilt = progress[i];
            std::call_once(tilt.setUp, [&] {
                tilt.stone.emplace(stone, tilts[first + i], hinted);
                tilt.trace.emplace(*tilt.stone, tiltOptions(i));
            });
        };
        forEachRow(count * bands, options.threads, options.cancel, [&](int unit) {
            const int i = unit / bands, band = unit % bands;
            TiltInProgress& tilt = progress[i];
            setUp(i);
            // Bands of ROWS_PER_BAND rows start and end the trace's own bands
            // whether it guesses from the row before (bands of that many) or not (of one).
            tilt.trace->traceRows(band * ROWS_PER_BAND, std::min(size, (band + 1) * ROWS_PER_BAND));
            // The next tilt is set up well before the other cores come to
            // it, so that none of them waits while it is.
            if (band == 0 && i + 1 < count) setUp(i + 1);
            if (tilt.bandsLeft.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
            pictures[i] = tiltPictureOf(tilt.trace->finish(true), tilts[first + i]);
            tilt.trace.reset();
            tilt.stone.reset();
        });
        // In the order of the tilts, as the switching is between neighbours.
        for (TiltPicture& picture : pictures) {
            if (!picture.complete) {
                sweep.complete = false;
                break;
            }
            if (!sweep.points.empty()) switched += switchedShare(before, picture.cells);
            before = std::move(picture.cells);
            if (picture.scene) {
                if (!sweep.points.empty()) sceneSwitched += switchedShare(sceneBefore, picture.sceneCells);
                sceneBefore = std::move(picture.sceneCells);
            }
            sweep.points.push_back(picture.point);
        }
    }
    if (!sweep.points.empty()) {
        for (const TiltBrightness& p : sweep.points) {
            sweep.meanIso += p.iso;
            sweep.meanCos += p.cos;
        }
        sweep.meanIso /= sweep.points.size();
        sweep.meanCos /= sweep.points.size();
        if (sweep.points.size() > 1) {
            sweep.scintillation = switched / double(sweep.points.size() - 1);
            sweep.sceneScintillation = sceneSwitched / double(sweep.points.size() - 1);
        }
    }
    return sweep;
}

std::optional<TiltRange> parseTiltRange(const std::string& text, std::string& error) {
    TiltRange range;
    double* fields[3] = {&range.from, &range.to, &range.step};
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t colon = i < 2 ? text.find(':', start) : text.size();
        if (colon == std::string::npos) {
            error = strprintf("'%s' is not FROM:TO:STEP", text.c_str());
            return std::nullopt;
        }
        const std::string part = text.substr(start, colon - start);
        const auto value = wholeNumber(part, true);
        if (!value || !std::isfinite(*value)) {
            error = strprintf("'%s' is not FROM:TO:STEP", text.c_str());
            return std::nullopt;
        }
        *fields[i] = *value;
        start = colon + 1;
    }
    if (range.step <= 0 || range.to < range.from) {
        error = "the tilt sweep needs FROM <= TO and a STEP above 0";
        return std::nullopt;
    }
    if (tiltsOf(range).empty()) {
        error = strprintf("the tilt sweep gives more than %d tilts", MAX_TILTS);
        return std::nullopt;
    }
    return range;
}

}  // namespace brevix::optics
