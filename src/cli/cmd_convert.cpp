// convert IN OUT [--width MM | --length MM]: reads a design and writes it in
// the format OUT's name asks for, through the same writers as the program's
// Save and Export. The size sets the meshes (.stl, .obj) in millimetres;
// without it they are in design units.
#include <memory>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "cli/size_options.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* CONVERT_ARGUMENTS = "IN OUT [--width MM | --length MM]";

struct ConvertArguments {
    std::string in, out;
    SizeOptions size;
};

int runConvert(const ConvertArguments& a, std::ostream&, RunState& state) {
    const std::string& target = a.out;
    const FileType type = fileTypeOf(target);
    if (type == FileType::Other) {
        reportError(strprintf("%s: the name must end in .gem, .asc, .wrl, .dxf, .b3d, .thb, .stl or .obj",
                              target.c_str()));
        return EXIT_USAGE;
    }
    if (a.size.size && type != FileType::Stl && type != FileType::Obj) {
        reportError("--width and --length size the meshes (.stl, .obj) only");
        return EXIT_USAGE;
    }
    auto stone = loadDesign(a.in, state);
    if (!stone) return EXIT_FAILED;
    double millimetresPerUnit = 0;
    bool failed = false;
    if (const std::optional<RealSize> size = realSizeFor(*stone, a.size, failed))
        millimetresPerUnit = size->millimetresPerUnit;
    if (failed) return EXIT_FAILED;
    Diagnostics notes;
    const bool written = writeDesignFile(*stone, type, target, millimetresPerUnit, notes);
    showNotes(notes);
    return written ? EXIT_DONE : EXIT_FAILED;
}

Run defineConvert(CLI::App& app) {
    auto a = std::make_shared<ConvertArguments>();
    addFile(app, "IN", "the design (.brx, .gem or .asc)", a->in);
    addFile(app, "OUT", "the file to write: .gem, .asc, .wrl, .dxf, .b3d, .thb, .stl or .obj", a->out);
    addSizeOptions(app, a->size, false);
    return [a](std::ostream& out, RunState& state) { return runConvert(*a, out, state); };
}

}  // namespace

extern const Command convertCommand{"convert", CONVERT_ARGUMENTS, "write the design IN in the format of OUT's extension",
                                    defineConvert};

}  // namespace brevix::cli
