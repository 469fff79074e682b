#pragma once
// The dialogs of a picked point: "Meet Point" (a vertex), "Outside Stone
// (Pierce)" (a point beside the stone, whose coordinates may be typed over)
// and "Point on Edge" / "Between Two Points" (a point chosen along a line by
// fractions). Each hands its point to the Cut Facet form with "Use to Cut".
#include <QDialog>
#include <array>

#include "document/pick_dialogs.h"

class QLineEdit;
class QPushButton;

namespace brevix {

// How a pick dialog was closed.
enum class PointDialogEnd { UseToCut, Zoom, Cancel };

// "Meet Point" and "Outside Stone (Pierce)": three coordinates.
class CPointDlg : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Meet, Pierce };
    // `facets`: the facets that meet at a meet point, as the cut list names them.
    CPointDlg(Kind kind, Vec3 point, bool zoomed, QWidget* parent = nullptr, const QString& facets = QString());

    PointDialogEnd end() const { return end_; }
    // The coordinates as the user left them.
    std::array<std::string, 3> typed() const;
    QLineEdit* coordinate(int i) const { return coordinates_[i]; }
    QPushButton* useButton() const { return use_; }
    QPushButton* zoomButton() const { return zoom_; }
    QLineEdit* facetsField() const { return facets_; }

private:
    std::array<QLineEdit*, 3> coordinates_{};
    QLineEdit* facets_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* zoom_ = nullptr;
    PointDialogEnd end_ = PointDialogEnd::Cancel;
};

class CPointOnEdgeDlg : public QDialog {
    Q_OBJECT
public:
    // `facets`: the two facets of the edge, as the cut list names them.
    CPointOnEdgeDlg(const PointOnEdge& edge, bool zoomed, QWidget* parent = nullptr,
                    const QString& facets = QString());

    PointDialogEnd end() const { return end_; }
    const PointOnEdge& edge() const { return edge_; }
    QLineEdit* fractionOfLengthEdit() const { return fractionOfLength_; }
    QLineEdit* fractionOfWidthEdit() const { return fractionOfWidth_; }
    QLineEdit* selectedEdit(int i) const { return selected_[i]; }
    QLineEdit* facetsField() const { return facets_; }
    QPushButton* useButton() const { return use_; }
    QPushButton* zoomButton() const { return zoom_; }

private:
    void showTexts();
    // A fraction field left: read it and show everything anew.
    void fractionLeft(QLineEdit* field);

    PointOnEdge edge_;
    std::array<QLineEdit*, 3> nearEnd_{}, farEnd_{}, difference_{}, selected_{};
    QLineEdit* length_ = nullptr;
    QLineEdit* normalsAngle_ = nullptr;
    QLineEdit* fractionOfLength_ = nullptr;
    QLineEdit* fractionOfWidth_ = nullptr;
    QLineEdit* facets_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* zoom_ = nullptr;
    PointDialogEnd end_ = PointDialogEnd::Cancel;
};

}  // namespace brevix
