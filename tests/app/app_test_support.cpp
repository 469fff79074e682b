#include "app_test_support.h"

#include <QApplication>
#include <QTest>

#include "design/sample_designs.h"
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

}  // namespace brevix::test
