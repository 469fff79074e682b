#pragma once
#include <QDialog>

namespace brevix {

// Help > About: what the program is and its version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace brevix
