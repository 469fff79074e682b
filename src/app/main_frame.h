#pragma once
// The main window: menu, toolbar, status bar and the four panes in three
// nested splitters, from top left the spin view above the Cut Facet form,
// the four views to their right and the cut list across the bottom.
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_settings.h"
#include "app/message_box_sink.h"

class QAction;
class QDockWidget;
class QActionGroup;
class QLabel;
class QSplitter;
class QToolBar;
class QMenu;

namespace brevix {

class CGemDoc;
class DesignSignals;
class CFourView;
class CSpinView;
class CAddDlg;
class CCutLstView;
class CutAwayStrip;
class QtDocumentUi;
class WaitCursorIndicator;
class BusyIndicator;

// The main window: a table of commands over the panes.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CGemDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CGemDoc& document() { return doc_; }
    QAction* action(int commandId) const;
    QMenu* zoomMenu() const { return zoomMenu_; }

    CFourView* fourView() const { return fourView_; }
    CSpinView* spinView() const { return spinView_; }
    CAddDlg* addDlg() const { return addDlg_; }
    CCutLstView* cutList() const { return cutList_; }
    QSplitter* splitterA() const { return splitterA_; }
    QSplitter* splitterB() const { return splitterB_; }
    QSplitter* splitterC() const { return splitterC_; }
    // The strip above the views that tells of a tier cut away entirely.
    CutAwayStrip* cutAwayStrip() const { return cutAwayStrip_; }

    // The message pane; does nothing until the status bar exists.
    void setMessageText(const QString& text);
    QString messageText() const;
    // The status bar's word on tiers cut away entirely ("" when none is).
    QString cutAwayStatusText() const;
    // L/W, RI and facet-count panes from the document's summary.
    void updateStatusPanes();
    QString statusPaneText(int pane) const;  // 0 message, 1 L/W, 2 RI, 3 facets

    // Redraws every pane after the design changed.
    void updateAllViews(const void* sender = nullptr);

    // Placement and pane sizes as they are now / applying stored ones.
    FrameSettings currentSettings() const;
    void applySettings(const FrameSettings& settings);
    bool startMaximised() const { return settings_.startMaximised; }
    // Shows the window where the settings place it, maximised when it was
    // closed maximised.
    void showAsPlaced();

    // The user's guide: below the start folder, or where an installation put it.
    const QString& helpPath() const { return helpPath_; }

    // Zoom Out or one of the four views (command ids 32792 to 32796).
    void zoom(int commandId);
    // The window's zoom flag: 0 while all four views show, 1 while one is
    // enlarged. Each window has its own, held by its four view.
    int zoomFlag() const;

public Q_SLOTS:
    void onHelpContents();
    void onAbout();
    void onEditCopy();
    void nextPane(int step);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The Undo and Redo items name the change they would act on.
    void showUndoNames();
    DesignSignals* designSignals_ = nullptr;  // child of the frame
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createPanes();
    // The Design Figures pane's preview over the views, its warnings in the
    // cut list, the cut list's tier as the pane's.
    void connectDesignFigures(QDockWidget* dock);
    // The strip's button: a new angle for the tier cut away.
    void changeCutAwayTier(const std::string& tier);
    // Stone > Meet Tolerance.
    void meetToleranceCommand();
    void loadSettings();
    // Window managers add their frame only once the window is on screen,
    // and the placement is the outer rectangle.
    void fitPlacementAfterShow();
    // Once the frame is known, gives the window the outer rectangle it was
    // placed at; keeps the normal rectangle up to date afterwards.
    void settlePlacement();
    void applyPaneSizes();
    // The panes' sizes when the window is made, kept when the registry cannot be read.
    void useCreationPaneSizes();
    void documentPathChanged(const std::string& path, bool addToRecent);
    void rebuildRecentFileMenu();
    void openRecentFile(const std::string& path);
    // Gives the command its handler and enables it; commands without one stay disabled.
    template <typename F>
    void handle(int commandId, F&& slot);
    QWidget* activePane() const;

    CGemDoc& doc_;
    ProgramSink docSink_;
    std::map<int, QAction*> actions_;
    QActionGroup* zoomGroup_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    bool statusBarReady_ = false;
    QLabel* messagePane_ = nullptr;
    // Which tiers are cut away, beside the message pane: the pointer's
    // coordinates write over the message pane at every move.
    QLabel* cutAwayPane_ = nullptr;
    QLabel* lwPane_ = nullptr;
    QLabel* riPane_ = nullptr;
    QLabel* facetPane_ = nullptr;
    QSplitter* splitterA_ = nullptr;
    QSplitter* splitterB_ = nullptr;
    QSplitter* splitterC_ = nullptr;
    CFourView* fourView_ = nullptr;
    CSpinView* spinView_ = nullptr;
    CAddDlg* addDlg_ = nullptr;
    CCutLstView* cutList_ = nullptr;
    CutAwayStrip* cutAwayStrip_ = nullptr;
    QToolBar* cutAwayBar_ = nullptr;  // holds the strip, shown only with it
    QAction* cutAwayStripAction_ = nullptr;
    QPointer<QWidget> lastActivePane_;
    FrameSettings settings_;
    QMenu* recentMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    std::vector<QAction*> recentActions_;
    bool placementApplied_ = true;  // false: the window keeps its creation sizes
    bool placementPending_ = false;  // placed before its frame was known
    bool paneSizesPending_ = false;  // pane sizes wait for the window's final size
    QRect normalOuter_;              // outer rectangle in the normal state, frame included
    QString helpPath_;
    // File dialogs and the save question of the document's file commands.
    std::unique_ptr<QtDocumentUi> documentUi_;
    // The wait cursor of the core's long commands, while this window lives.
    std::unique_ptr<WaitCursorIndicator> waitCursor_;
};

}  // namespace brevix
