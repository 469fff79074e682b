// check FILE: rebuilds the design from its planes and runs the full
// consistency check of the polyhedron, printing its report.
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "kernel/checks.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix::cli {

namespace {
int runCheck(const std::string& file, std::ostream& out, RunState& state) {
    auto stone = loadDesign(file, state);
    if (!stone) return EXIT_FAILED;
    try {
        stone->regenerate();
    } catch (const KernelError& error) {
        showMessage(error.what(), Icon::Error);
        return EXIT_FAILED;
    }
    return checkstone(*stone, out) ? EXIT_DONE : EXIT_FAILED;
}
Run defineCheck(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", *file);
    return [file](std::ostream& out, RunState& state) { return runCheck(*file, out, state); };
}

}  // namespace

extern const Command checkCommand{"check", "FILE", "rebuild from the planes and check the polyhedron", defineCheck};

}  // namespace brevix::cli
