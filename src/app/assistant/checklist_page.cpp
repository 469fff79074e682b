#include "app/assistant/checklist_page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "assistant/assistant_session.h"
#include "assistant/step_texts.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

QString text(const std::string& cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

// Fonts get a pixel size from the device's resolution: point sizes come out
// wrong on printers and PDF writers.
QFont pageFont(double dpi, double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(points * dpi / 72.0 + 0.5)));
    font.setBold(bold);
    return font;
}

}  // namespace

bool paintChecklist(QPagedPaintDevice& device, const AssistantSession& session,
                    const std::string& title, const std::string& heading) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double dpi = device.logicalDpiY();
    const double inch = dpi;
    const QRectF area(0.5 * inch, 0.5 * inch, device.width() - 1.0 * inch, device.height() - 1.0 * inch);
    const QFont titleFont = pageFont(dpi, 16, true), bodyFont = pageFont(dpi, 11),
                smallFont = pageFont(dpi, 9), boldFont = pageFont(dpi, 11, true);
    const double rowHeight = QFontMetricsF(bodyFont).height() * 1.45;
    const double box = QFontMetricsF(bodyFont).height() * 0.9;
    // Columns: box, side, tier, angle, index, mirror, instruction.
    const double x0 = area.left();
    const double cols[] = {x0, x0 + box * 1.8, x0 + 1.45 * inch, x0 + 2.1 * inch, x0 + 2.95 * inch,
                           x0 + 3.7 * inch, x0 + 4.35 * inch};
    const CuttingPlan& plan = session.plan();
    const int totalPages = [&] {
        const double firstRows = (area.height() - 1.3 * inch) / rowHeight;
        const double laterRows = (area.height() - 0.7 * inch) / rowHeight;
        const double rows = static_cast<double>(plan.steps.size());
        if (rows <= firstRows) return 1;
        return 1 + static_cast<int>(std::ceil((rows - firstRows) / std::max(1.0, laterRows)));
    }();

    int page = 1;
    double y = area.top();
    const auto pageHeader = [&](bool first) {
        painter.setPen(Qt::black);
        if (first) {
            painter.setFont(titleFont);
            painter.drawText(QPointF(x0, y + QFontMetricsF(titleFont).ascent()),
                             QStringLiteral("Cutting checklist: ") + text(title));
            y += QFontMetricsF(titleFont).height() * 1.3;
            painter.setFont(bodyFont);
            if (!heading.empty()) {
                painter.drawText(QPointF(x0, y + QFontMetricsF(bodyFont).ascent()), text(heading));
                y += rowHeight;
            }
            painter.drawText(QPointF(x0, y + QFontMetricsF(bodyFont).ascent()),
                             QStringLiteral("%1 facets in %2 tiers; tick each box as the facet is cut.")
                                 .arg(plan.facetCount)
                                 .arg(plan.tierCount));
            y += rowHeight * 1.2;
        }
        painter.setFont(boldFont);
        const char* const names[] = {"", "Side", "Tier", "Angle", "Index", "Mirror", "Instruction"};
        for (int c = 1; c < 7; ++c)
            painter.drawText(QPointF(cols[c], y + QFontMetricsF(boldFont).ascent()), QString::fromLatin1(names[c]));
        y += rowHeight;
        painter.drawLine(QPointF(x0, y - rowHeight * 0.2), QPointF(area.right(), y - rowHeight * 0.2));
    };
    const auto footer = [&] {
        painter.setFont(smallFont);
        painter.drawText(QRectF(area.left(), area.bottom() - QFontMetricsF(smallFont).height(),
                                area.width(), QFontMetricsF(smallFont).height()),
                         Qt::AlignRight, QStringLiteral("%1   page %2 of %3").arg(text(title)).arg(page).arg(totalPages));
    };
    pageHeader(true);
    const double bottom = area.bottom() - QFontMetricsF(smallFont).height() * 1.5;
    int lastTier = -2;
    for (const CuttingStep& step : plan.steps) {
        if (y + rowHeight > bottom) {
            footer();
            device.newPage();
            ++page;
            y = area.top();
            pageHeader(false);
        }
        const double base = y + QFontMetricsF(bodyFont).ascent();
        if (step.tier != lastTier && lastTier != -2) {
            // A thin rule between tiers, where the setting on the machine changes.
            painter.setPen(QPen(Qt::gray, std::max(1.0, dpi / 200)));
            painter.drawLine(QPointF(x0, y - rowHeight * 0.2), QPointF(area.right(), y - rowHeight * 0.2));
        }
        const QRectF boxRect(x0, y + (rowHeight - box) / 2 - rowHeight * 0.15, box, box);
        painter.setPen(QPen(Qt::black, std::max(1.0, dpi / 100)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(boxRect);
        bool cut = step.kind != StepKind::Transfer && !step.facets.empty();
        for (int32_t f : step.facets) cut = cut && session.isCut(f);
        if (cut) {
            painter.drawLine(boxRect.topLeft() + QPointF(box * 0.2, box * 0.5),
                             boxRect.topLeft() + QPointF(box * 0.45, box * 0.8));
            painter.drawLine(boxRect.topLeft() + QPointF(box * 0.45, box * 0.8),
                             boxRect.topLeft() + QPointF(box * 0.85, box * 0.15));
        }
        painter.setFont(step.kind == StepKind::Transfer ? boldFont : bodyFont);
        if (step.kind == StepKind::Transfer) {
            painter.drawText(QPointF(cols[1], base), QStringLiteral("Transfer the stone"));
        } else {
            const bool newTier = step.tier != lastTier;
            painter.drawText(QPointF(cols[1], base), text(stepSide(step)));
            painter.drawText(QPointF(cols[2], base), text(step.tierName));
            painter.drawText(QPointF(cols[3], base), QString::asprintf("%.2f", step.angle) + QChar(0xB0));
            const QString indexes = text(joinedIndexes(step));
            painter.drawText(QRectF(cols[4], y, (step.kind == StepKind::Tier ? cols[6] : cols[5]) - cols[4],
                                    rowHeight), Qt::AlignLeft | Qt::TextSingleLine,
                             indexes);
            if (step.kind == StepKind::Facet) painter.drawText(QPointF(cols[5], base), text(step.mirrorText));
            if (newTier && !step.instruction.empty()) {
                painter.setFont(smallFont);
                const QFontMetricsF m(smallFont);
                painter.drawText(QPointF(cols[6], base),
                                 m.elidedText(text(step.instruction), Qt::ElideRight, area.right() - cols[6]));
            }
            lastTier = step.tier;
        }
        y += rowHeight;
    }
    footer();
    return painter.end();
}

}  // namespace brevix
