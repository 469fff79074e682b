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

// How long a test waits for background work (a picture, an analysis).
constexpr int WAIT_MS = 60000;

// The guide's pictures, when BREVIX_GUIDE_IMAGES names a folder.
void guideImage(QWidget* widget, const char* name);
// The text of a PDF file as pdftotext reads it, white space simplified.
QString pdfText(const QString& pdf);
// The next window starts without the Design Figures pane (false: the
// setting could not be written).
bool withoutDesignFigures();
// The round brilliant cut through its meets, with its intent; with the
// upper halves `lower` deeper (a change of its own when there is a design).
void openBrilliant(CGemDoc& doc, double lower = 0);

}  // namespace brevix::test
