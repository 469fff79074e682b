#pragma once
// The program object: start-up with an optional design file, the one
// document and its main window.
#include <QString>
#include <memory>

namespace brevix {

class CGemDoc;
class CMainFrame;
class MessageBoxSink;

// The views name the fonts of the platform they were first drawn for; the
// metric twins installed here stand in for them.
void installFontSubstitutes();

class CBrevixApp {
public:
    CBrevixApp();
    ~CBrevixApp();
    CBrevixApp(const CBrevixApp&) = delete;
    CBrevixApp& operator=(const CBrevixApp&) = delete;

    // Creates the document and the window, opens `designFile` when it is
    // not empty (else starts a new design) and shows the window.
    bool initInstance(const QString& designFile, bool show = true);

    // Opens `designFile` without showing a window and prints its diagram
    // without a dialog; false when the file could not be opened or printed.
    bool printDesign(const QString& designFile);

    CGemDoc& document() { return *doc_; }
    CMainFrame* mainFrame() { return frame_.get(); }

private:
    std::unique_ptr<MessageBoxSink> sink_;
    std::unique_ptr<CGemDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace brevix
