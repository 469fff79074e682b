// Start-up: the design named on the command line, or a new one.
#include <QDir>
#include <QTest>

#include "app/brevix_app.h"
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
        QCOMPARE(app.document().registeredPath, full);
        QCOMPARE(app.document().facetCount, 73);
        QVERIFY(!app.document().isModified());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("round_brilliant.asc - Brevix"));
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
        QVERIFY(!app.document().isModified());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Untitled - Brevix"));
        QCOMPARE(app.mainFrame()->statusPaneText(3), QStringLiteral("No Facets"));
    }

    void aFileThatCannotBeOpenedGivesANewDesign() {
        TemporaryRegistry registry;
        CBrevixApp app;
        // A kind of file Brevix does not read is refused without a message.
        QVERIFY(app.initInstance(QStringLiteral("/no/such/folder/design.xyz"), false));
        QCOMPARE(app.document().facetCount, 0);
        QVERIFY(app.document().registeredPath.empty());
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Untitled - Brevix"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
