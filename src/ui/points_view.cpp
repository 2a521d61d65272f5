#include "ui/points_view.hpp"

#include <QPainter>
#include <algorithm>

namespace tesmara::ui {

namespace {

constexpr int kMargin = 16;
constexpr double kMarkRadius = 3.0;
constexpr int kMostNumbers = 60;  // more numbers than this only cover each other

}  // namespace

PointsView::PointsView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 200);
}

void PointsView::setPoints(std::vector<std::optional<QPointF>> points) {
    m_points = std::move(points);
    update();
}

void PointsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    std::vector<QPointF> known;
    for (const auto& p : m_points) {
        if (p) {
            known.push_back(*p);
        }
    }
    if (known.empty()) {
        return;
    }
    const auto [left, right] = std::minmax_element(
        known.begin(), known.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const auto [bottom, top] = std::minmax_element(
        known.begin(), known.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    const QRectF bounds(QPointF(left->x(), bottom->y()), QPointF(right->x(), top->y()));
    const double across = std::max({bounds.width(), bounds.height(), 1.0});
    const double scale = std::min(width() - 2.0 * kMargin, height() - 2.0 * kMargin) / across;
    const QPointF centre = bounds.center();
    const auto pixel = [&](QPointF p) {
        return QPointF(width() / 2.0 + (p.x() - centre.x()) * scale,
                       height() / 2.0 - (p.y() - centre.y()) * scale);
    };
    painter.setRenderHint(QPainter::Antialiasing);
    const bool numbered = m_points.size() <= kMostNumbers;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (!m_points[i]) {
            continue;
        }
        const QPointF at = pixel(*m_points[i]);
        painter.setPen(i == 0 ? QColor(200, 40, 40) : QColor(30, 60, 200));
        painter.drawEllipse(at, kMarkRadius, kMarkRadius);
        if (numbered) {
            painter.drawText(at + QPointF(kMarkRadius + 1, -kMarkRadius - 1),
                             QString::number(i + 1));
        }
    }
}

}  // namespace tesmara::ui
