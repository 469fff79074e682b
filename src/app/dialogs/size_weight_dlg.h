#pragma once
// Stone > Size and Weight: the stone at a real size. The user types the
// width or the length in millimetres and picks a material (or types a
// specific gravity); the dialog shows L x W x H, the table and culet, the
// volume and the weight in carats, updated at every key.
#include <QDialog>

#include "document/size_settings.h"
#include "kernel/stone.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace brevix {

class SizeWeightDlg : public QDialog {
    Q_OBJECT
public:
    // Works on a copy of `stone`: measuring fills caches the views own.
    SizeWeightDlg(const Stone& stone, const SizeSettings& start, QWidget* parent = nullptr);

    // What to remember: the size and material typed, as far as they are
    // valid; the rest as `start` had it.
    SizeSettings settings() const;

    // The results as shown, one "label value" line each, for tests.
    QString resultsText() const;

private:
    void materialChosen();
    void gravityTyped();
    void update();
    std::optional<double> typedNumber(const QLineEdit* edit) const;

    Stone stone_;
    SizeSettings start_;
    QComboBox* basis_ = nullptr;
    QLineEdit* millimetres_ = nullptr;
    QComboBox* material_ = nullptr;
    QLineEdit* gravity_ = nullptr;
    QLabel* size_ = nullptr;
    QLabel* table_ = nullptr;
    QLabel* culet_ = nullptr;
    QLabel* volume_ = nullptr;
    QLabel* weight_ = nullptr;
    QLabel* problem_ = nullptr;
    bool settingGravity_ = false;
};

}  // namespace brevix
