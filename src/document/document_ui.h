#pragma once
// What the document needs from the windows around it when it opens, saves
// and exports: file dialogs, the "save changes?" question before a modified
// design is replaced, and news of its file name for the title bar and the
// recent-file list. The GUI implements it with Qt dialogs; tests with
// scripted answers. Messages and other questions go through the messages
// sink, views are updated through the document's own hooks.
#include <optional>
#include <string>

#include "files/progress_input.h"
#include "platform/messages.h"

namespace brevix {

struct FileDialogRequest {
    bool open = true;  // an open dialog, else a save dialog
    std::string title;  // empty: the dialog's usual title
    // Pairs of description and pattern, each ended by '|', the list ended by
    // another '|': "Brevix Files (*.gem)|*.gem|…||".
    std::string filter;
    std::string defaultExtension;
    std::string initialName;
    // A note shown beside the file type list, for what the types keep; none when empty.
    std::string typeNote;
    bool hideReadOnly = true;
    bool fileMustExist = false;
    bool overwritePrompt = false;  // the document asks itself
};

struct FileDialogResult {
    // The file system's own string for the path (UTF-8 here), not converted
    // to Windows-1252: only so does it still name the file (platform/paths.h).
    std::string path;
    int filterIndex = 1;  // the filter chosen, counted from 1
};

class DocumentUi {
public:
    virtual ~DocumentUi() = default;

    // Shows a file dialog with the recent-folder list (CFileDlgMRU: the
    // implementation records the accepted file's folder). Nothing on Cancel.
    virtual std::optional<FileDialogResult> chooseFile(const FileDialogRequest& request) = 0;

    // The framework's question before a modified design is replaced:
    // "Save changes to <title>?" with Yes, No and Cancel.
    virtual Answer askSaveChanges(const std::string& title) = 0;

    // The document's registered file changed (empty: a new, untitled design).
    // `addToRecent`: the path also becomes the newest recent-file entry.
    virtual void documentPathChanged(const std::string& path, bool addToRecent) = 0;

    // The design's unsaved-changes mark went on or off (every path that sets
    // it: a change, a save, an undo back to the saved state).
    virtual void modifiedChanged(bool /*modified*/) {}

    // Progress for reading the design at `path`, with a way to cancel it;
    // none by default (the read runs to its end).
    virtual ReadProgress readProgress(const std::string& /*path*/) { return {}; }
};

// For batch work: no dialog ever opens (every one is cancelled) and the
// question about unsaved changes takes its default, going on without saving.
class NonInteractiveUi : public DocumentUi {
public:
    std::optional<FileDialogResult> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    Answer askSaveChanges(const std::string&) override { return Answer::No; }
    void documentPathChanged(const std::string&, bool) override {}
};

}  // namespace brevix
