#include "app/dialogs/file_dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/message_box_sink.h"
#include "document/recent_files.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

QStringList nameFiltersOf(const std::string& filter) {
    QStringList out;
    size_t at = 0;
    while (at < filter.size()) {
        const size_t bar = filter.find('|', at);
        if (bar == std::string::npos || bar == at) break;
        out << fromCore(filter.substr(at, bar - at));
        // Skip the pattern that follows the description.
        const size_t next = filter.find('|', bar + 1);
        if (next == std::string::npos) break;
        at = next + 1;
    }
    return out;
}

FileDlgMRUDialog::FileDlgMRUDialog(const FileDialogRequest& request, QWidget* parent)
    : QFileDialog(parent) {
    setObjectName(QStringLiteral("CFileDlgMRU"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    // The document asks before replacing a file, in its own words.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(request.open && request.fileMustExist ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    if (!request.title.empty()) setWindowTitle(fromCore(request.title));
    filters_ = nameFiltersOf(request.filter);
    if (!filters_.isEmpty()) setNameFilters(filters_);
    if (!request.defaultExtension.empty()) setDefaultSuffix(fromCore(request.defaultExtension));
    if (!mru_.initialFolder().empty()) setDirectory(fromPath(mru_.initialFolder()));
    if (!request.initialName.empty()) selectFile(fromPath(request.initialName));

    if (!request.typeNote.empty()) {
        typeNote_ = new QLabel(fromCore(request.typeNote), this);
        typeNote_->setObjectName(QStringLiteral("typeNote"));
        typeNote_->setWordWrap(true);
    }

    recent_ = new QComboBox(this);
    recent_->setObjectName(QStringLiteral("recentFolders"));
    for (const std::string& folder : mru_.entries()) recent_->addItem(fromPath(folder));
    if (recent_->count() > 0) recent_->setCurrentIndex(0);
    auto* label = new QLabel(QStringLiteral("Recent folders:"), this);
    label->setBuddy(recent_);
    // Lined up with the file type label and list of the dialog's own grid.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        int typeRow = -1, column = 1, span = 1;
        for (int i = 0; i < grid->count(); ++i) {
            QWidget* w = grid->itemAt(i)->widget();
            if (w && w->objectName() == QLatin1String("fileTypeCombo")) {
                int r, c, rs, cs;
                grid->getItemPosition(i, &r, &c, &rs, &cs);
                typeRow = r;
                column = c;
                span = cs;
            }
        }
        int row = typeRow >= 0 ? typeRow + 1 : grid->rowCount();
        if (typeNote_) grid->addWidget(typeNote_, row++, column, 1, span);
        grid->addWidget(label, row, 0);
        grid->addWidget(recent_, row, column, 1, span);
    } else {
        if (typeNote_) layout()->addWidget(typeNote_);
        layout()->addWidget(label);
        layout()->addWidget(recent_);
    }
    connect(recent_, &QComboBox::activated, this, [this](int index) {
        // Choosing a folder takes the dialog there, with an empty file name.
        setDirectory(recent_->itemText(index));
        selectFile(QString());
    });
}

int FileDlgMRUDialog::filterIndex() const {
    const int at = filters_.indexOf(selectedNameFilter());
    return at < 0 ? 1 : at + 1;
}

void FileDlgMRUDialog::done(int result) {
    // Only a file the dialog really accepts (not a folder it opens) counts.
    if (result == QDialog::Accepted) {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) mru_.accept(toPath(QDir::toNativeSeparators(files.first())));
    }
    QFileDialog::done(result);
}

std::optional<FileDialogResult> QtDocumentUi::chooseFile(const FileDialogRequest& request) {
    FileDlgMRUDialog dialog(request, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return FileDialogResult{toPath(QDir::toNativeSeparators(files.first())), dialog.filterIndex()};
}

Answer QtDocumentUi::askSaveChanges(const std::string& title) {
    return askQuestion(strprintf("Save changes to %s?", title.c_str()), Buttons::YesNoCancel,
                       Icon::Warning, Answer::Cancel);
}

void QtDocumentUi::documentPathChanged(const std::string& path, bool addToRecent) {
    if (addToRecent && !path.empty()) {
        RecentFileList recent;
        recent.load();
        recent.add(path);
        recent.save();
    }
    if (onPathChanged) onPathChanged(path, addToRecent);
}

ReadProgress QtDocumentUi::readProgress(const std::string& path) {
    // One dialog per read, made when the read starts and gone with it.
    // Once it shows, events are let through a few times a second (not on
    // every piece read), so Cancel and the window's painting respond.
    struct Shown {
        std::unique_ptr<QProgressDialog> dialog;
        QElapsedTimer sinceEvents;
    };
    auto shown = std::make_shared<Shown>();
    const QString name = QFileInfo(fromPath(path)).fileName();
    QPointer<QWidget> parent = parent_;
    const int delay = progressDelayMs;
    return [shown, name, parent, delay](uint64_t done, uint64_t total) {
        if (!shown->dialog) {
            shown->dialog = std::make_unique<QProgressDialog>(QStringLiteral("Reading %1...").arg(name),
                                                              QStringLiteral("Cancel"), 0, 1000, parent);
            shown->dialog->setObjectName(QStringLiteral("readProgress"));
            shown->dialog->setWindowTitle(QStringLiteral("Brevix"));
            shown->dialog->setWindowModality(Qt::WindowModal);
            shown->dialog->setMinimumDuration(delay);
            shown->dialog->setAutoClose(false);
            shown->dialog->setAutoReset(false);
            shown->dialog->setValue(0);
            shown->sinceEvents.start();
        }
        QProgressDialog& dialog = *shown->dialog;
        const int permille = total ? static_cast<int>(std::min<uint64_t>(1000, done * 1000 / total)) : 0;
        if (permille != dialog.value()) dialog.setValue(permille);  // lets events through when shown
        // Nothing of the window may run before the dialog stands in front
        // of it: a command in the middle of the read would find half a design.
        if (dialog.isVisible() && shown->sinceEvents.elapsed() > 100) {
            QCoreApplication::processEvents();
            shown->sinceEvents.restart();
        }
        return !dialog.wasCanceled();
    };
}

}  // namespace brevix
