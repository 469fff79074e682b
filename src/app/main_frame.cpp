// The main window as a table of commands: each menu command gets its
// handler here, and the work of each lives with its dialog or in the
// document. Placement, panes, status bar and recent files have files of
// their own (main_frame_*.cpp).
#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/design_signals.h"
#include "app/dialogs/about_dialog.h"
#include "app/dialogs/add_dlg.h"
#include "app/dialogs/angle_index_dlg.h"
#include "app/dialogs/center_dlg.h"
#include "app/dialogs/heading_dlg.h"
#include "app/dialogs/optimise_dlg.h"
#include "app/dialogs/reflect_dlg.h"
#include "app/dialogs/rename_dlg.h"
#include "app/dialogs/replay_dlg.h"
#include "app/dialogs/rotate_dlg.h"
#include "app/dialogs/scale_dlg.h"
#include "app/dialogs/sort_dlg.h"
#include "app/assistant/cutting_assistant.h"
#include "app/command_table.h"
#include "app/panes/cut_list_view.h"
#include "app/print/diagram_print.h"
#include "app/dialogs/file_dialogs.h"
#include "app/dialogs/raytrace_properties_dlg.h"
#include "app/dialogs/index_gear_dlg.h"
#include "app/dialogs/pick_dialog_flow.h"
#include "app/dialogs/search_datavue_dialog.h"
#include "app/gallery/gallery_open.h"
#include "app/help_file.h"
#include "app/dialogs/help_window.h"
#include "app/panes/figures_pane.h"
#include "app/rough/fit_rough_command.h"
#include "document/meet_tolerance_setting.h"
#include "app/panes/four_view.h"
#include "app/panes/light_performance_pane.h"
#include "app/message_box_sink.h"
#include "app/panes/spin_view.h"
#include "app/size_weight_command.h"
#include "app/toolbar_icons.h"
#include "app/wait_cursor.h"
#include "document/datavue_open.h"
#include "app/window_accelerators.h"
#include "document/cut_commands.h"
#include "document/gem_doc.h"
#include "document/preform_commands.h"
#include "document/raytrace_commands.h"
#include "document/stone_commands.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// Four-view pane for each Zoom command; Zoom Out shows all four (pane 0).
int zoomPaneOf(int commandId) {
    switch (commandId) {
    case ID_ZOOM_SIDE: return 1;
    case ID_ZOOM_BOTTOM: return 2;
    case ID_ZOOM_END: return 3;
    default: return 0;
    }
}

}  // namespace

CMainFrame::CMainFrame(CGemDoc& doc, QWidget* parent) : QMainWindow(parent), doc_(doc) {
    waitCursor_ = std::make_unique<WaitCursorIndicator>();
    doc_.busyIndicator = waitCursor_.get();
    doc_.setSink(&docSink_);
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Untitled[*] - Brevix"));
    helpPath_ = findHelpFile(QDir::currentPath(), QCoreApplication::applicationDirPath());
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createPanes();
    loadSettings();
    designSignals_ = new DesignSignals(doc_, this);
    connect(designSignals_, &DesignSignals::designChanged, this,
            [this](const void* sender) { updateAllViews(sender); });
    QDockWidget* light = createLightPerformanceDock(*this, doc_, *designSignals_, action(ID_VIEW_LIGHT_PERFORMANCE));
    QDockWidget* figures = createDesignFiguresDock(*this, doc_, *designSignals_, action(ID_VIEW_DESIGN_FIGURES));
    // Stacked on one side, each pane would get half the height and scroll
    // its warnings and tier controls out of sight: they share it as tabs.
    if (dockWidgetArea(light) == dockWidgetArea(figures) && !light->isFloating() && !figures->isFloating())
        tabifyDockWidget(figures, light);
    connectDesignFigures(figures);
    documentUi_ = std::make_unique<QtDocumentUi>(this);
    documentUi_->onPathChanged = [this](const std::string& path, bool addToRecent) {
        documentPathChanged(path, addToRecent);
    };
    documentUi_->onModifiedChanged = [this](bool modified) { setWindowModified(modified); };
    doc_.files().recentFiles().load();
    rebuildRecentFileMenu();
    doc_.files().ui = documentUi_.get();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (w == fourView_ || w == spinView_ || w == addDlg_ || w == cutList_) {
                lastActivePane_ = w;
                break;
            }
        }
    });
    updateStatusPanes();
    showUndoNames();
}

CMainFrame::~CMainFrame() {
    if (doc_.busyIndicator == waitCursor_.get()) doc_.busyIndicator = nullptr;
    // The signals go before the panes do: no change reaches a pane being destroyed.
    delete designSignals_;
    if (doc_.files().ui == documentUi_.get()) doc_.files().ui = nullptr;
    if (&doc_.sink() == &docSink_) doc_.setSink(nullptr);
}

QAction* CMainFrame::action(int commandId) const {
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

template <typename F>
void CMainFrame::handle(int commandId, F&& slot) {
    QAction* a = action(commandId);
    if (!a) return;
    connect(a, &QAction::triggered, this, std::forward<F>(slot));
    a->setEnabled(true);
}

void CMainFrame::createActions() {
    for (const CommandInfo& info : commandTable()) {
        auto* a = new QAction(this);
        if (info.menuText) a->setText(QString::fromLatin1(info.menuText));
        a->setStatusTip(QString::fromLatin1(info.prompt));
        a->setToolTip(info.tooltip ? QString::fromLatin1(info.tooltip) : a->text().remove('&'));
        QList<QKeySequence> keys;
        for (const char* key : info.keys)
            if (key) keys << QKeySequence(QString::fromLatin1(key), QKeySequence::PortableText);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setData(info.id);
        // Nothing works until it has a handler: a command without one is seen, greyed.
        a->setEnabled(false);
        actions_[info.id] = a;
        addAction(a);
    }

    zoomGroup_ = new QActionGroup(this);
    zoomGroup_->setExclusive(true);
    for (int id : zoomCommands()) {
        QAction* a = action(id);
        a->setCheckable(true);
        zoomGroup_->addAction(a);
        handle(id, [this, id] { zoom(id); });
    }
    action(ID_ZOOM_OUT)->setChecked(true);

    action(ID_VIEW_TOOLBAR)->setCheckable(true);
    action(ID_VIEW_TOOLBAR)->setChecked(true);
    action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    action(ID_VIEW_STATUS_BAR)->setChecked(true);
    action(ID_VIEW_HIDDEN_LINES)->setCheckable(true);

    handle(ID_APP_EXIT, [this] { close(); });
    handle(ID_APP_ABOUT, [this] { onAbout(); });
    handle(ID_HELP_CONTENTS, [this] { onHelpContents(); });
    handle(ID_EDIT_COPY, [this] { onEditCopy(); });
    handle(ID_NEXT_PANE, [this] { nextPane(1); });
    handle(ID_PREV_PANE, [this] { nextPane(-1); });
    handle(ID_VIEW_TOOLBAR, [this](bool on) { toolBar_->setVisible(on); });
    handle(ID_VIEW_STATUS_BAR, [this](bool on) { statusBar()->setVisible(on); });
    handle(ID_EDIT_UNDO, [this] { doc_.undo(); });
    handle(ID_EDIT_REDO, [this] { doc_.redo(); });
    new WindowAccelerators(this, action(ID_EDIT_UNDO)->shortcuts() + action(ID_EDIT_REDO)->shortcuts());

    // The printed diagram: the same page whichever pane is active.
    auto* printing = new DiagramPrinting(doc_, this);
    printing->setObjectName(QStringLiteral("diagramPrinting"));
    handle(ID_FILE_PRINT, [this, printing] { printing->print(this); });
    handle(ID_FILE_PRINT_PREVIEW, [this, printing] { printing->preview(this); });
    handle(ID_FILE_PRINT_SETUP, [this, printing] { printing->setup(this); });
    handle(ID_FILE_PRINT_DIRECT, [this, printing] { printing->printDirect(this); });
    handle(ID_VIEW_CUTTING_ASSISTANT, [this, printing] { openCuttingAssistant(this, doc_, *designSignals_, printing); });

    // Designing commands and the file side of the document.
    handle(ID_FILE_NEW, [this] { doc_.files().OnFileNew(); });
    handle(ID_FILE_OPEN, [this] { doc_.files().OnFileOpen(); });
    handle(ID_FILE_OPEN_FOLDER, [this] { chooseGalleryFolder(*this); });
    handle(ID_FILE_SAVE, [this] { doc_.files().OnFileSave(); });
    handle(ID_FILE_SAVE_AS, [this] { doc_.files().OnFileSaveAs(); });
    handle(ID_FILE_EXPORT, [this] {
        loadMeshSize(doc_);  // the meshes come out at the size of Size and Weight
        doc_.files().OnFileExport();
    });
    handle(ID_FILE_FIT_ROUGH, [this] { fitIntoRoughCommand(doc_, this); });
    handle(ID_FILE_SEARCH_DATAVUE, [this] { OnSearchDatavue(doc_, [this] { return SearchDatavueDialog::run(this); }); });
    handle(ID_EDIT_ANGLE, [this] {
        if (auto a = askAngleOrIndex(QStringLiteral("Angle"), this)) angleCommand(doc_, *a);
    });
    handle(ID_EDIT_INDEX, [this] {
        if (auto i = askAngleOrIndex(QStringLiteral("Index"), this)) indexCommand(doc_, *i);
    });
    handle(ID_EDIT_INDEX_GEAR, [this] { runIndexGearDialog(this, doc_); });
    handle(ID_EDIT_TRANSFER, [this] { transferCommand(doc_); });
    handle(ID_STONE_REGENERATE, [this] { regenerateCommand(doc_); });
    handle(ID_EDIT_SORT, [this] { runSortCommand(this, doc_); });
    handle(ID_EDIT_RENAME, [this] { runRenameCommand(this, doc_); });
    handle(ID_EDIT_HEADING, [this] {
        runHeadingCommand(this, doc_, [this] { action(ID_FILE_PRINT_PREVIEW)->trigger(); });
    });
    handle(ID_STONE_ROTATE, [this] { runRotateCommand(this, doc_); });
    handle(ID_STONE_SCALE, [this] { runScaleCommand(this, doc_); });
    handle(ID_STONE_CENTER, [this] { runCenterCommand(this, doc_); });
    handle(ID_STONE_REFLECT, [this] { runReflectCommand(this, doc_); });
    handle(ID_VIEW_REPLAY, [this] { runReplayCommand(this, doc_); });
    handle(ID_STONE_SIZE_WEIGHT, [this] { sizeAndWeightCommand(doc_, this); });
    handle(ID_STONE_OPTIMISE, [this] { runOptimiseCommand(this, doc_, OptimiseDlg::Mode::Optimise); });
    handle(ID_STONE_RETARGET, [this] { runOptimiseCommand(this, doc_, OptimiseDlg::Mode::Retarget); });
    handle(ID_STONE_MEET_TOLERANCE, [this] { meetToleranceCommand(); });
    handle(ID_PREFORM_DELETE, [this] { deletePreformCommand(doc_); });
    handle(ID_PREFORM_CAM, [this] { camPreformCommand(doc_); });
    handle(ID_PREFORM_COPY, [this] { copyToPreformCommand(doc_); });
    action(ID_PREFORM_EDIT)->setCheckable(true);
    handle(ID_PREFORM_EDIT, [this] {
        editPreformCommand(doc_);
        action(ID_PREFORM_EDIT)->setChecked(editingPreform(doc_));
    });
    handle(ID_RAYS_PROPERTIES, [this] {
        raytracePropertiesCommand(doc_, [this](double r) { return askRefractiveIndex(r, this); });
    });
    handle(ID_RAYS_ERASE, [this] { eraseRaysCommand(doc_); });
    handle(ID_VIEW_HIDDEN_LINES, [this] {
        hiddenLinesCommand(doc_);
        action(ID_VIEW_HIDDEN_LINES)->setChecked(doc_.hiddenLines);
    });
}

void CMainFrame::createMenus() {
    for (const MenuInfo& menuInfo : menuTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuInfo.title));
        for (int id : menuInfo.items) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == -1) {
                recentMenu_ = menu;
                recentPlaceholder_ = menu->addAction(QStringLiteral("Recent File"));
                recentPlaceholder_->setObjectName(QStringLiteral("recentFilePlaceholder"));
                recentPlaceholder_->setStatusTip(QStringLiteral("Open this document"));
                recentPlaceholder_->setEnabled(false);
            } else if (id == -2) {
                zoomMenu_ = menu->addMenu(QStringLiteral("&Zoom"));
                for (int zoomId : zoomCommands())
                    zoomMenu_->addAction(action(zoomId));
            } else {
                menu->addAction(action(id));
            }
        }
    }
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Standard"), this);
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    for (int id : toolbarCommands()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = action(id);
        a->setIcon(toolbarIcon(id));
        toolBar_->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    // The toolbar's own menu entry follows the bar when the user closes it.
    connect(toolBar_, &QToolBar::visibilityChanged, this,
            [this](bool visible) { action(ID_VIEW_TOOLBAR)->setChecked(visible); });
}

void CMainFrame::loadSettings() {
    doc_.model().setMeetTolerance(loadMeetTolerance());
    switch (loadFrameSettings(settings_)) {
    case SettingsSource::Unavailable:
        showMessage("Could not access registry!");
        placementApplied_ = false;
        useCreationPaneSizes();
        fourView_->setFocus();
        return;
    case SettingsSource::FirstRun:
    case SettingsSource::Stored:
        break;
    }
    applySettings(settings_);
    fourView_->setFocus();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!doc_.files().SaveModified()) {
        event->ignore();
        return;
    }
    saveFrameSettings(currentSettings());
    event->accept();
}

bool CMainFrame::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
    case QEvent::ActivationChange:
    case QEvent::Show: {
        const bool handled = QMainWindow::event(event);
        settlePlacement();
        return handled;
    }
    default: break;
    }
    // A menu item's prompt goes into the message pane while it is
    // highlighted; "Ready" comes back when it is not.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        setMessageText(tip.isEmpty() ? QStringLiteral("Ready") : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::updateAllViews(const void*) {
    fourView_->update();
    spinView_->update();
    cutList_->refresh();
    addDlg_->refresh();
    updateStatusPanes();
    setWindowModified(doc_.model().isModified());
    // Check marks follow the document's modes, whichever command changed them.
    action(ID_PREFORM_EDIT)->setChecked(editingPreform(doc_));
    action(ID_VIEW_HIDDEN_LINES)->setChecked(doc_.hiddenLines);
    showUndoNames();
}

void CMainFrame::showUndoNames() {
    // The prompt and the tip name the change Undo and Redo would act on;
    // an entry that names none keeps the item's own.
    const auto name = [](QAction* a, const std::string& change, const char* verb, const char* prompt,
                         const char* tip) {
        if (!a) return;
        const QString named = QStringLiteral("%1 %2").arg(QLatin1String(verb), fromCore(change));
        a->setStatusTip(change.empty() ? QString::fromLatin1(prompt) : named);
        a->setToolTip(change.empty() ? (tip ? QString::fromLatin1(tip) : a->text().remove('&')) : named);
    };
    const CommandInfo* undo = findCommand(ID_EDIT_UNDO);
    const CommandInfo* redo = findCommand(ID_EDIT_REDO);
    if (undo) name(action(ID_EDIT_UNDO), doc_.undoStack().undoName(), "Undo", undo->prompt, undo->tooltip);
    if (redo) name(action(ID_EDIT_REDO), doc_.undoStack().redoName(), "Redo", redo->prompt, redo->tooltip);
}

void CMainFrame::zoom(int commandId) {
    const bool enlarged = commandId != ID_ZOOM_OUT;
    fourView_->setZoomed(enlarged);
    fourView_->setZoomPane(zoomPaneOf(commandId));
    fourView_->update();
    if (QAction* a = action(commandId)) a->setChecked(true);
}

int CMainFrame::zoomFlag() const { return fourView_->zoomed() ? 1 : 0; }

QWidget* CMainFrame::activePane() const {
    return lastActivePane_ ? lastActivePane_.data() : fourView_;
}

void CMainFrame::onEditCopy() {
    QWidget* pane = activePane();
    if (pane == spinView_)
        spinView_->copyToClipboard();
    else if (pane == fourView_)
        fourView_->copyToClipboard();
    else if (pane == cutList_)
        cutList_->copyToClipboard();
}

void CMainFrame::nextPane(int step) {
    QWidget* order[] = {spinView_, addDlg_, fourView_, cutList_};
    int current = 2;
    for (int i = 0; i < 4; ++i)
        if (order[i] == activePane()) current = i;
    QWidget* next = order[(current + step + 4) % 4];
    next->setFocus(Qt::TabFocusReason);
    lastActivePane_ = next;
}

void CMainFrame::onHelpContents() { showUsersGuide(helpPath_, this); }

void CMainFrame::onAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

}  // namespace brevix
