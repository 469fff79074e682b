#include "app/panes/cut_away_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/message_box_sink.h"

namespace brevix {

CutAwayStrip::CutAwayStrip(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("CutAwayStrip"));
    setFrameShape(QFrame::StyledPanel);
    // The colours of a warning that stands until it is dealt with, not of an error.
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 236, 170));
    colours.setColor(QPalette::WindowText, QColor(90, 50, 0));
    setPalette(colours);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 4, 3);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("cutAwayText"));
    text_->setWordWrap(true);
    change_ = new QPushButton(this);
    change_->setObjectName(QStringLiteral("cutAwayChange"));
    row->addWidget(text_, 1);
    row->addWidget(change_, 0);
    connect(change_, &QPushButton::clicked, this, [this] {
        if (onChangeTier && !tier_.empty()) onChangeTier(tier_);
    });
    hide();
}

bool CutAwayStrip::showWarnings(const std::vector<DesignWarning>& warnings) {
    std::vector<std::string> texts;
    std::string first;
    for (const DesignWarning& w : warnings) {
        if (w.kind != WarningKind::TierCutAway) continue;
        texts.push_back(w.text);
        if (first.empty() && !w.tiers.empty()) first = w.tiers[0];
    }
    bool news = false;
    for (const std::string& t : texts)
        news = news || std::find(shown_.begin(), shown_.end(), t) == shown_.end();
    shown_ = texts;
    tier_ = first;
    if (texts.empty()) {
        text_->clear();
        hide();
        return false;
    }
    QStringList lines;
    for (const std::string& t : texts) lines << fromCore(t);
    text_->setText(lines.join(QLatin1Char('\n')) +
                   QStringLiteral("\nThe design keeps the tier: change its angle to bring it back."));
    change_->setText(QStringLiteral("&Change %1...").arg(fromCore(first)));
    show();
    return news;
}

QString CutAwayStrip::text() const {
    if (shown_.empty()) return {};
    QStringList lines;
    for (const std::string& t : shown_) lines << fromCore(t);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace brevix
