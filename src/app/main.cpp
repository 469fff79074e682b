#include <QApplication>

#include "app/brevix_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    brevix::CBrevixApp app;
    if (!app.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) return 1;
    return QApplication::exec();
}
