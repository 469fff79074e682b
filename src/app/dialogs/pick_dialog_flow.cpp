#include "app/dialogs/pick_dialog_flow.h"

#include "app/dialogs/facet_dlg.h"
#include "app/dialogs/index_gear_dlg.h"
#include "app/dialogs/point_dlgs.h"
#include "app/message_box_sink.h"
#include "document/gem_doc.h"
#include "document/pick_dialogs.h"

namespace brevix {

namespace {

bool runFacetDialog(QWidget* parent, CGemDoc& doc, int32_t facet, Vec3 point, bool zoomed) {
    for (;;) {
        const Stone* stone = doc.stone();
        if (!stone || facet < 0 || facet >= stone->nFacet) return false;
        FacetDialogFields fields = facetDialogFields(*stone, facet, point);
        fields.facet = facetText(doc, facet);
        CFacetDlg dialog(fields, angleIsEditable(*stone, facet), zoomed, parent);
        dialog.exec();
        if (dialog.result() == FacetDialogResult::Zoom) return true;
        if (!applyFacetDialogResult(doc, facet, point, dialog.result(), fields, dialog.typed()))
            return false;
    }
}

bool runPierceDialog(QWidget* parent, CGemDoc& doc, Vec3& point, bool zoomed) {
    for (;;) {
        CPointDlg dialog(CPointDlg::Kind::Pierce, point, zoomed, parent);
        dialog.exec();
        if (dialog.end() != PointDialogEnd::UseToCut) return dialog.end() == PointDialogEnd::Zoom;
        // Until all three coordinates read, the dialog comes back.
        if (const std::optional<Vec3> typed = readPierceCoordinates(dialog.typed(), point)) {
            point = *typed;
            usePickedPoint(doc, point);
            return false;
        }
    }
}

}  // namespace

bool runPickDialog(QWidget* parent, CGemDoc& doc, PickKind kind, int32_t index, Vec3& point,
                   bool zoomed) {
    bool zoom = false;
    switch (kind) {
    case PickSpace:
        zoom = runPierceDialog(parent, doc, point, zoomed);
        break;
    case PickMarginFacet:
    case PickFacet:
        zoom = runFacetDialog(parent, doc, index, point, zoomed);
        break;
    case PickMeet: {
        CPointDlg dialog(CPointDlg::Kind::Meet, point, zoomed, parent, fromCore(facetsMeetingText(doc, point)));
        dialog.exec();
        if (dialog.end() == PointDialogEnd::UseToCut) usePickedPoint(doc, point);
        zoom = dialog.end() == PointDialogEnd::Zoom;
        break;
    }
    case PickEdge: {
        const Stone* stone = doc.stone();
        if (!stone || index < 0 || index >= stone->nEdge) break;
        CPointOnEdgeDlg dialog(PointOnEdge::onEdge(*stone, index, point), zoomed, parent,
                               fromCore(edgeFacetsText(doc, index)));
        dialog.exec();
        if (dialog.end() == PointDialogEnd::UseToCut) {
            point = dialog.edge().selected();
            usePickedPoint(doc, point);
        }
        zoom = dialog.end() == PointDialogEnd::Zoom;
        break;
    }
    case PickGearLabel:
        runIndexGearDialog(parent, doc);
        break;
    case PickNone:
        break;
    }
    doc.pendingChanged();
    return zoom;
}

bool runBetweenDialog(QWidget* parent, CGemDoc& doc, bool zoomed) {
    if (doc.pending().info.nPoints < 2) return false;
    CPointOnEdgeDlg dialog(
        PointOnEdge::betweenPoints(doc.ensureStone(), doc.pending().info.points[0], doc.pending().info.points[1]),
        zoomed, parent);
    dialog.exec();
    if (dialog.end() == PointDialogEnd::UseToCut) doc.pending().useBetweenPoint(dialog.edge().selected());
    return dialog.end() == PointDialogEnd::Zoom;
}

}  // namespace brevix
