#pragma once
// The small "Angle" and "Index" dialogs of Edit > Angle... and Index...:
// one number for the pending facet, cut at once when that completes it.
#include <QDialog>
#include <optional>

class QLineEdit;

namespace brevix {

class CAngleIndexDlg : public QDialog {
    Q_OBJECT
public:
    // `caption` is "Angle" or "Index"; it also labels the field.
    explicit CAngleIndexDlg(const QString& caption, QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    // The value read when the field last lost the focus (0 when unreadable).
    double valueOnLeave() const { return onLeave_; }
    // The value OK reads; none when the text is unreadable (then the dialog
    // counts as cancelled).
    std::optional<double> value() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_ = nullptr;
    double onLeave_ = 0;
};

// Runs the dialog; the value on OK, nothing on Cancel or unreadable text.
std::optional<double> askAngleOrIndex(const QString& caption, QWidget* parent);

}  // namespace brevix
