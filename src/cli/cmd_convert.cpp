// convert IN OUT: reads a design and writes it in the format OUT's name
// asks for, through the same writers as the program's Save and Export.
#include "cli/cli_support.h"
#include "cli/command.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {
int runConvert(std::span<const std::string> args, std::ostream&) {
    const std::string& target = args[1];
    const FileType type = fileTypeOf(target);
    if (type == FileType::Other) {
        reportError(strprintf("%s: the name must end in .gem, .asc, .wrl, .dxf, .b3d or .thb",
                              target.c_str()));
        return EXIT_USAGE;
    }
    auto stone = loadDesign(args[0]);
    if (!stone) return EXIT_FAILED;
    return writeDesignFile(*stone, type, target) ? EXIT_DONE : EXIT_FAILED;
}
}  // namespace

extern const Command convertCommand{"convert", "IN OUT", "write the design IN in the format of OUT's extension", 2,
                                    runConvert};

}  // namespace brevix::cli
