#include "app/brevix_app.h"

#include <QApplication>

#include "app/main_frame.h"
#include "app/message_box_sink.h"
#include "design/sample_designs.h"
#include "document/gem_doc.h"

namespace brevix {

CBrevixApp::CBrevixApp() = default;

CBrevixApp::~CBrevixApp() {
    frame_.reset();
    if (sink_) setMessageSink(nullptr);
}

bool CBrevixApp::initInstance(const QString& designFile, bool show) {
    QApplication::setApplicationName(QStringLiteral("Brevix"));
    sink_ = std::make_unique<MessageBoxSink>();
    setMessageSink(sink_.get());

    doc_ = std::make_unique<CGemDoc>();
    frame_ = std::make_unique<CMainFrame>(*doc_);
    sink_->setParent(frame_.get());

    (void)designFile;
    doc_->setStone(std::make_unique<Stone>(makeRoundBrilliant()));
    doc_->refreshSummaryValues();
    frame_->updateAllViews();

    if (show) {
        if (frame_->startMaximised()) {
            frame_->showMaximized();
        } else {
            frame_->show();
            frame_->fitPlacementAfterShow();
        }
        frame_->activateWindow();
    }
    return true;
}

}  // namespace brevix
