#include "tolerance/tolerance.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "intent/intent_words.h"
#include "optics/parallel_rows.h"

namespace brevix::tolerance {

namespace {

// One picture of the analysis: the design without errors, a sample, or a
// side of a tier's central difference.
struct Figure {
    bool measured = false;
    double iso = 0, cos = 0, judged = 0;
};

Figure measure(const Stone& design, const DesignIntent& intent, const std::vector<TierError>& errors,
               double meetTolerance, const optics::FaceUpOptions& light, const ToleranceOptions& options) {
    Figure f;
    const std::optional<Stone> stone = cutWithErrors(design, intent, errors, meetTolerance);
    if (!stone) return f;
    const optics::PreparedStone prepared(*stone, light.tiltDegrees);
    optics::FaceUpOptions under = light;
    const optics::FaceUpImage image = optics::renderFaceUp(prepared, under);
    if (!image.complete) return f;
    f.iso = image.isoBrightness;
    f.cos = image.cosBrightness;
    std::vector<double> underEach;
    for (optics::Environment e : options.lightings) {
        if (e == optics::Environment::Iso || e == optics::Environment::Cos) {
            underEach.push_back(e == optics::Environment::Iso ? f.iso : f.cos);
            continue;
        }
        under.lighting.environment = e;
        const optics::FaceUpImage room = optics::renderFaceUp(prepared, under);
        if (!room.complete) return f;
        underEach.push_back(room.sceneBrightness);
    }
    f.judged = judgedBrightness(underEach, options.worstLighting);
    f.measured = true;
    return f;
}

Spread spreadOf(const std::vector<double>& values) {
    return {meanOf(values), nearestRankPercentile(values, 5), nearestRankPercentile(values, 95)};
}

}  // namespace

double nearestRankPercentile(std::vector<double> values, double percent) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(percent / 100.0 * double(values.size()));
    const size_t k = size_t(std::clamp(rank, 1.0, double(values.size())));
    return values[k - 1];
}

double judgedBrightness(const std::vector<double>& underEach, bool worst) {
    if (underEach.empty()) return 0;
    if (worst) return *std::min_element(underEach.begin(), underEach.end());
    double sum = 0;
    for (double v : underEach) sum += v;
    return sum / double(underEach.size());
}

double meanOf(const std::vector<double>& values) {
    if (values.empty()) return 0;
    // Summed as differences from the first, so that equal figures give
    // that figure back exactly.
    const double first = values.front();
    double sum = 0;
    for (double v : values) sum += v - first;
    return first + sum / double(values.size());
}

ToleranceReport analyseTolerance(const Stone& design, const DesignIntent& intent, const ToleranceOptions& options) {
    ToleranceReport report;
    const size_t tiers = intent.tiers.size();
    const int samples = std::max(0, options.samples);
    const double step = options.error.angleDegrees > 0 ? options.error.angleDegrees : SENSITIVITY_STEP_DEGREES;
    // Pictures: the nominal one, the samples, then two a tier.
    const int total = 1 + samples + 2 * int(tiers);
    std::vector<Figure> figures(total);
    optics::FaceUpOptions light = options.light;
    light.threads = 1;  // the pictures run side by side
    light.cancel = options.cancel;
    const double meetTolerance = meetToleranceFor(options.error);
    std::mutex mutex;
    int done = 0;
    const bool finished = optics::forEachRow(total, options.threads, options.cancel, [&](int k) {
        std::vector<TierError> errors(tiers);
        if (k > 0 && k <= samples) {
            errors = drawTierErrors(tiers, options.error, options.seed, uint64_t(k - 1));
        } else if (k > samples) {
            const int side = k - 1 - samples;
            errors[side / 2].angle = side % 2 == 0 ? step : -step;
        }
        figures[k] = measure(design, intent, errors, meetTolerance, light, options);
        if (options.progress) {
            std::lock_guard<std::mutex> lock(mutex);
            options.progress(++done, total);
        }
    });
    report.complete = finished;
    if (!finished) {
        report.error = "cancelled";
        return report;
    }
    if (!figures[0].measured) {
        report.error = "the design cannot be re-cut by its intent";
        return report;
    }
    report.nominalIso = figures[0].iso;
    report.nominalCos = figures[0].cos;
    report.nominalJudged = figures[0].judged;
    std::vector<double> iso, cos, judged;
    for (int k = 1; k <= samples; ++k) {
        if (!figures[k].measured) {
            ++report.failedSamples;
            continue;
        }
        iso.push_back(figures[k].iso);
        cos.push_back(figures[k].cos);
        judged.push_back(figures[k].judged);
    }
    report.samples = int(iso.size());
    report.iso = spreadOf(iso);
    report.cos = spreadOf(cos);
    report.judged = spreadOf(judged);
    double largest = -1;
    for (size_t t = 0; t < tiers; ++t) {
        TierSensitivity s;
        s.tier = int32_t(t);
        s.name = tierLabel(design, intent, int32_t(t));
        const Figure& up = figures[1 + samples + 2 * t];
        const Figure& down = figures[2 + samples + 2 * t];
        if (up.measured && down.measured) {
            s.isoPerDegree = (up.iso - down.iso) / (2 * step);
            s.cosPerDegree = (up.cos - down.cos) / (2 * step);
            s.judgedPerDegree = (up.judged - down.judged) / (2 * step);
            if (std::fabs(*s.isoPerDegree) > largest) {
                largest = std::fabs(*s.isoPerDegree);
                report.mostSensitive = int(t);
            }
        }
        report.tiers.push_back(std::move(s));
    }
    return report;
}

}  // namespace brevix::tolerance
