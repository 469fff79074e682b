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
    if (!app.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) return 1;
    return QApplication::exec();
}
