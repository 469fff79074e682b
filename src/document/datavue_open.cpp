#include "document/datavue_open.h"

#include <filesystem>
#include <fstream>

#include "document/document_ui.h"
#include "document/gem_doc.h"
#include "files/asc_format.h"
#include "files/datavue_messages.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix {

namespace {

// Where a later Save puts the design: the member's name in the current folder.
std::string pathInCurrentFolder(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    return ec ? name : (folder / name).string();
}

}  // namespace

bool OnSearchDatavue(CGemDoc& doc, const DatavueDialogRunner& runDialog) {
    DatavueDialogResult result = runDialog();
    if (!result.opened) return false;
    if (!doc.files().SaveModified()) return false;

    std::ifstream in;
    if (result.design) in.open(result.design->path(), std::ios::binary);
    if (!result.design || !in) {
        doc.say(dbmsg::NO_SUCH_DESIGN, Icon::Warning);
        return false;
    }
    auto stone = std::make_unique<Stone>(DATABASE_ROUGH_HALF);
    try {
        readAsc(*stone, in);
    } catch (const KernelError& error) {
        // The design in hand stays: nothing of it has been replaced yet.
        doc.say(error.what(), Icon::Error);
        return false;
    }
    in.close();
    DesignModel::Batch batch(doc.model());
    // A member brings no intent: it is inferred from its planes, never
    // taken over from the design it replaces.
    doc.files().forgetFileStamp();
    doc.model().openDesign(std::move(stone), std::nullopt);

    const std::string path = pathInCurrentFolder(result.design->memberName());
    doc.files().filePath = path;
    // Saved again, it is a text design, as it came.
    doc.files().openType = FileType::Asc;
    doc.files().saveType = FileType::Asc;
    doc.files().registeredPath = path;
    if (doc.files().ui) doc.files().ui->documentPathChanged(path, true);
    result.design.reset();  // the extracted copy goes now

    doc.takeSymmetryFromStone();
    doc.model().setModifiedFlag(false);
    doc.pendingChanged();
    return true;
}

}  // namespace brevix
