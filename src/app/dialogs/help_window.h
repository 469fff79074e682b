#pragma once
// The user's guide in a window of the program's own, for desktops that have
// nothing to open an HTML file with: the guide's pages with their pictures,
// links that can be followed, Back, Forward and Home.
#include <QMainWindow>
#include <QUrl>
#include <functional>

class QAction;
class QTextBrowser;

namespace brevix {

class HelpWindow : public QMainWindow {
public:
    HelpWindow(const QString& guidePath, QWidget* parent);

    QTextBrowser* browser() const { return browser_; }
    QAction* backAction() const { return back_; }
    QAction* forwardAction() const { return forward_; }
    QAction* homeAction() const { return home_; }

private:
    QTextBrowser* browser_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* home_ = nullptr;
};

// Help > Contents: the guide in the desktop's own viewer, or in the help
// window (one per parent, brought to the front when open already) when the
// desktop cannot open it. A guide that is not there is reported with
// "Cannot open help file:\n%s"; false then.
bool showUsersGuide(const QString& guidePath, QWidget* parent);

// How the desktop is asked to open the guide (QDesktopServices::openUrl);
// tests put a desktop without a browser in its place.
extern std::function<bool(const QUrl&)> openWithDesktop;

}  // namespace brevix
