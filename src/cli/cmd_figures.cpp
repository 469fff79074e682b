// figures FILE [--width MM | --length MM] [--material NAME | --sg SG]: what
// the window's Design Figures pane shows, one line a figure ("T/W: 0.560"),
// then one line a warning ("Warning: ..."); with a size, the millimetres and
// carats too.
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/options.h"
#include "cli/size_options.h"
#include "live/design_figures.h"
#include "live/design_warnings.h"
#include "live/figure_rows.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

constexpr const char* FIGURES_ARGUMENTS = "FILE [--width MM | --length MM] [--material NAME | --sg SG]";

struct FiguresArguments {
    std::string file;
    SizeOptions size;
};

int runFigures(const FiguresArguments& a, std::ostream& out) {
    checkSizeOptions(a.size);
    bool problems = false;
    const DesignAndIntent design = loadWithIntent(a.file, problems);
    if (!design.stone) return EXIT_FAILED;
    Stone& stone = *design.stone;
    SizeChoice size;
    std::optional<optics::WeightMaterial> material;
    bool failed = false;
    if (realSizeFor(stone, a.size, failed)) {
        size = *a.size.size;
        if (const std::optional<Gravity> gravity = gravityFor(stone, a.size))
            material = optics::WeightMaterial{gravity->material, gravity->specificGravity};
        else
            failed = true;
    }
    Stone measured(stone);
    for (const FigureRow& row : figureRows(figuresOf(measured, size, material)))
        out << cp1252ToUtf8(row.label + ": " + row.value) << '\n';
    for (const DesignWarning& w : designWarnings(stone, &design.intent))
        out << cp1252ToUtf8("Warning: " + w.text) << '\n';
    return failed || problems ? EXIT_FAILED : EXIT_DONE;
}

Run defineFigures(CLI::App& app) {
    auto a = std::make_shared<FiguresArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addSizeOptions(app, a->size, true);
    return [a](std::ostream& out, RunState&) { return runFigures(*a, out); };
}

}  // namespace

extern const Command figuresCommand{"figures", FIGURES_ARGUMENTS,
                                    "proportions, girdle, weight and warnings as the window's pane shows them",
                                    defineFigures};

}  // namespace brevix::cli
