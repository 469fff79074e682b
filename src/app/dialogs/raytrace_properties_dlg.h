#pragma once
// The "Raytrace Properties" dialog of Raytrace > Properties...: the
// refractive index the rays are traced with, typed, picked from a list of gem
// materials, or given by its critical angle. The reading rules are the
// core's (document/raytrace_properties.h); this is their window.
#include <QDialog>
#include <optional>

#include "document/raytrace_properties.h"

class QComboBox;
class QLineEdit;

namespace brevix {

class CRaytracePropertiesDlg : public QDialog {
    Q_OBJECT
public:
    CRaytracePropertiesDlg(double refractiveIndex, QWidget* parent = nullptr);

    QComboBox* indexCombo() const { return combo_; }
    QLineEdit* angleEdit() const { return angle_; }
    // The index the dialog holds now.
    double index() const { return form_.index; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTexts(const RaytraceFieldTexts& texts);

    RaytraceProperties form_;
    QComboBox* combo_ = nullptr;
    QLineEdit* angle_ = nullptr;
};

// Runs the dialog on `current`; the index on OK, nothing on Cancel.
std::optional<double> askRefractiveIndex(double current, QWidget* parent);

}  // namespace brevix
