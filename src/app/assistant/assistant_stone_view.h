#pragma once
// The stone as the cutting assistant shows it: the side being cut seen
// square on (the crown from above, the pavilion from below), the facets
// already cut shaded and the current one filled. A click on a facet asks
// for it to become the current step.
#include <QWidget>
#include <functional>

#include "views/view.h"

namespace brevix {

struct Stone;
class AssistantSession;

class AssistantStoneView : public QWidget {
    Q_OBJECT
public:
    AssistantStoneView(const AssistantSession& session, QWidget* parent = nullptr);
    void setStone(Stone* stone) { stone_ = stone; update(); }
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
    const AssistantSession& session_;
    Stone* stone_ = nullptr;
};

}  // namespace brevix
