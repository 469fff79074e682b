#pragma once
// The "Cut Facet" form pane: where the angle, index, depth, points and
// symmetry of the next tier are typed. Each field is read when it loses the
// keyboard focus; the default button reads "Cut Facet" once the pending
// facet is complete and "Apply" until then.
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace brevix {

class CGemDoc;

// The Cut Facet form.
class CAddDlg : public QWidget {
    Q_OBJECT
public:
    explicit CAddDlg(CGemDoc& doc, QWidget* parent = nullptr);
    ~CAddDlg() override;

    // Shows the document's pending facet (completing it first).
    void refresh();

    // The "Between 1,2" dialog comes with picking in the views; until it is
    // installed here the button stays disabled.
    std::function<void()> onBetween;

    QLineEdit* angleEdit() const { return angle_; }
    QLineEdit* indexEdit() const { return index_; }
    QLineEdit* cedEdit() const { return ced_; }
    QPlainTextEdit* pointsEdit() const { return points_; }
    QLineEdit* symmetryEdit() const { return symmetry_; }
    QCheckBox* mirrorBox() const { return mirror_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* betweenButton() const { return between_; }
    QPushButton* cutButton() const { return cut_; }

    // The default button, as a click or Enter in a field gives it.
    void pressDefaultButton();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads a field the user changed; true when it was one of the fields.
    bool applyField(QObject* field);
    // Reads whichever field holds the focus, as leaving it would.
    void applyFocusedField();
    // The points box shows all three coordinates of each point in the width it has.
    void fitPointsFont();
    void fitPointsHeight();

    CGemDoc& doc_;
    QLineEdit* angle_ = nullptr;
    QLineEdit* index_ = nullptr;
    QLineEdit* ced_ = nullptr;
    QPlainTextEdit* points_ = nullptr;
    QLineEdit* symmetry_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* between_ = nullptr;
    QPushButton* cut_ = nullptr;
    QLabel* rowNumbers_ = nullptr;
    bool refreshing_ = false;
};

}  // namespace brevix
