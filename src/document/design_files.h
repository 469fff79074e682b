#pragma once
// The design's files: New, Open, Save, Save As and Export, the types they
// read and write, the framework's part around them (the registered path for
// the title and the recent files, "save changes?"), and what is known of the
// file the design came from. The design itself is the document's: this
// reads it into the document and writes it out of it.
#include <optional>
#include <string>

#include "design/real_size.h"
#include "document/file_type.h"
#include "document/recent_files.h"
#include "platform/file_stamp.h"

namespace brevix {

class CGemDoc;
class DocumentUi;

class DesignFiles {
public:
    explicit DesignFiles(CGemDoc& doc) : doc_(doc) {}
    DesignFiles(const DesignFiles&) = delete;
    DesignFiles& operator=(const DesignFiles&) = delete;

    std::string filePath;                   // last read or written; "" for a new design
    FileType openType = FileType::Other;    // what the design was read from
    FileType saveType = FileType::Other;    // what OnSaveDocument writes
    // The path the windows know the design by (title, recent files); "" untitled.
    std::string registeredPath;
    // File dialogs and the "save changes?" question; null answers like
    // NonInteractiveUi (no dialog, no saving).
    DocumentUi* ui = nullptr;
    // The last open reported a problem: the design may hold less than its
    // file, so Save goes through Save As (proposing the file's name, and
    // asking before it is replaced) until the design has been saved.
    bool openReportedProblem = false;
    // The last open was cancelled by the cutter during the read (nothing
    // is wrong with the file).
    bool readCancelled = false;
    // Save As has told the cutter that .gem and .asc do not keep the
    // intent (once a design).
    bool intentNoteShown = false;
    // The size the mesh exports (STL, OBJ) are written at: the one last set
    // in Stone > Size and Weight. Without one (0 mm) they are in design units.
    SizeChoice meshSize;

    // Some tier's intent was recorded by the cutter, not inferred.
    bool intentWouldBeLost();

    bool OnNewDocument();
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // The framework's side: File New, the application's open of a path (the
    // recent-file list, the command line) and the question before a
    // modified design is replaced.
    bool OnFileNew();
    bool openDocumentFile(const std::string& path);
    bool SaveModified();
    // File menu commands; true when something was written or opened.
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Save As with `proposed` in the dialog's name box.
    bool saveAsProposing(const std::string& proposed);
    bool OnFileExport();
    // Millimetres per design unit of the current stone at meshSize; 0 for none.
    double meshMillimetresPerUnit();
    std::string title() const;  // file name of the registered path, or "Untitled"
    // The File menu's recent files, as the settings keep them.
    RecentFileList& recentFiles() { return recentFiles_; }
    const RecentFileList& recentFiles() const { return recentFiles_; }
    // Opens an entry of the recent-file list; an entry that cannot be opened
    // any more (a read the cutter cancelled aside) leaves the list. True
    // when it left, so the menu is shown anew.
    bool openRecentFile(const std::string& path);

    // The design in hand no longer comes from the file last stamped (a
    // database member has no stamp of its own).
    void forgetFileStamp() { fileStamp_.reset(); }

private:
    // Whether someone else wrote the file at filePath since it was opened
    // or last saved here.
    bool fileChangedOnDisk() const;

    CGemDoc& doc_;
    // The file at filePath as it was when opened or last saved here.
    std::optional<FileStamp> fileStamp_;
    RecentFileList recentFiles_;
};

}  // namespace brevix
