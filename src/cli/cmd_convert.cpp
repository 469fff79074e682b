// convert IN OUT [--width MM | --length MM]: reads a design and writes it in
// the format OUT's name asks for, through the same writers as the program's
// Save and Export. The size sets the meshes (.stl, .obj) in millimetres;
// without it they are in design units.
#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/size_options.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* ARGUMENTS = "IN OUT [--width MM | --length MM]";

int runConvert(std::span<const std::string> args, std::ostream&) {
    SizeOptions options;
    std::vector<std::string> files;
    if (!takeSizeOptions(args, false, options, files)) return EXIT_USAGE;
    if (files.size() != 2) {
        reportError(strprintf("usage: brevix-cli convert %s", ARGUMENTS));
        return EXIT_USAGE;
    }
    const std::string& target = files[1];
    const FileType type = fileTypeOf(target);
    if (type == FileType::Other) {
        reportError(strprintf("%s: the name must end in .gem, .asc, .wrl, .dxf, .b3d, .thb, .stl or .obj",
                              target.c_str()));
        return EXIT_USAGE;
    }
    if (options.size && type != FileType::Stl && type != FileType::Obj) {
        reportError("--width and --length size the meshes (.stl, .obj) only");
        return EXIT_USAGE;
    }
    auto stone = loadDesign(files[0]);
    if (!stone) return EXIT_FAILED;
    double millimetresPerUnit = 0;
    bool failed = false;
    if (const std::optional<RealSize> size = realSizeFor(*stone, options, failed))
        millimetresPerUnit = size->millimetresPerUnit;
    if (failed) return EXIT_FAILED;
    return writeDesignFile(*stone, type, target, millimetresPerUnit) ? EXIT_DONE : EXIT_FAILED;
}

}  // namespace

extern const Command convertCommand{"convert", ARGUMENTS, "write the design IN in the format of OUT's extension", 2,
                                    runConvert, 2};

}  // namespace brevix::cli
