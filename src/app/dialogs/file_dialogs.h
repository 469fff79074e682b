#pragma once
// The program's file dialogs: a Qt file dialog (not the platform's own, so
// that it can be extended) with a "Recent folders:" strip below the file
// type list, and the document's DocumentUi built on it.
#include <QFileDialog>
#include <functional>
#include <memory>

#include "document/document_ui.h"
#include "document/file_dlg_mru.h"

class QComboBox;
class QLabel;

namespace brevix {

class FileDlgMRUDialog : public QFileDialog {
    Q_OBJECT
public:
    FileDlgMRUDialog(const FileDialogRequest& request, QWidget* parent = nullptr);

    QComboBox* recentFolders() const { return recent_; }
    // The request's note on the file types, under their list; null without one.
    QLabel* typeNote() const { return typeNote_; }
    // The filter chosen, counted from 1 as the request listed them.
    int filterIndex() const;

    void done(int result) override;

private:
    CFileDlgMRU mru_;
    QComboBox* recent_ = nullptr;
    QLabel* typeNote_ = nullptr;
    QStringList filters_;
};

// "Brevix Files (*.gem)|*.gem|…||" as Qt's name filters (the descriptions,
// which name their patterns in parentheses).
QStringList nameFiltersOf(const std::string& filter);

class QtDocumentUi : public DocumentUi {
public:
    explicit QtDocumentUi(QWidget* parent) : parent_(parent) {}

    std::optional<FileDialogResult> chooseFile(const FileDialogRequest& request) override;
    Answer askSaveChanges(const std::string& title) override;
    void documentPathChanged(const std::string& path, bool addToRecent) override;
    void modifiedChanged(bool modified) override {
        if (onModifiedChanged) onModifiedChanged(modified);
    }
    // A "Reading ..." dialog with Cancel, shown once the read has taken
    // longer than `progressDelayMs` (tests set 0 to see it at once).
    ReadProgress readProgress(const std::string& path) override;
    int progressDelayMs = 400;

    // The window's title and recent-file menu follow the document's path.
    std::function<void(const std::string& path, bool addToRecent)> onPathChanged;
    // The title's mark for unsaved changes follows the document's.
    std::function<void(bool modified)> onModifiedChanged;

private:
    QWidget* parent_;
};

}  // namespace brevix
