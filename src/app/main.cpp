#include <QApplication>
#include <QFont>

#include "app/brevix_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The views name the fonts of the platform they were drawn for; the
    // metric twins installed here stand in for them.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    const QStringList arguments = QApplication::arguments();
    brevix::CBrevixApp app;
    if (!app.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) return 1;
    return QApplication::exec();
}
