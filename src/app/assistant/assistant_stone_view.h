#pragma once
// The stone as the cutting assistant shows it: the side being cut seen
// square on (the crown from above, the pavilion from below), the facets
// already cut shaded and the current one filled. A click on a facet asks
// for it to become the current step.
#include <QWidget>
#include <functional>

#include "views/view.h"
#include "views/view_stone.h"

namespace brevix {

class AssistantSession;

class AssistantStoneView : public QWidget {
    Q_OBJECT
public:
    AssistantStoneView(const AssistantSession& session, QWidget* parent = nullptr);
    // The design shown; the view draws and picks on a copy of it.
    void setStone(const Stone* design) {
        design_ = design;
        update();
    }
    std::function<void(int32_t facet)> onFacetClicked;

    // The pane laid out for the current step and widget size (for clicks
    // and tests); the stone is classified for it.
    View layoutPane(QSize size);
    // Device position of a facet's label centre in the current pane (tests
    // click there); false when the facet is not seen from this side.
    bool facetPosition(int32_t facet, QPoint& at);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool crownSide() const;
    // The copy of the design brought up to date, or null.
    Stone* shownStone() { return copy_.refresh(design_); }
    const AssistantSession& session_;
    const Stone* design_ = nullptr;
    ViewStone copy_;
};

}  // namespace brevix
