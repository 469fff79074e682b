#pragma once
// Edit > Rename in order...: the "Rename Facets in Sequence" dialog, how the
// pavilion's and the crown's tiers are named in cutting order.
#include <QDialog>

class QButtonGroup;

namespace brevix {

class CGemDoc;

class CRenameDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRenameDlg(QWidget* parent = nullptr);

    QButtonGroup* pavilionGroup() const { return pavilionGroup_; }
    QButtonGroup* crownGroup() const { return crownGroup_; }
    // 0 numbers, 1 letters, 2 P1.../C1...
    int pavilionStyle() const;
    int crownStyle() const;

private:
    QButtonGroup* pavilionGroup_ = nullptr;
    QButtonGroup* crownGroup_ = nullptr;
};

void runRenameCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
