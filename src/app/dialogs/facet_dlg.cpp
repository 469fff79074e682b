#include "app/dialogs/facet_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_box_sink.h"

namespace brevix {

namespace {

QLineEdit* field(QWidget* parent, const std::string& text, const char* name, bool readOnly,
                 int maxLength = 32767) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setText(fromCore(text));
    edit->setReadOnly(readOnly);
    return edit;
}

}  // namespace

CFacetDlg::CFacetDlg(const FacetDialogFields& fields, bool angleEditable, bool zoomed,
                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CFacetDlg"));
    setWindowTitle(QStringLiteral("Facet"));
    const auto makeButton = [this](FacetDialogResult result, const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, result] { finish(result); });
        buttons_.push_back({result, b});
        return b;
    };

    auto* coordinates = new QGridLayout;
    coordinates->addWidget(new QLabel(QStringLiteral("Point on Facet Coordinates"), this), 0, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        const char* names[] = {"pointX", "pointY", "pointZ"};
        coordinates->addWidget(new QLabel(QString(QLatin1Char("XYZ"[i])), this), 1, 2 * i);
        coordinates->addWidget(field(this, fields.point[i], names[i], true), 1, 2 * i + 1);
    }

    auto* values = new QGridLayout;
    struct Row {
        const char* label;
        const std::string& text;
        const char* name;
        FacetDialogResult copy;
        const char* copyName;
    };
    const Row rows[] = {
        {"Angle", fields.angle, "angleEdit", FacetDialogResult::CopyAngle, "copyAngleButton"},
        {"Index", fields.index, "indexEdit", FacetDialogResult::CopyIndex, "copyIndexButton"},
        {"Z-axis intercept", fields.zIntercept, "zInterceptEdit", FacetDialogResult::CopyZIntercept,
         "copyZInterceptButton"},
        {"Center-to-facet", fields.ced, "cedEdit", FacetDialogResult::CopyCed, "copyCedButton"},
    };
    int r = 0;
    for (const Row& row : rows) {
        values->addWidget(new QLabel(QString::fromLatin1(row.label), this), r, 0);
        values->addWidget(field(this, row.text, row.name, true), r, 1);
        values->addWidget(makeButton(row.copy, QStringLiteral("Copy"), row.copyName), r, 2);
        ++r;
    }
    values->addWidget(new QLabel(QStringLiteral("Area"), this), r, 0);
    values->addWidget(field(this, fields.area, "areaEdit", true), r, 1);
    ++r;
    values->addWidget(new QLabel(QStringLiteral("Facet"), this), r, 0);
    values->addWidget(field(this, fields.facet, "facetNameEdit", true), r, 1);

    auto* edit = new QGroupBox(QStringLiteral("Edit This Facet"), this);
    auto* editGrid = new QGridLayout(edit);
    name_ = field(edit, fields.edit.name, "nameEdit", false, TIER_NAME_MAX);
    instruction_ = field(edit, fields.edit.instruction, "instructionEdit", false,
                         TIER_INSTRUCTION_MAX);
    instruction_->setMinimumWidth(
        instruction_->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('x'))));
    newAngle_ = field(edit, fields.edit.angle, "newAngleEdit", !angleEditable, TIER_ANGLE_MAX);
    editGrid->addWidget(new QLabel(QStringLiteral("Name"), edit), 0, 0);
    editGrid->addWidget(name_, 0, 1);
    editGrid->addWidget(new QLabel(QStringLiteral("Cutting instructions"), edit), 1, 0);
    editGrid->addWidget(instruction_, 1, 1);
    editGrid->addWidget(
        new QLabel(QString::fromUtf8("New angle\n(tangent ratio scale \u00bd stone)"), edit), 2, 0);
    editGrid->addWidget(newAngle_, 2, 1);
    auto* editButtons = new QHBoxLayout;
    editButtons->addWidget(makeButton(FacetDialogResult::Apply, QStringLiteral("Apply"), "applyButton"));
    editButtons->addWidget(
        makeButton(FacetDialogResult::DeleteTier, QStringLiteral("&Delete Tier"), "deleteTierButton"));
    editButtons->addWidget(makeButton(FacetDialogResult::DeleteFacet, QStringLiteral("Delete &Facet"),
                                      "deleteFacetButton"));
    editButtons->addWidget(
        makeButton(FacetDialogResult::Uncut, QStringLiteral("Un&cut/Recut"), "uncutButton"));
    editGrid->addLayout(editButtons, 3, 0, 1, 2);

    auto* endRow = new QHBoxLayout;
    QPushButton* use = makeButton(FacetDialogResult::UseToCut, QStringLiteral("Use to Cut"), "useButton");
    use->setDefault(true);
    endRow->addWidget(use);
    endRow->addWidget(makeButton(FacetDialogResult::Zoom,
                                 QString::fromLatin1(zoomButtonCaption(zoomed)), "zoomButton"));
    endRow->addStretch(1);
    endRow->addWidget(makeButton(FacetDialogResult::Cancel, QStringLiteral("Cancel"), "cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(coordinates);
    layout->addLayout(values);
    layout->addWidget(edit);
    layout->addLayout(endRow);
    use->setFocus();
}

QPushButton* CFacetDlg::button(FacetDialogResult result) const {
    for (const auto& [r, b] : buttons_)
        if (r == result) return b;
    return nullptr;
}

TierEditFields CFacetDlg::typed() const {
    return {toCore(name_->text()), toCore(instruction_->text()), toCore(newAngle_->text())};
}

void CFacetDlg::finish(FacetDialogResult result) {
    result_ = result;
    if (result == FacetDialogResult::Cancel)
        reject();
    else
        accept();
}

}  // namespace brevix
