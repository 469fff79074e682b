// The main window's status bar: the message pane and the panes of the design summary. The commands
// and the rest of CMainFrame are in main_frame.cpp.
#include "app/main_frame.h"

#include <QLabel>
#include <QStatusBar>

#include "app/message_box_sink.h"
#include "document/gem_doc.h"
#include "document/status_texts.h"

namespace brevix {

namespace {

// Pane widths follow these texts, as wide as the longest text they show.
const char* const kLwPaneWidthText = "L/W=1.203  ";
const char* const kRiPaneWidthText = "RI=2.650 ";
const char* const kFacetPaneWidthText = " No facets                ";

QLabel* statusPane(QWidget* parent, const char* widthText) {
    auto* label = new QLabel(parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(widthText)));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

}  // namespace

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    messagePane_ = new QLabel(QStringLiteral("Ready"), bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(messagePane_, 1);
    cutAwayPane_ = new QLabel(bar);
    cutAwayPane_->setObjectName(QStringLiteral("cutAwayPane"));
    cutAwayPane_->setStyleSheet(QStringLiteral("color: #a04000; font-weight: bold"));
    bar->addWidget(cutAwayPane_);
    cutAwayPane_->hide();
    lwPane_ = statusPane(bar, kLwPaneWidthText);
    lwPane_->setObjectName(QStringLiteral("lwPane"));
    riPane_ = statusPane(bar, kRiPaneWidthText);
    riPane_->setObjectName(QStringLiteral("riPane"));
    facetPane_ = statusPane(bar, kFacetPaneWidthText);
    facetPane_->setObjectName(QStringLiteral("facetPane"));
    bar->addPermanentWidget(lwPane_);
    bar->addPermanentWidget(riPane_);
    bar->addPermanentWidget(facetPane_);
    statusBarReady_ = true;
}

void CMainFrame::setMessageText(const QString& text) {
    if (!statusBarReady_) return;
    messagePane_->setText(text);
}

QString CMainFrame::messageText() const { return messagePane_ ? messagePane_->text() : QString(); }

QString CMainFrame::cutAwayStatusText() const { return cutAwayPane_ ? cutAwayPane_->text() : QString(); }

QString CMainFrame::statusPaneText(int pane) const {
    switch (pane) {
    case 0: return messagePane_->text();
    case 1: return lwPane_->text();
    case 2: return riPane_->text();
    case 3: return facetPane_->text();
    default: return {};
    }
}

void CMainFrame::updateStatusPanes() {
    if (!statusBarReady_) return;
    // A pane shows one line; the line feed some texts end with is not part of it.
    const auto oneLine = [](const std::string& text) {
        QString line = fromCore(text);
        while (line.endsWith(QLatin1Char('\n'))) line.chop(1);
        return line;
    };
    facetPane_->setText(oneLine(facetCountText(doc_)));
    lwPane_->setText(oneLine(lengthWidthText(doc_)));
    riPane_->setText(oneLine(refractiveIndexText(doc_)));
}

}  // namespace brevix
