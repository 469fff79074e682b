// The design's files: New, Open, Save, Save As and Export, and the
// framework's part around them (registered path, "save changes?").
#include "document/design_files.h"

#include <cctype>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "design/real_size.h"
#include "document/design_io.h"
#include "document/document_messages.h"
#include "document/document_ui.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "platform/once_per_command.h"
#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

NonInteractiveUi& fallbackUi() {
    static NonInteractiveUi ui;
    return ui;
}

// The extension typed into a save dialog, or the one its chosen filter
// stands for (appended to the path). Nothing when neither gives a type.
struct ChosenType {
    FileType type = FileType::Other;
    std::string path;
};

// For the length of a command that tells each text once (opening a file
// and showing it first), the document shows through a filter.
class OnceEach {
public:
    explicit OnceEach(CGemDoc& doc) : doc_(doc), filter_(doc.sink()), previous_(doc.setSink(&filter_)) {}
    ~OnceEach() { doc_.setSink(previous_); }
    OnceEach(const OnceEach&) = delete;
    OnceEach& operator=(const OnceEach&) = delete;

private:
    CGemDoc& doc_;
    OncePerCommand filter_;
    MessageSink* previous_;
};

}  // namespace

// ---- the framework's side ------------------------------------------------

bool DesignFiles::SaveModified() {
    if (!doc_.model().isModified()) return true;
    DocumentUi& dialogs = ui ? *ui : fallbackUi();
    switch (dialogs.askSaveChanges(title())) {
    case Answer::Cancel: return false;
    case Answer::Yes: return OnFileSave();
    default: return true;
    }
}

bool DesignFiles::openDocumentFile(const std::string& path) {
    // The design is already open under this name: nothing is read again.
    if (!registeredPath.empty() && samePath(path, registeredPath)) return true;
    // Reading and the first showing of the design tell each thing once
    // (a zero gear would otherwise be reported for every facet shown).
    OnceEach once(doc_);
    DesignModel::Batch batch(doc_.model());
    if (!SaveModified()) return false;
    if (!OnOpenDocument(path)) return false;
    doc_.model().setModifiedFlag(false);
    registeredPath = path;
    if (ui) ui->documentPathChanged(path, true);
    doc_.pendingChanged();
    return true;
}

bool DesignFiles::OnFileNew() {
    DesignModel::Batch batch(doc_.model());
    if (!SaveModified()) return false;
    if (!OnNewDocument()) return false;
    if (ui) ui->documentPathChanged("", false);
    doc_.pendingChanged();
    return true;
}

std::string DesignFiles::title() const {
    if (registeredPath.empty()) return "Untitled";
    size_t sep = lastPathSeparator(registeredPath);
    return sep == std::string::npos ? registeredPath : registeredPath.substr(sep + 1);
}

// ---- document operations -------------------------------------------------

bool DesignFiles::OnNewDocument() {
    // The framework's own step: a new document has no name and no changes.
    registeredPath.clear();
    doc_.model().setModifiedFlag(false);

    auto fresh = std::make_unique<Stone>(ROUGH_HALF);
    fresh->symmetry = doc_.pending().info.symmetry;
    fresh->mirror = doc_.pending().info.mirror;
    // Undo brings the replaced design back.
    doc_.model().newDesign(std::move(fresh), "New");
    intentNoteShown = false;

    filePath.clear();
    fileStamp_.reset();
    openType = FileType::Other;
    saveType = FileType::Other;
    openReportedProblem = false;
    return true;
}

bool DesignFiles::OnOpenDocument(const std::string& path) {
    const FileType type = fileTypeOf(path);
    // Taken before the read: a write that comes during it is a change.
    const std::optional<FileStamp> stamp = fileStampOf(path);
    // The design in hand is replaced only when the file could be read: a
    // missing file, a wrong type or a file that is no design at all never
    // costs the user the current design (nor puts an empty stone under the
    // file's name, for a Save to write over the file).
    DesignRead read = readDesignFile(path, type, doc_.pending().info.symmetry, doc_.pending().info.mirror,
                                     ui ? ui->readProgress(path) : ReadProgress{});
    doc_.showNotes(read.notes);
    readCancelled = read.outcome == ReadOutcome::Cancelled;
    if (read.outcome != ReadOutcome::Read) return false;
    // A .brx file brings the intent it recorded; for the other formats it
    // is inferred from the planes when first asked for.
    doc_.model().openDesign(std::move(read.stone), std::move(read.intent));
    intentNoteShown = false;
    openType = type;
    doc_.takeSymmetryFromStone();
    filePath = path;
    fileStamp_ = stamp;
    saveType = openType;
    openReportedProblem = read.problems;
    doc_.refreshSummary();
    return true;
}

bool DesignFiles::OnSaveDocument(const std::string& path) {
    if (path.empty()) {
        doc_.say(docmsg::NO_FILE_NAME, Icon::Information);
        return false;
    }
    if (saveType == FileType::Other) {
        doc_.say(docmsg::TYPE_UNDEFINED, Icon::Information);
        saveType = FileType::Gem;
    }
    const std::string previousPath = filePath;
    filePath = path;
    const bool mesh = saveType == FileType::Stl || saveType == FileType::Obj;
    Diagnostics notes;
    const bool written = saveType == FileType::Brx
                             ? writeIntentFile(doc_.ensureStone(), doc_.model().intent(), path, notes)
                             : writeDesignFile(doc_.ensureStone(), saveType, path, mesh ? meshMillimetresPerUnit() : 0, notes);
    doc_.showNotes(notes);
    if (!written) {
        // Nothing was saved: the document keeps the name it had, so that a
        // later Save does not write to a file the user never got.
        filePath = previousPath;
        return false;
    }
    if (saveType == FileType::Gem || saveType == FileType::Asc || saveType == FileType::Brx) {
        doc_.model().setModifiedFlag(false);
        openReportedProblem = false;  // the file now holds the design as it is
        fileStamp_ = fileStampOf(path);
        doc_.model().markSaved();
        openDocumentFile(path);
    }
    return true;
}

// ---- File menu -----------------------------------------------------------

bool DesignFiles::OnFileSave() {
    if (filePath.empty()) return OnFileSaveAs();
    // A design the file may not hold all of, or one that Undo brought back
    // from before the file was opened: the file is replaced only on the
    // user's word, through Save As with its name proposed.
    if (openReportedProblem || !doc_.model().designFromFile()) return saveAsProposing(filePath);
    if (fileChangedOnDisk()) {
        // Two windows on one file: the last to save would silently undo
        // the other's work. Without a person to ask, nothing is written.
        const Answer answer = doc_.ask(strprintf(docmsg::CHANGED_ON_DISK, pathForMessage(filePath).c_str()),
                                  Buttons::YesNoCancel, Icon::Warning, Answer::Cancel);
        if (answer == Answer::No) return saveAsProposing(filePath);
        if (answer != Answer::Yes) return false;
    }
    return OnSaveDocument(filePath);
}

bool DesignFiles::fileChangedOnDisk() const {
    // A file removed since is simply written again.
    const std::optional<FileStamp> now = fileStampOf(filePath);
    return fileStamp_ && now && !(*now == *fileStamp_);
}

bool DesignFiles::OnFileOpen() {
    OnceEach once(doc_);
    DocumentUi& dialogs = ui ? *ui : fallbackUi();
    FileDialogRequest request;
    request.open = true;
    request.filter = docmsg::OPEN_FILTER;
    request.fileMustExist = true;
    auto choice = dialogs.chooseFile(request);
    if (!choice) return false;

    if (choice->path == filePath) {
        const Answer answer = doc_.ask(strprintf(docmsg::ALREADY_OPEN, pathForMessage(filePath).c_str()),
                                          Buttons::YesNoCancel, Icon::Question);
        if (answer != Answer::Yes) return false;
        DesignModel::Batch batch(doc_.model());
        const bool read = OnOpenDocument(filePath);
        if (read) doc_.model().setModifiedFlag(false);  // the design is now the saved one
        doc_.refreshSummary();
        doc_.pendingChanged();
        return read;
    }
    return openDocumentFile(choice->path);
}

namespace {

struct TypeChoice {
    const char* extension;
    FileType type;
};

// Decides the type of a save or export from the typed extension (in lower
// case) or, without one, from the filter; shows why when neither will do.
std::optional<ChosenType> chooseType(CGemDoc& doc, const FileDialogResult& choice, std::span<const TypeChoice> byFilter,
                                     const char* noTypeMessage) {
    ChosenType chosen;
    chosen.path = choice.path;
    const std::string typed = lower(fileExtension(choice.path));
    if (typed.empty()) {
        if (choice.filterIndex < 1 || choice.filterIndex > static_cast<int>(byFilter.size())) {
            doc.say(noTypeMessage, Icon::Information);
            return std::nullopt;
        }
        const TypeChoice& entry = byFilter[choice.filterIndex - 1];
        chosen.type = entry.type;
        chosen.path += '.';
        chosen.path += entry.extension;
        return chosen;
    }
    for (const TypeChoice& entry : byFilter) {
        if (typed == entry.extension) {
            chosen.type = entry.type;
            return chosen;
        }
    }
    doc.say(strprintf(docmsg::UNSUPPORTED_TYPE, pathForMessage(typed).c_str()), Icon::Information);
    return std::nullopt;
}

bool replaceExisting(CGemDoc& doc, const std::string& path) {
    if (!fileExists(path)) return true;
    return doc.ask(strprintf(docmsg::ALREADY_EXISTS, pathForMessage(path).c_str()), Buttons::YesNoCancel,
                       Icon::None) == Answer::Yes;
}

}  // namespace

bool DesignFiles::OnFileSaveAs() { return saveAsProposing(""); }

bool DesignFiles::saveAsProposing(const std::string& proposed) {
    DocumentUi& dialogs = ui ? *ui : fallbackUi();
    FileDialogRequest request;
    request.open = false;
    request.filter = docmsg::SAVE_FILTER;
    request.initialName = proposed;
    // The type list starts at .gem, as always; the note lets a cutter whose
    // tiers were placed by their meets choose .brx before the save, not after.
    request.typeNote = docmsg::SAVE_TYPE_NOTE;
    auto choice = dialogs.chooseFile(request);
    if (!choice) return false;

    // In the order of SAVE_FILTER's entries.
    static constexpr TypeChoice designTypes[] = {
        {"gem", FileType::Gem}, {"asc", FileType::Asc}, {"brx", FileType::Brx}};
    auto chosen = chooseType(doc_, *choice, designTypes, docmsg::UNSUPPORTED_EXTENSION);
    if (!chosen || !replaceExisting(doc_, chosen->path)) return false;
    if (chosen->type != FileType::Brx && !intentNoteShown && intentWouldBeLost()) {
        // Said once a design: a cutter who saves in the old formats on
        // purpose need not hear it at every save.
        intentNoteShown = true;
        doc_.say(docmsg::INTENT_NOT_STORED, Icon::Information);
    }

    const FileType previousType = saveType;
    saveType = chosen->type;
    if (!OnSaveDocument(chosen->path)) {
        // A save that did not happen must not change what File Save writes.
        saveType = previousType;
        return false;
    }
    return true;
}

bool DesignFiles::intentWouldBeLost() {
    // Only what the cutter recorded is lost: an intent inferred from the
    // planes is inferred again when the file is opened.
    if (!doc_.model().recordedIntent() || !doc_.stone()) return false;
    for (const TierIntent& tier : doc_.model().intent().tiers)
        if (!tier.inferred) return true;
    return false;
}

bool DesignFiles::OnFileExport() {
    const FileType rememberedType = saveType;
    DocumentUi& dialogs = ui ? *ui : fallbackUi();
    FileDialogRequest request;
    request.open = false;
    request.title = docmsg::EXPORT_TITLE;
    request.filter = docmsg::EXPORT_FILTER;
    auto choice = dialogs.chooseFile(request);
    if (!choice) return false;

    static constexpr TypeChoice exportTypes[] = {
        {"wrl", FileType::Wrl}, {"dxf", FileType::Dxf}, {"b3d", FileType::B3d},
        {"thb", FileType::Thb}, {"stl", FileType::Stl}, {"obj", FileType::Obj}};
    auto chosen = chooseType(doc_, *choice, exportTypes, docmsg::UNSUPPORTED_EXPORT);
    if (!chosen || !replaceExisting(doc_, chosen->path)) {
        saveType = rememberedType;
        return false;
    }

    const std::string rememberedPath = filePath;
    saveType = chosen->type;
    const bool written = OnSaveDocument(chosen->path);
    filePath = rememberedPath;
    saveType = rememberedType;
    return written;
}

bool DesignFiles::openRecentFile(const std::string& path) {
    if (openDocumentFile(path) || readCancelled) return false;
    const std::vector<std::string>& entries = recentFiles_.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == path) {
            recentFiles_.remove(i);
            recentFiles_.save();
            return true;
        }
    }
    return false;
}

double DesignFiles::meshMillimetresPerUnit() {
    if (meshSize.millimetres <= 0) return 0;
    const std::optional<RealSize> size = realSizeOf(doc_.ensureStone(), meshSize.basis, meshSize.millimetres);
    return size ? size->millimetresPerUnit : 0;
}

}  // namespace brevix
