#pragma once
// View > Cutting Assistant: the design at the faceting machine, one step at
// a time, in type large enough to read from a metre away. The keys work with
// one hand and without looking (a foot switch that sends a key works too):
// Space, Enter or Right marks the current facet cut and moves on; Backspace
// or Left steps back; T goes to the next tier; Escape leaves. The cutter's
// progress is kept in a file beside the design after every step.
#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>

#include "assistant/assistant_session.h"
#include "intent/intent.h"

class QAction;
class QPagedPaintDevice;
class QLabel;
class QPushButton;
class QTextToSpeech;

namespace brevix {

class CGemDoc;
class DesignSignals;
class DiagramPrinting;
class AssistantStoneView;

class CuttingAssistant : public QMainWindow {
    Q_OBJECT
public:
    // `printing` gives the paper and orientation chosen for the diagram
    // (may be null: a printer of its own is used then).
    CuttingAssistant(CGemDoc& doc, DiagramPrinting* printing, QWidget* parent = nullptr);
    ~CuttingAssistant() override;

    // The document changed (or another design was opened): steps rebuilt,
    // progress of unchanged facets kept, the reset ones named.
    void designChanged();
    // Reads the design and its stored progress afresh.
    void restart();

    const AssistantSession& session() const { return session_; }
    AssistantStoneView* stoneView() const { return stoneView_; }
    // The file the progress is kept in ("" for a design never saved).
    const std::string& progressPath() const { return progressPath_; }
    // Spoken steps: whether this build and machine can speak, and why not.
    bool speechAvailable() const { return speechAvailable_; }
    QString speechUnavailableReason() const { return speechReason_; }
    // The checklist on the given printer or PDF writer.
    bool printChecklist(QPagedPaintDevice& device);

    // The moves of the keys (the buttons and tests call them too).
    void markAndNext();
    void back();
    void nextTier();
    void startOver();
    void setByTier(bool byTier);
    void toggleFullScreen();
    // Speaking failed (no sound device, the engine stopped): Speak Steps is
    // switched off and the window says why.
    void speechFailed(const QString& why);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void buildSpeech();
    void refresh();
    void afterMove();
    void save();
    void showReset(const std::vector<CutFacet>& reset);
    void print();
    void speakCurrent();
    // What the tier of `step` was placed by, when the design says nothing of it.
    std::string meetLine(const CuttingStep& step);

    CGemDoc& doc_;
    DiagramPrinting* printing_;
    AssistantSession session_;
    std::string progressPath_;
    // The progress file as this window last read or wrote it: what another
    // window on the same design wrote since is told from it and kept.
    CuttingProgress fileProgress_;
    const void* stoneSeen_ = nullptr;
    // The design's intent, worked out once per change of the design.
    std::optional<DesignIntent> intent_;

    QLabel* title_ = nullptr;
    QLabel* setting_ = nullptr;
    QLabel* instruction_ = nullptr;
    QLabel* next_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* notice_ = nullptr;
    AssistantStoneView* stoneView_ = nullptr;
    QAction* byTierAction_ = nullptr;
    QAction* speakAction_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
    bool speechAvailable_ = false;
    QString speechReason_;
    QTextToSpeech* speech_ = nullptr;
};

// Opens the assistant for the document (one window, raised when open),
// following every change `changes` announces.
CuttingAssistant* openCuttingAssistant(QWidget* frame, CGemDoc& doc, const DesignSignals& changes,
                                       DiagramPrinting* printing);

}  // namespace brevix
