#include <QApplication>

#include <clocale>

#include "app/brevix_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt has switched the C library to the user's locale; every number the
    // program writes into files and texts has a fixed format with a point.
    std::setlocale(LC_NUMERIC, "C");
    const QStringList arguments = QApplication::arguments();
    brevix::CBrevixApp app;
    // The desktop's "print" of a design file: the diagram on the default
    // printer, without a window or a dialog.
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--print"))
        return app.printDesign(arguments.at(2)) ? 0 : 1;
    if (!app.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) return 1;
    return QApplication::exec();
}
