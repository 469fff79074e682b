#include "app/gallery/gallery_open.h"

#include <QFile>
#include <QFileDialog>

#include "app/gallery/gallery_window.h"
#include "app/main_frame.h"
#include "document/datavue_open.h"
#include "document/gem_doc.h"
#include "files/datavue_members.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"

namespace brevix {

namespace {

void openInFrame(CMainFrame& frame, const collection::DesignEntry& entry) {
    CGemDoc& doc = frame.document();
    if (entry.inDatabase()) {
        // The database's own way in: the design text extracted to a temporary
        // file, read, and the file removed.
        OnSearchDatavue(doc, [&entry] {
            DatavueDialogResult result;
            result.opened = true;
            Diagnostics notes;
            result.design = extractDesignText(libraryFolderOf(entry.path), entry.reference, entry.code, notes);
            showAll(notes, messageSink());
            return result;
        });
    } else {
        doc.files().openDocumentFile(entry.path);
    }
    frame.updateAllViews();
    frame.raise();
    frame.activateWindow();
}

}  // namespace

GalleryWindow* openGallery(CMainFrame& frame, const QString& folder) {
    auto* gallery = new GalleryWindow(folder, [&frame](const collection::DesignEntry& e) { openInFrame(frame, e); },
                                      &frame);
    gallery->show();
    gallery->raise();
    return gallery;
}

void chooseGalleryFolder(CMainFrame& frame) {
    const QString folder = QFileDialog::getExistingDirectory(&frame, QObject::tr("Open Folder"));
    if (!folder.isEmpty()) openGallery(frame, folder);
}

}  // namespace brevix
