// diagram FILE OUT [--page letter|a4] [--dpi N]: the printed faceting
// diagram as a file: what File > Print puts on paper, as a vector PDF, an SVG
// or a PNG, chosen by OUT's extension. Drawing pages needs Qt Gui; a build
// without Qt says so instead.
#include <memory>
#include <ostream>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "platform/paths.h"
#include "platform/strformat.h"

#ifdef BREVIX_HAVE_PAGE_OUTPUT
#include "app/print/diagram_output.h"
#endif

namespace brevix::cli {

namespace {

constexpr const char* DIAGRAM_ARGUMENTS = "FILE OUT [--page letter|a4] [--dpi N]";

#ifdef BREVIX_HAVE_PAGE_OUTPUT

// The document's title: the design file's name without its folder.
std::string titleOf(const std::string& path) {
    const size_t sep = lastPathSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

struct DiagramArguments {
    std::string design, out;
    std::string page = "letter";
    DiagramOutputOptions options;
};

int runDiagram(DiagramArguments& a, std::ostream&, RunState& state) {
    a.options.paper = a.page == "a4" ? PaperSize::A4 : PaperSize::Letter;
    const std::string& design = a.design;
    const std::string& out = a.out;
    // Checked before reading so that a mistyped name costs no work.
    if (!diagramFormatOf(out)) {
        reportError(strprintf("%s: the diagram is written as .pdf, .svg or .png", out.c_str()));
        return EXIT_USAGE;
    }
    auto stone = loadDesign(design, state);
    if (!stone) return EXIT_FAILED;
    std::string error;
    if (!writeDiagramFile(*stone, titleOf(design), out, a.options, error)) {
        // File problems read as they do in every other command.
        showMessage(error, Icon::Warning);
        return EXIT_FAILED;
    }
    return EXIT_DONE;
}

Run defineDiagram(CLI::App& app) {
    auto a = std::make_shared<DiagramArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->design);
    addFile(app, "OUT", "the file to write: .pdf, .svg or .png", a->out);
    addChoice(app, "--page", "paper size", {"letter", "a4"}, a->page);
    addWholeNumber(app, "--dpi", "dots per inch of a .png", {MIN_DIAGRAM_DPI, MAX_DIAGRAM_DPI, "a number", "300"},
                   "dots per inch", a->options.dpi)
        ->type_name("N");
    return [a](std::ostream& out, RunState& state) { return runDiagram(*a, out, state); };
}

#else

Run defineDiagram(CLI::App& app) {
    // Read as in the Qt build, so that only the answer differs.
    auto unused = std::make_shared<std::string>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", *unused);
    addFile(app, "OUT", "the file to write: .pdf, .svg or .png", *unused);
    app.add_option("--page", *unused, "paper size: letter or a4");
    app.add_option("--dpi", *unused, "dots per inch of a .png");
    return [unused](std::ostream&, RunState&) {
        reportError("the diagram needs the Qt build of brevix-cli (configure with BREVIX_GUI=ON and Qt 6)");
        return EXIT_FAILED;
    };
}

#endif

}  // namespace

extern const Command diagramCommand{"diagram", DIAGRAM_ARGUMENTS, "the printed diagram as a .pdf, .svg or .png file",
                                    defineDiagram};

}  // namespace brevix::cli
