#pragma once
// Edit > Sort...: the "Sort Cutting Order" dialog, the order in which the
// stone's sections are listed and cut.
#include <QDialog>

class QButtonGroup;

namespace brevix {

class CGemDoc;

class CSortDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSortDlg(QWidget* parent = nullptr);

    QButtonGroup* orderGroup() const { return orderGroup_; }
    int order() const;  // 0 Pavilion-Girdle-Crown ... 3 Crown-Girdle-Pavilion

private:
    QButtonGroup* orderGroup_ = nullptr;
};

void runSortCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
