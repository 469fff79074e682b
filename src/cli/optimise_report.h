#pragma once
// What `brevix-cli optimize` and `brevix-cli retarget` share: the options
// of a search, and the report of its start and result in the lines of
// `brevix-cli light`, with each changed tier's angle.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "optimise/optimiser.h"
#include "optimise/problem.h"

namespace CLI {
class App;
}

namespace brevix::cli {

struct SearchOptions {
    double seconds = 50;
    int seed = 1;
    int evaluations = 300;  // per start
    int starts = 8;
    int size = 128;         // pixels a side of the reported figures
    std::string goal = "balanced";
    std::string compare;    // a PNG of the start and the result side by side
    // The lightings candidates are judged under, the worst of them deciding
    // or their mean; the report adds each room's figures.
    std::vector<optics::Environment> lightings{optics::Environment::Iso};
    bool worst = false;

    optimise::Limits limits;
};

// The search's, the goal's and the limits' options.
void addSearchOptions(CLI::App& app, SearchOptions& options);
void applySearchOptions(const SearchOptions& options, optimise::ProblemRequest& request);

// "Limits: ..." as the search holds them, for the material's critical angle.
std::string limitsLine(const optimise::Limits& limits, double refractiveIndex);

// Prints the start and the result and writes the result to `outPath`
// carrying `refractiveIndex` (and the side-by-side picture when asked);
// EXIT_FAILED when no candidate met the limits or a file could not be
// written.
int finishSearch(const Stone& design, const DesignIntent& intent, const optimise::OptimiseResult& result,
                 double refractiveIndex, const SearchOptions& options, const std::string& outPath, std::ostream& out);

}  // namespace brevix::cli
