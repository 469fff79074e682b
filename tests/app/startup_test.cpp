// Start-up: the design named on the command line, or a new one.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app_test_support.h"
#include "document/recent_files.h"

using namespace brevix;
using namespace brevix::test;

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void relativeNameOpensTheFileByItsFullPath() {
        TemporaryRegistry registry;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(BREVIX_SOURCE_DIR));
        CBrevixApp app;
        QVERIFY(app.initInstance(QStringLiteral("samples/round_brilliant.asc"), false));
        QDir::setCurrent(previous);

        const std::string full = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";
        QCOMPARE(app.document().files().registeredPath, full);
        QCOMPARE(app.document().facetCount, 73);
        QVERIFY(!app.document().model().isModified());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("round_brilliant.asc[*] - Brevix"));
        RecentFileList recent;
        recent.load();
        QCOMPARE(recent.entries(), std::vector<std::string>{full});
    }

    void withoutAFileANewUntouchedDesign() {
        TemporaryRegistry registry;
        CBrevixApp app;
        QVERIFY(app.initInstance(QString(), false));
        QVERIFY(app.document().stone());
        QCOMPARE(app.document().facetCount, 0);
        QVERIFY(!app.document().model().isModified());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Untitled[*] - Brevix"));
        QCOMPARE(app.mainFrame()->statusPaneText(3), QStringLiteral("No Facets"));
    }

    void aFileThatCannotBeOpenedGivesANewDesign() {
        TemporaryRegistry registry;
        CBrevixApp app;
        // A kind of file Brevix does not read is refused without a message.
        QVERIFY(app.initInstance(QStringLiteral("/no/such/folder/design.xyz"), false));
        QCOMPARE(app.document().facetCount, 0);
        QVERIFY(app.document().files().registeredPath.empty());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Untitled[*] - Brevix"));
    }

    void recentFilesAreOnTheFileMenuAndLeaveItWhenGone() {
        TemporaryRegistry registry;
        QTemporaryDir folder;
        const QString copy = folder.path() + QStringLiteral("/copy.asc");
        QVERIFY(QFile::copy(QStringLiteral(BREVIX_SOURCE_DIR "/samples/round_brilliant.asc"), copy));
        const std::string second = std::string(BREVIX_SOURCE_DIR) + "/samples/emerald_cut.asc";

        CBrevixApp app;
        QVERIFY(app.initInstance(copy, false));
        QVERIFY(app.document().files().openDocumentFile(second));
        const auto recentItems = [&app] {
            QList<QAction*> items;
            for (QAction* a : app.mainFrame()->menuBar()->actions().first()->menu()->actions())
                if (a->data().toInt() >= ID_FILE_MRU_FIRST && a->data().toInt() <= ID_FILE_MRU_LAST)
                    items << a;
            return items;
        };
        QList<QAction*> items = recentItems();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QStringLiteral("&1 ") + QString::fromStdString(second));
        QCOMPARE(items[1]->text(), QStringLiteral("&2 ") + copy);
        QCOMPARE(items[1]->statusTip(), QStringLiteral("Open this document"));

        // The file is gone: the user is told, and the entry leaves the list.
        QVERIFY(QFile::remove(copy));
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        items[1]->trigger();
        QCOMPARE(sink.texts().size(), size_t(1));
        items = recentItems();
        QCOMPARE(items.size(), 1);
        RecentFileList stored;
        stored.load();
        QCOMPARE(stored.entries(), std::vector<std::string>{second});
    }
};

BREVIX_WIDGET_TEST(StartupTest)
#include "startup_test.moc"
