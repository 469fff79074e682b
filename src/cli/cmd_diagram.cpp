// diagram FILE OUT [--page letter|a4] [--dpi N]: the printed faceting
// diagram as a file: what File > Print puts on paper, as a vector PDF, an SVG
// or a PNG, chosen by OUT's extension. Drawing pages needs Qt Gui; a build
// without Qt says so instead.
#include <charconv>
#include <ostream>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "platform/paths.h"
#include "platform/strformat.h"

#ifdef BREVIX_HAVE_PAGE_OUTPUT
#include "app/print/diagram_output.h"
#endif

namespace brevix::cli {

namespace {

constexpr const char* ARGUMENTS = "FILE OUT [--page letter|a4] [--dpi N]";

#ifdef BREVIX_HAVE_PAGE_OUTPUT

int usage() {
    reportError(strprintf("usage: brevix-cli diagram %s", ARGUMENTS));
    return EXIT_USAGE;
}

// The document's title: the design file's name without its folder.
std::string titleOf(const std::string& path) {
    const size_t sep = lastPathSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

int runDiagram(std::span<const std::string> args, std::ostream&) {
    std::vector<std::string> files;
    DiagramOutputOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string name = arg, value;
        bool hasValue = false;
        if (arg.starts_with("--")) {
            if (const size_t eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
                hasValue = true;
            }
        }
        if (name == "--page" || name == "--dpi") {
            if (!hasValue) {
                if (i + 1 >= args.size()) return usage();
                value = args[++i];
            }
            if (name == "--page") {
                if (value == "letter")
                    options.paper = PaperSize::Letter;
                else if (value == "a4" || value == "A4")
                    options.paper = PaperSize::A4;
                else
                    return usage();
            } else {
                int dpi = 0;
                const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), dpi);
                if (ec != std::errc() || end != value.data() + value.size()) return usage();
                if (dpi < MIN_DIAGRAM_DPI || dpi > MAX_DIAGRAM_DPI) {
                    reportError(strprintf("--dpi runs from %d to %d", MIN_DIAGRAM_DPI, MAX_DIAGRAM_DPI));
                    return EXIT_USAGE;
                }
                options.dpi = dpi;
            }
        } else if (arg.starts_with("--")) {
            reportError(strprintf("unknown option '%s'", arg.c_str()));
            return usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) return usage();
    const std::string& design = files[0];
    const std::string& out = files[1];
    // Checked before reading so that a mistyped name costs no work.
    if (!diagramFormatOf(out)) {
        reportError(strprintf("%s: the diagram is written as .pdf, .svg or .png", out.c_str()));
        return EXIT_USAGE;
    }
    auto stone = loadDesign(design);
    if (!stone) return EXIT_FAILED;
    std::string error;
    if (!writeDiagramFile(*stone, titleOf(design), out, options, error)) {
        // File problems read as they do in every other command.
        showMessage(error, Icon::Warning);
        return EXIT_FAILED;
    }
    return EXIT_DONE;
}

#else

int runDiagram(std::span<const std::string>, std::ostream&) {
    reportError("the diagram needs the Qt build of brevix-cli (configure with BREVIX_GUI=ON and Qt 6)");
    return EXIT_FAILED;
}

#endif

}  // namespace

extern const Command diagramCommand{"diagram", ARGUMENTS,
                                    "the printed diagram as a .pdf, .svg or .png file", 2,
                                    runDiagram, 4};

}  // namespace brevix::cli
