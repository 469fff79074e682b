#pragma once
// Stone > Reflect...: the "Reflect" dialog, which half of the stone to keep
// and whether its image is mirrored or turned half round.
#include <QDialog>

class QButtonGroup;
class QCheckBox;

namespace brevix {

class CGemDoc;

class CReflectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReflectDlg(QWidget* parent = nullptr);

    QButtonGroup* sideGroup() const { return sideGroup_; }
    QCheckBox* flipBox() const { return flipBox_; }
    int side() const;  // 0 "-Y", 1 "X", 2 "-X", 3 "Y": the half kept
    bool flip() const;

private:
    QButtonGroup* sideGroup_ = nullptr;
    QCheckBox* flipBox_ = nullptr;
};

void runReflectCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
