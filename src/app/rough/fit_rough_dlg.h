#pragma once
// File > Fit into Rough: the largest stone of a design that a rough gives.
// The rough comes from a mesh file (a scan) or a shape typed in; the design
// is the open one or another file; the margin and the spheres to avoid
// keep the stone off the surface and off inclusions. Fit runs on a thread
// of its own; the view shows the rough translucent with the placed stone
// inside, and the figures follow. Save Placed Stone writes its mesh.
#include <QDialog>
#include <memory>

#include "app/rough/fit_form.h"
#include "app/rough/fit_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTableWidget;
class QVBoxLayout;

namespace brevix::roughfit {

class FitWorker;
class RoughView;

class FitRoughDlg : public QDialog {
    Q_OBJECT
public:
    // `openDesign` may be null (no design open); it is copied.
    FitRoughDlg(const Stone* openDesign, const QString& openName, QWidget* parent = nullptr);
    ~FitRoughDlg() override;

    // What Browse does once a file is chosen: reads and shows it, or says
    // why it was refused. False when refused.
    bool openRoughFile(const QString& path);
    bool openDesignFile(const QString& path);
    // What Fit does: checks every field and starts the fit; false (with the
    // problems shown) when something is missing or mistyped.
    bool fit();
    bool fitting() const { return model_.fitting(); }
    // What Save Placed Stone does once a file is chosen.
    bool savePlacedStone(const QString& path);

    const FitRoughModel& model() const { return model_; }
    // The figures as shown, one "label: value" line each ("" before a fit).
    QString figuresText() const;
    QString problemsText() const;
    QString roughStatusText() const;
    RoughView* view() const { return view_; }

private:
    void buildRoughGroup(QVBoxLayout* column);
    void buildDesignGroup(QVBoxLayout* column);
    void buildOptions(QVBoxLayout* column);
    void shapeKindChosen();
    void shapeTyped();
    void roughSourceChosen();
    void designSourceChosen();
    void materialChosen();
    void gravityChanged();
    void showFigures();
    void showRough();
    void showOutcome(FitOutcome outcome);
    void clearFigures();
    void browseRough();
    void browseDesign();
    void browsePlacedStone();
    void addAvoidRow();
    void removeAvoidRow();
    void avoidEdited();
    FitFormText formText() const;
    std::optional<double> chosenGravity() const;

    FitRoughModel model_;
    std::unique_ptr<FitWorker> worker_;
    // The two roughs the user may switch between, kept so that switching
    // back does not read a large scan again.
    RoughState meshRough_, shapeRough_;
    std::shared_ptr<const Stone> openDesign_;
    QString openName_;
    std::shared_ptr<const Stone> fileDesign_;
    QString fileDesignPath_;

    QRadioButton* fromMesh_ = nullptr;
    QRadioButton* fromShape_ = nullptr;
    QLineEdit* roughPath_ = nullptr;
    QComboBox* shape_ = nullptr;
    QLabel* sizeNames_[3] = {};
    QLineEdit* sizes_[3] = {};
    QLabel* roughStatus_ = nullptr;
    QRadioButton* openDesignChoice_ = nullptr;
    QRadioButton* fileDesignChoice_ = nullptr;
    QLineEdit* designPath_ = nullptr;
    QComboBox* material_ = nullptr;
    QLineEdit* gravity_ = nullptr;
    QLineEdit* margin_ = nullptr;
    QTableWidget* avoid_ = nullptr;
    QLabel* problems_ = nullptr;
    RoughView* view_ = nullptr;
    QSlider* turn_ = nullptr;
    QLabel* figureValues_[5] = {};
    QLabel* status_ = nullptr;
    QPushButton* fit_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace brevix::roughfit
