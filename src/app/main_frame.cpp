#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
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
#include "app/dialogs/reflect_dlg.h"
#include "app/dialogs/rename_dlg.h"
#include "app/dialogs/replay_dlg.h"
#include "app/dialogs/rotate_dlg.h"
#include "app/dialogs/scale_dlg.h"
#include "app/dialogs/sort_dlg.h"
#include "app/command_table.h"
#include "app/panes/cut_list_view.h"
#include "app/print/diagram_print.h"
#include "app/dialogs/file_dialogs.h"
#include "app/dialogs/raytrace_properties_dlg.h"
#include "app/dialogs/index_gear_dlg.h"
#include "app/dialogs/pick_dialog_flow.h"
#include "app/dialogs/search_datavue_dialog.h"
#include "app/help_file.h"
#include "app/dialogs/help_window.h"
#include "app/panes/four_view.h"
#include "app/panes/light_performance_pane.h"
#include "app/message_box_sink.h"
#include "app/panes/spin_view.h"
#include "app/size_weight_command.h"
#include "app/toolbar_icons.h"
#include "app/wait_cursor.h"
#include "document/datavue_open.h"
#include "app/window_accelerators.h"
#include "document/gem_doc.h"
#include "document/raytrace_commands.h"
#include "document/stone_commands.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

int CMainFrame::zoomFlag = 0;

namespace {

// Pane widths follow these texts, as wide as the longest text they show.
const char* const kLwPaneWidthText = "L/W=1.203  ";
const char* const kRiPaneWidthText = "RI=2.650 ";
const char* const kFacetPaneWidthText = " No facets                ";

// Four-view pane for each Zoom command; Zoom Out shows all four (pane 0).
int zoomPaneOf(int commandId) {
    switch (commandId) {
    case ID_ZOOM_SIDE: return 1;
    case ID_ZOOM_BOTTOM: return 2;
    case ID_ZOOM_END: return 3;
    default: return 0;
    }
}

QLabel* statusPane(QWidget* parent, const char* widthText) {
    auto* label = new QLabel(parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(widthText)));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

}  // namespace

CMainFrame::CMainFrame(CGemDoc& doc, QWidget* parent) : QMainWindow(parent), doc_(doc) {
    waitCursor_ = std::make_unique<WaitCursorIndicator>();
    doc_.busyIndicator = waitCursor_.get();
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Untitled - Brevix"));
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
    createLightPerformanceDock(*this, doc_, *designSignals_, action(ID_VIEW_LIGHT_PERFORMANCE));
    documentUi_ = std::make_unique<QtDocumentUi>(this);
    documentUi_->onPathChanged = [this](const std::string& path, bool addToRecent) {
        documentPathChanged(path, addToRecent);
    };
    recentFiles_.load();
    rebuildRecentFileMenu();
    doc_.ui = documentUi_.get();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (w == fourView_ || w == spinView_ || w == addDlg_ || w == cutList_) {
                lastActivePane_ = w;
                break;
            }
        }
    });
    updateStatusPanes();
}

CMainFrame::~CMainFrame() {
    if (doc_.busyIndicator == waitCursor_.get()) doc_.busyIndicator = nullptr;
    // The panes go before the signals do; nothing may reach them meanwhile.
    delete designSignals_;
    if (doc_.ui == documentUi_.get()) doc_.ui = nullptr;
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

    // Designing commands and the file side of the document.
    handle(ID_FILE_NEW, [this] { doc_.OnFileNew(); });
    handle(ID_FILE_OPEN, [this] { doc_.OnFileOpen(); });
    handle(ID_FILE_SAVE, [this] { doc_.OnFileSave(); });
    handle(ID_FILE_SAVE_AS, [this] { doc_.OnFileSaveAs(); });
    handle(ID_FILE_EXPORT, [this] {
        loadMeshSize(doc_);  // the meshes come out at the size of Size and Weight
        doc_.OnFileExport();
    });
    handle(ID_FILE_SEARCH_DATAVUE, [this] { OnSearchDatavue(doc_, [this] { return SearchDatavueDialog::run(this); }); });
    handle(ID_EDIT_ANGLE, [this] {
        if (auto a = askAngleOrIndex(QStringLiteral("Angle"), this)) doc_.angleCommand(*a);
    });
    handle(ID_EDIT_INDEX, [this] {
        if (auto i = askAngleOrIndex(QStringLiteral("Index"), this)) doc_.indexCommand(*i);
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
    handle(ID_PREFORM_DELETE, [this] { doc_.OnPreformDelete(); });
    handle(ID_PREFORM_CAM, [this] { doc_.OnPreformCreateCam(); });
    handle(ID_PREFORM_COPY, [this] { doc_.OnCopyToPreform(); });
    action(ID_PREFORM_EDIT)->setCheckable(true);
    handle(ID_PREFORM_EDIT, [this] {
        doc_.OnPreformEdit();
        action(ID_PREFORM_EDIT)->setChecked(doc_.preformEditChecked());
    });
    handle(ID_RAYS_PROPERTIES, [this] {
        raytracePropertiesCommand(doc_, [this](double r) { return askRefractiveIndex(r, this); });
    });
    handle(ID_RAYS_ERASE, [this] { eraseRaysCommand(doc_); });
    handle(ID_VIEW_HIDDEN_LINES, [this] {
        doc_.OnHiddenLines();
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

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    messagePane_ = new QLabel(QStringLiteral("Ready"), bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(messagePane_, 1);
    lwPane_ = statusPane(bar, kLwPaneWidthText);
    lwPane_->setObjectName(QStringLiteral("lwPane"));
    riPane_ = statusPane(bar, kRiPaneWidthText);
    riPane_->setObjectName(QStringLiteral("riPane"));
    facetPane_ = statusPane(bar, kFacetPaneWidthText);
    facetPane_->setObjectName(QStringLiteral("facetPane"));
    bar->addPermanentWidget(lwPane_);
    bar->addPermanentWidget(riPane_);
    bar->addPermanentWidget(facetPane_);
    statusBarReady_ = true;
}

void CMainFrame::createPanes() {
    splitterA_ = new QSplitter(Qt::Vertical, this);
    splitterA_->setObjectName(QStringLiteral("SplitterA"));
    splitterB_ = new QSplitter(Qt::Horizontal, splitterA_);
    splitterB_->setObjectName(QStringLiteral("SplitterB"));
    splitterC_ = new QSplitter(Qt::Vertical, splitterB_);
    splitterC_->setObjectName(QStringLiteral("SplitterC"));

    spinView_ = new CSpinView(doc_, splitterC_);
    // A form scrolls when its pane is smaller than the form, so the splitter
    // may make the pane as small as the user likes (minimum size 0).
    auto* formPane = new QScrollArea(splitterC_);
    formPane->setObjectName(QStringLiteral("CutFacetPane"));
    formPane->setFrameShape(QFrame::NoFrame);
    formPane->setWidgetResizable(true);
    addDlg_ = new CAddDlg(doc_, formPane);
    formPane->setWidget(addDlg_);
    fourView_ = new CFourView(doc_, splitterB_);
    cutList_ = new CCutLstView(doc_, splitterA_);
    cutList_->setColumnWidthsFor(700);

    splitterC_->addWidget(spinView_);
    splitterC_->addWidget(formPane);
    splitterB_->addWidget(splitterC_);
    splitterB_->addWidget(fourView_);
    splitterA_->addWidget(splitterB_);
    splitterA_->addWidget(cutList_);

    // As in a static splitter, the first pane keeps its size and the last
    // one takes whatever the window gains or loses.
    for (QSplitter* s : {splitterA_, splitterB_, splitterC_}) {
        s->setStretchFactor(0, 0);
        s->setStretchFactor(1, 1);
        s->setChildrenCollapsible(true);
    }
    // The panes' creation sizes, kept when the registry cannot be read.
    splitterC_->setSizes({200, 300});
    splitterB_->setSizes({250, 500});
    splitterA_->setSizes({500, 100});
    setCentralWidget(splitterA_);

    spinView_->onStatusText = [this](const QString& text) { setMessageText(text); };
    spinView_->onCommand = [this](int id) {
        if (QAction* a = action(id); a && a->isEnabled()) a->trigger();
    };
    fourView_->onCommand = spinView_->onCommand;
    fourView_->onStatusText = spinView_->onStatusText;
    addDlg_->onBetween = [this] {
        if (runBetweenDialog(addDlg_, doc_, fourView_->zoomed()))
            zoom(fourView_->zoomed() ? ID_ZOOM_OUT : ID_ZOOM_TOP);
    };
    lastActivePane_ = fourView_;
    fourView_->setFocus();
}

void CMainFrame::loadSettings() {
    switch (loadFrameSettings(settings_)) {
    case SettingsSource::Unavailable:
        showMessage("Could not access registry!");
        placementApplied_ = false;
        fourView_->setFocus();
        return;
    case SettingsSource::FirstRun:
    case SettingsSource::Stored:
        break;
    }
    applySettings(settings_);
    fourView_->setFocus();
}

namespace {

// A window stored on a screen that is no longer there (a monitor unplugged,
// a smaller resolution) comes back at the top left of the main screen, no
// larger than that screen, so the user can always reach it.
void keepOnScreen(WindowPlacement& p) {
    QRect outer(QPoint(p.left, p.top), QSize(p.right - p.left, p.bottom - p.top));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(outer)) return;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return;
    const QRect room = primary->availableGeometry();
    outer = QRect(room.topLeft(), outer.size().boundedTo(room.size()));
    p.left = outer.left();
    p.top = outer.top();
    p.right = outer.left() + outer.width();
    p.bottom = outer.top() + outer.height();
}

}  // namespace

namespace {

QRect outerRect(const WindowPlacement& p) {
    return QRect(QPoint(p.left, p.top), QSize(p.right - p.left, p.bottom - p.top));
}

QMargins frameMargins(const QWidget& w) {
    const QRect frame = w.frameGeometry(), client = w.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

}  // namespace

void CMainFrame::applySettings(const FrameSettings& wanted) {
    FrameSettings settings = wanted;
    keepOnScreen(settings.placement);
    const QRect outer = outerRect(settings.placement);
    if (isMaximized() || isMinimized()) showNormal();
    // The placement is the outer rectangle, frame included; Qt sizes the
    // contents. Before the window manager has framed the window its frame
    // is not known: the size is set again once it is (settlePlacement).
    const QMargins frame = frameMargins(*this);
    move(outer.topLeft());
    resize(outer.size().shrunkBy(frame));
    placementPending_ = frame.isNull();
    normalOuter_ = outer;
    settings_ = settings;
    applyPaneSizes();
}

void CMainFrame::fitPlacementAfterShow() { settlePlacement(); }

void CMainFrame::settlePlacement() {
    if (!isVisible()) return;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    // Without a frame yet (or ever: no window manager) the window stands
    // exactly where it was placed.
    const QMargins frame = frameMargins(*this);
    if (placementPending_ && placementApplied_ && !frame.isNull()) {
        placementPending_ = false;
        const QRect outer = outerRect(settings_.placement);
        if (frameGeometry() != outer) {
            resize(outer.size().shrunkBy(frame));
            move(outer.topLeft());
        }
        paneSizesPending_ = true;
    }
    // A splitter scales the sizes it is given to the room it has: they are
    // given again once the window has the size they were stored with.
    if (paneSizesPending_ && frameGeometry().size() == outerRect(settings_.placement).size()) {
        paneSizesPending_ = false;
        applyPaneSizes();
    }
    // What is stored when the window closes maximised: the rectangle it had
    // last in its normal state, read from the window itself, not rebuilt
    // from a maximised frame whose borders differ.
    normalOuter_ = frameGeometry();
}

void CMainFrame::applyPaneSizes() {
    // A splitter scales sizes it is given to the room it has, so each one
    // gets its sizes only once the splitter around it has settled: the
    // outer one first.
    if (layout()) layout()->activate();
    splitterA_->setSizes({settings_.splitterA[0], settings_.splitterA[1]});
    splitterB_->setSizes({settings_.splitterB[0], settings_.splitterB[1]});
    splitterC_->setSizes({settings_.splitterC[0], settings_.splitterC[1]});
}

void CMainFrame::showAsPlaced() {
    show();
    fitPlacementAfterShow();
    if (settings_.startMaximised) showMaximized();
}

FrameSettings CMainFrame::currentSettings() const {
    FrameSettings s = settings_;
    WindowPlacement& p = s.placement;
    p.length = 44;
    // While the window is not in its normal state, the rectangle it had last
    // in that state (or was placed at).
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QRect outer = normal && isVisible() ? frameGeometry() : normalOuter_;
    p.showCmd = isMinimized() ? SW_MINIMISED : isMaximized() ? SW_MAXIMISED : SW_NORMAL;
    // Restoring a minimised window that was maximised brings it back maximised.
    p.flags = (isMinimized() && (windowState() & Qt::WindowMaximized)) ? 2 : 0;
    p.left = outer.left();
    p.top = outer.top();
    p.right = outer.left() + outer.width();
    p.bottom = outer.top() + outer.height();
    const QList<int> c = splitterC_->sizes(), b = splitterB_->sizes(), a = splitterA_->sizes();
    s.splitterC = {c.value(0), c.value(1)};
    s.splitterB = {b.value(0), b.value(1)};
    s.splitterA = {a.value(0), a.value(1)};
    s.startMaximised = false;
    return s;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!doc_.SaveModified()) {
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

void CMainFrame::setMessageText(const QString& text) {
    if (!statusBarReady_) return;
    messagePane_->setText(text);
}

QString CMainFrame::messageText() const { return messagePane_ ? messagePane_->text() : QString(); }

QString CMainFrame::statusPaneText(int pane) const {
    switch (pane) {
    case 0: return messagePane_->text();
    case 1: return lwPane_->text();
    case 2: return riPane_->text();
    case 3: return facetPane_->text();
    default: return {};
    }
}

void CMainFrame::updateStatusPanes() {
    if (!statusBarReady_) return;
    // A pane shows one line; the line feed some texts end with is not part of it.
    const auto oneLine = [](const std::string& text) {
        QString line = fromCore(text);
        while (line.endsWith(QLatin1Char('\n'))) line.chop(1);
        return line;
    };
    facetPane_->setText(oneLine(doc_.facetCountText()));
    lwPane_->setText(oneLine(doc_.lengthWidthText()));
    riPane_->setText(oneLine(doc_.refractiveIndexText()));
}

void CMainFrame::rebuildRecentFileMenu() {
    QMenu* menu = recentMenu_;
    if (!menu) return;
    for (QAction* a : recentActions_) {
        menu->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const std::vector<std::string>& entries = recentFiles_.entries();
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
    if (doc_.openDocumentFile(path)) return;
    // An entry that cannot be opened any more leaves the list.
    const std::vector<std::string>& entries = recentFiles_.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == path) {
            recentFiles_.remove(i);
            recentFiles_.save();
            rebuildRecentFileMenu();
            break;
        }
    }
}

void CMainFrame::documentPathChanged(const std::string& path, bool addToRecent) {
    setWindowTitle(fromPath(doc_.title()) + QStringLiteral(" - Brevix"));
    // The dialogs' side has stored the path in the list already.
    if (addToRecent && !path.empty()) {
        recentFiles_.load();
        rebuildRecentFileMenu();
    }
}

void CMainFrame::updateAllViews(const void*) {
    fourView_->update();
    spinView_->update();
    cutList_->refresh();
    addDlg_->refresh();
    updateStatusPanes();
    // Check marks follow the document's modes, whichever command changed them.
    action(ID_PREFORM_EDIT)->setChecked(doc_.preformEditChecked());
    action(ID_VIEW_HIDDEN_LINES)->setChecked(doc_.hiddenLines);
}

void CMainFrame::zoom(int commandId) {
    const bool enlarged = commandId != ID_ZOOM_OUT;
    fourView_->setZoomed(enlarged);
    fourView_->setZoomPane(zoomPaneOf(commandId));
    zoomFlag = enlarged ? 1 : 0;
    fourView_->update();
    if (QAction* a = action(commandId)) a->setChecked(true);
}

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
