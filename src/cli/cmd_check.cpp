// check FILE: rebuilds the design from its planes and runs the full
// consistency check of the polyhedron, printing its report.
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "kernel/checks.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix::cli {

namespace {
int runCheck(std::span<const std::string> args, std::ostream& out) {
    auto stone = loadDesign(args[0]);
    if (!stone) return EXIT_FAILED;
    try {
        stone->regenerate();
    } catch (const KernelError& error) {
        showMessage(error.what(), Icon::Error);
        return EXIT_FAILED;
    }
    return checkstone(*stone, out) ? EXIT_DONE : EXIT_FAILED;
}
}  // namespace

extern const Command checkCommand{"check", "FILE", "rebuild from the planes and check the polyhedron", 1, runCheck};

}  // namespace brevix::cli
