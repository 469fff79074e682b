// The main window's recent-file menu and the title that follows the document's name. The commands
// and the rest of CMainFrame are in main_frame.cpp.
#include "app/main_frame.h"

#include <QAction>
#include <QMenu>

#include "app/command_table.h"
#include "app/message_box_sink.h"
#include "document/gem_doc.h"

namespace brevix {

void CMainFrame::rebuildRecentFileMenu() {
    QMenu* menu = recentMenu_;
    if (!menu) return;
    for (QAction* a : recentActions_) {
        menu->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const std::vector<std::string>& entries = doc_.files().recentFiles().entries();
    recentPlaceholder_->setVisible(entries.empty());
    for (size_t i = 0; i < entries.size(); ++i) {
        const int id = ID_FILE_MRU_FIRST + static_cast<int>(i);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(fromPath(entries[i])), menu);
        a->setData(id);
        a->setStatusTip(QStringLiteral("Open this document"));
        const std::string path = entries[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecentFile(path); });
        menu->insertAction(recentPlaceholder_, a);
        recentActions_.push_back(a);
    }
}

void CMainFrame::openRecentFile(const std::string& path) {
    if (doc_.files().openRecentFile(path)) rebuildRecentFileMenu();
}

void CMainFrame::documentPathChanged(const std::string& path, bool addToRecent) {
    // "[*]" is where the window shows its mark for unsaved changes.
    setWindowTitle(fromPath(doc_.files().title()) + QStringLiteral("[*] - Brevix"));
    setWindowModified(doc_.model().isModified());
    // The dialogs' side has stored the path in the list already.
    if (addToRecent && !path.empty()) {
        doc_.files().recentFiles().load();
        rebuildRecentFileMenu();
    }
}

}  // namespace brevix
