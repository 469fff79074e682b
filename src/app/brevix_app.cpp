#include "app/brevix_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>

#include "app/gallery/gallery_open.h"
#include "app/main_frame.h"
#include "app/message_box_sink.h"
#include "app/print/diagram_print.h"
#include "document/gem_doc.h"

namespace brevix {

void installFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

CBrevixApp::CBrevixApp() = default;

CBrevixApp::~CBrevixApp() {
    frame_.reset();
    if (sink_) setMessageSink(nullptr);
}

bool CBrevixApp::initInstance(const QString& designFile, bool show) {
    QApplication::setApplicationName(QStringLiteral("Brevix"));
    installFontSubstitutes();
    sink_ = std::make_unique<MessageBoxSink>();
    setMessageSink(sink_.get());

    doc_ = std::make_unique<CGemDoc>();
    frame_ = std::make_unique<CMainFrame>(*doc_);
    sink_->setParent(frame_.get());

    // A design that cannot be opened has been reported by the document;
    // the program then starts on a new design rather than not at all.
    // The path goes to the file system as the system spelled it, made whole
    // so that the title and the recent-file list name the file wherever the
    // program is started next time.
    bool opened = false;
    // A folder opens as a gallery beside a new design.
    const bool folder = !designFile.isEmpty() && QFileInfo(designFile).isDir();
    if (!designFile.isEmpty() && !folder) {
        const QString full = QDir::toNativeSeparators(QFileInfo(designFile).absoluteFilePath());
        opened = doc_->files().openDocumentFile(QFile::encodeName(full).toStdString());
    }
    if (!opened) {
        doc_->files().OnFileNew();
        // Nothing was replaced at start-up, so there is nothing to ask about
        // on leaving a design the user never touched.
        doc_->model().setModifiedFlag(false);
    }
    frame_->updateAllViews();

    if (show) {
        frame_->showAsPlaced();
        frame_->activateWindow();
    }
    if (folder && show) openGallery(*frame_, QFileInfo(designFile).absoluteFilePath());
    return true;
}

bool CBrevixApp::printDesign(const QString& designFile) {
    initInstance(designFile, false);
    // A file that could not be opened has been reported; there is nothing to print.
    if (doc_->files().registeredPath.empty()) return false;
    auto* printing = frame_->findChild<DiagramPrinting*>(QStringLiteral("diagramPrinting"));
    return printing && printing->printDirect(frame_.get());
}

}  // namespace brevix
