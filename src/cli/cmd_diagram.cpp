// diagram FILE OUT [--page letter|a4] [--dpi N]: the printed faceting
// diagram as a file: what File > Print puts on paper, as a vector PDF, an SVG
// or a PNG, chosen by OUT's extension. Drawing pages needs Qt Gui, which
// brevix-cli does not load: every other command starts without it. The Qt
// build's brevix-cli reads the command line and hands the drawing to
// brevix-diagram, the same command with the page output, from beside its own
// executable. A build without Qt says so instead.
#include <memory>
#include <ostream>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "platform/paths.h"
#include "platform/strformat.h"

#if defined(BREVIX_HAVE_PAGE_OUTPUT) || defined(BREVIX_DIAGRAM_PROGRAM)
// Only its options and limits: they read the same on both sides.
#include "app/print/diagram_output.h"
#endif
#ifdef BREVIX_DIAGRAM_PROGRAM
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#endif

namespace brevix::cli {

namespace {

constexpr const char* DIAGRAM_ARGUMENTS = "FILE OUT [--page letter|a4] [--dpi N]";

#if defined(BREVIX_HAVE_PAGE_OUTPUT) || defined(BREVIX_DIAGRAM_PROGRAM)

struct DiagramArguments {
    std::string design, out;
    std::string page = "letter";
    DiagramOutputOptions options;
};

#endif

#ifdef BREVIX_HAVE_PAGE_OUTPUT

// The document's title: the design file's name without its folder.
std::string titleOf(const std::string& path) {
    const size_t sep = lastPathSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

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

#elif defined(BREVIX_DIAGRAM_PROGRAM)

// The folder this program runs from: the diagram program lies beside it,
// in the build tree as in an installation.
std::string ownFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
    path.resize(static_cast<size_t>(length));
    const size_t sep = lastPathSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

// The command line was read here, so its --help and usage errors never need
// the diagram program; what was read is handed on in one plain form, which
// it reads alike: the two paths were taken as paths here, and the values as
// "--name=value" cannot be taken for anything else. The program replaces
// this process: its messages, files and exit status are the run's.
int runDiagram(const DiagramArguments& a, std::ostream& out, RunState&) {
    const std::string folder = ownFolder();
    if (folder.empty()) {
        // Never a program of that name from the current folder or the PATH.
        reportError("cannot draw the diagram: the folder of brevix-cli, where its drawing program lies, is unknown");
        return EXIT_FAILED;
    }
    const std::string program = folder + BREVIX_DIAGRAM_PROGRAM;
    std::vector<std::string> arguments = {program, "diagram", a.design, a.out, "--page=" + a.page,
                                          "--dpi=" + std::to_string(a.options.dpi)};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    out.flush();
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    const int error = errno;
    if (error == ENOENT) {
        reportError(strprintf("cannot draw the diagram: its drawing program %s is missing (it belongs beside "
                              "brevix-cli)",
                              program.c_str()));
    } else {
        reportError(strprintf("cannot draw the diagram: %s: %s", program.c_str(), std::strerror(error)));
    }
    return EXIT_FAILED;
}

#endif

#if defined(BREVIX_HAVE_PAGE_OUTPUT) || defined(BREVIX_DIAGRAM_PROGRAM)

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
