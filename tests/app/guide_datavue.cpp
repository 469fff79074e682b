// The guide's pictures of the Datavue search, on the small database the
// tests write (the real database is the user's own and never shipped).
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "../support/datavue_database.h"
#include "app/dialogs/search_datavue_dialog.h"
#include "files/datavue_search.h"

namespace brevix {

void saveDatavueScreenshots(const QString& outputFolder, QWidget* parent) {
    QTemporaryDir database;
    testdb::writeSampleDatabase(database.path().toStdString());
    storeDatabasePath(database.path().toStdString() + "/dlist.dbf");

    SearchDatavueDialog dialog(parent);
    if (!dialog.prepare()) {
        std::fprintf(stderr, "the sample database could not be read\n");
        return;
    }
    dialog.resize(720, 430);
    dialog.show();
    dialog.activateWindow();
    (void)QTest::qWaitForWindowExposed(&dialog);
    auto save = [&](const char* name) {
        QTest::qWait(100);
        const QString path = outputFolder + QLatin1Char('/') + QLatin1String(name);
        if (!dialog.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    };

    QTest::keyClicks(static_cast<QLineEdit*>(dialog.editField(DV_NAME)), QStringLiteral("emerald"));
    dialog.findNextButton()->click();
    save("datavue_search.png");

    dialog.shapeBox()->setCurrentIndex(5);
    Q_EMIT dialog.shapeBox()->activated(5);
    save("datavue_picture.png");
    dialog.reject();
}

}  // namespace brevix
