#include "app_test_support.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>

#include "app/panes/figures_pane_settings.h"
#include "design/sample_designs.h"
#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "platform/registry.h"

namespace brevix::test {

TemporaryRegistry::TemporaryRegistry() { setRegistryFolder(dir_.path().toStdString()); }

TemporaryRegistry::~TemporaryRegistry() { setRegistryFolder(""); }

Session::Session() {
    doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
    frame = std::make_unique<CMainFrame>(doc);
    frame->showAsPlaced();
    frame->updateAllViews();
    (void)QTest::qWaitForWindowExposed(frame.get());
}

Session::~Session() { frame.reset(); }

void Session::close() {
    frame->close();
    frame.reset();
}

void guideImage(QWidget* widget, const char* name) {
    const QByteArray folder = qgetenv("BREVIX_GUIDE_IMAGES");
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name)));
}

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

bool withoutDesignFigures() {
    FiguresPaneSettings hidden;
    hidden.visible = false;
    return saveFiguresPaneSettings(hidden);
}

void openBrilliant(CGemDoc& doc, double lower) {
    DesignWithIntent b = cutRoundBrilliantByIntent();
    if (lower != 0) {
        TierChange change;
        change.tier = 6;
        change.setCed = true;
        change.ced = b.intent.tiers[6].ced - lower;
        RecutResult cut = recutByIntent(b.stone, b.intent, change);
        b = {std::move(cut.stone), std::move(cut.intent)};
        // As a command would: the design before it in the undo stack.
        if (doc.stone()) {
            doc.model().apply({.name = "Lower", .change = [&](DesignModel::Draft& d) {
                                   d.replace(std::move(b.stone));
                                   d.intent() = std::move(b.intent);
                                   return true;
                               }});
            return;
        }
    }
    doc.model().put(std::make_unique<Stone>(std::move(b.stone)), std::move(b.intent));
    doc.pendingChanged();
}

}  // namespace brevix::test
