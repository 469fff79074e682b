#include "app/dialogs/point_dlgs.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_box_sink.h"

namespace brevix {

namespace {

QLineEdit* readOnlyField(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.000 = -0.000W ")));
    return edit;
}

// A labelled row of three fields X, Y, Z.
std::array<QLineEdit*, 3> coordinateRow(QWidget* parent, QGridLayout* grid, int row,
                                        const QString& label, const QString& name, bool readOnly) {
    grid->addWidget(new QLabel(label, parent), row, 0);
    std::array<QLineEdit*, 3> fields{};
    for (int i = 0; i < 3; ++i) {
        fields[i] = readOnlyField(parent, name + QLatin1Char("XYZ"[i]));
        fields[i]->setReadOnly(readOnly);
        grid->addWidget(fields[i], row, i + 1);
    }
    return fields;
}

void addAxisHeadings(QWidget* parent, QGridLayout* grid) {
    for (int i = 0; i < 3; ++i) {
        auto* heading = new QLabel(QString(QLatin1Char("XYZ"[i])), parent);
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, i + 1);
    }
}

// The facets at the picked place, across the row below the coordinates.
QLineEdit* facetsRow(QWidget* parent, QGridLayout* grid, int row, const QString& label, const QString& facets) {
    grid->addWidget(new QLabel(label, parent), row, 0);
    QLineEdit* field = readOnlyField(parent, QStringLiteral("facetsEdit"));
    field->setText(facets);
    grid->addWidget(field, row, 1, 1, 3);
    return field;
}

void setTexts(const std::array<QLineEdit*, 3>& fields, const std::array<std::string, 3>& texts) {
    for (int i = 0; i < 3; ++i) fields[i]->setText(fromCore(texts[i]));
}

// The "Use to Cut", zoom and Cancel row every pick dialog ends with.
QHBoxLayout* endButtons(QDialog* dialog, bool zoomed, QPushButton*& use, QPushButton*& zoom,
                        PointDialogEnd& end) {
    use = new QPushButton(QStringLiteral("Use to Cut"), dialog);
    use->setObjectName(QStringLiteral("useButton"));
    use->setDefault(true);
    zoom = new QPushButton(QString::fromLatin1(zoomButtonCaption(zoomed)), dialog);
    zoom->setObjectName(QStringLiteral("zoomButton"));
    zoom->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    QObject::connect(use, &QPushButton::clicked, dialog, [dialog, &end] {
        end = PointDialogEnd::UseToCut;
        dialog->accept();
    });
    QObject::connect(zoom, &QPushButton::clicked, dialog, [dialog, &end] {
        end = PointDialogEnd::Zoom;
        dialog->accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(use);
    row->addWidget(zoom);
    row->addStretch(1);
    row->addWidget(cancel);
    return row;
}

}  // namespace

CPointDlg::CPointDlg(Kind kind, Vec3 point, bool zoomed, QWidget* parent, const QString& facets)
    : QDialog(parent) {
    const bool pierce = kind == Kind::Pierce;
    setObjectName(pierce ? QStringLiteral("CPierceDlg") : QStringLiteral("CMeetPointDlg"));
    setWindowTitle(pierce ? QStringLiteral("Outside Stone (Pierce)") : QStringLiteral("Meet Point"));
    auto* grid = new QGridLayout;
    addAxisHeadings(this, grid);
    // Only a point beside the stone may be moved by typing.
    coordinates_ = coordinateRow(this, grid, 1, QStringLiteral("Coordinates"),
                                 QStringLiteral("coordinate"), !pierce);
    setTexts(coordinates_, coordinateTexts(point));
    if (!pierce) facets_ = facetsRow(this, grid, 2, QStringLiteral("Facets meeting"), facets);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(endButtons(this, zoomed, use_, zoom_, end_));
    use_->setFocus();
}

std::array<std::string, 3> CPointDlg::typed() const {
    return {toCore(coordinates_[0]->text()), toCore(coordinates_[1]->text()),
            toCore(coordinates_[2]->text())};
}

CPointOnEdgeDlg::CPointOnEdgeDlg(const PointOnEdge& edge, bool zoomed, QWidget* parent, const QString& facets)
    : QDialog(parent), edge_(edge) {
    setObjectName(QStringLiteral("CPointOnEdgeDlg"));
    setWindowTitle(edge.between ? QStringLiteral("Between Two Points")
                                : QStringLiteral("Point on Edge"));
    auto* grid = new QGridLayout;
    addAxisHeadings(this, grid);
    nearEnd_ = coordinateRow(this, grid, 1, QStringLiteral("Near End"), QStringLiteral("near"), true);
    farEnd_ = coordinateRow(this, grid, 2, QStringLiteral("Far End"), QStringLiteral("far"), true);
    difference_ = coordinateRow(this, grid, 3, QStringLiteral("Difference"),
                                QStringLiteral("difference"), true);
    grid->addWidget(new QLabel(QStringLiteral("Length of edge"), this), 4, 0);
    length_ = readOnlyField(this, QStringLiteral("lengthEdit"));
    grid->addWidget(length_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Angle between\nfacet normals"), this), 4, 2);
    normalsAngle_ = readOnlyField(this, QStringLiteral("normalsAngleEdit"));
    grid->addWidget(normalsAngle_, 4, 3);
    selected_ = coordinateRow(this, grid, 5, QStringLiteral("Selected Point"),
                              QStringLiteral("selected"), true);
    grid->addWidget(new QLabel(QStringLiteral("Fraction of\ntotal edge length"), this), 6, 0);
    fractionOfLength_ = readOnlyField(this, QStringLiteral("fractionOfLengthEdit"));
    fractionOfLength_->setReadOnly(false);
    grid->addWidget(fractionOfLength_, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fraction of W"), this), 6, 2);
    fractionOfWidth_ = readOnlyField(this, QStringLiteral("fractionOfWidthEdit"));
    fractionOfWidth_->setReadOnly(false);
    grid->addWidget(fractionOfWidth_, 6, 3);
    if (!edge.between) facets_ = facetsRow(this, grid, 7, QStringLiteral("Edge of"), facets);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(endButtons(this, zoomed, use_, zoom_, end_));
    for (QLineEdit* field : {fractionOfLength_, fractionOfWidth_})
        connect(field, &QLineEdit::editingFinished, this, [this, field] { fractionLeft(field); });
    // Use to Cut takes the fraction being typed, as leaving the field would.
    connect(use_, &QPushButton::pressed, this, [this] {
        if (QWidget* focus = focusWidget(); focus == fractionOfLength_ || focus == fractionOfWidth_)
            fractionLeft(static_cast<QLineEdit*>(focus));
    });
    showTexts();
}

void CPointOnEdgeDlg::fractionLeft(QLineEdit* field) {
    const std::string text = toCore(field->text());
    if (field == fractionOfLength_)
        edge_.fractionOfLengthEdited(text);
    else
        edge_.fractionOfWidthEdited(text);
    showTexts();
}

void CPointOnEdgeDlg::showTexts() {
    const PointOnEdge::Texts t = edge_.texts();
    setTexts(nearEnd_, t.nearEnd);
    setTexts(farEnd_, t.farEnd);
    setTexts(difference_, t.difference);
    setTexts(selected_, t.selected);
    length_->setText(fromCore(t.length));
    normalsAngle_->setText(fromCore(t.normalsAngle));
    fractionOfLength_->setText(fromCore(t.fractionOfLength));
    fractionOfWidth_->setText(fromCore(t.fractionOfWidth));
}

}  // namespace brevix
