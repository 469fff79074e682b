#pragma once
// What every widget test needs: a private registry, a recording message
// sink, a document with a design, and a main window built the way the
// program builds it.
#include <QTemporaryDir>
#include <memory>

#include "app/main_frame.h"
#include "document/gem_doc.h"
#include "platform/messages.h"

namespace brevix::test {

// Points the registry layer at a fresh temporary folder for its lifetime.
class TemporaryRegistry {
public:
    TemporaryRegistry();
    ~TemporaryRegistry();
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A document holding the round brilliant and a shown main window on it.
struct Session {
    CGemDoc doc;
    std::unique_ptr<CMainFrame> frame;

    Session();
    ~Session();
    void close();  // closes the window as the user would (settings are written)
};

}  // namespace brevix::test
