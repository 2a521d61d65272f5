#include "ui/path_view.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "check/format.hpp"

namespace tesmara::ui {

namespace {

constexpr QColor kFrameColour{221, 221, 221};
constexpr QColor kCaptionColour{80, 80, 80};
constexpr QColor kHintColour{128, 128, 128};
constexpr QColor kHighlightColour{0, 120, 215};

constexpr double kPickDistance = 6.0;  // pixels

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// A little wider than the view, so that a line on its edge is not cut in half.
QRectF clipRectOf(const check::View& v) {
    return QRectF(v.left, v.top, v.width, v.height).adjusted(-2, -2, 2, 2);
}

QColor qtColour(check::Rgb c) {
    return {c.r, c.g, c.b};
}

QPen strokePen(const QColor& colour, double width, bool dashed) {
    QPen pen(colour, width);
    pen.setCosmetic(true);
    if (dashed) {
        pen.setDashPattern({4.0, 3.0});
    }
    return pen;
}

// The feed moves and the hole centres with a little room around them: what
// the operator looks for, rather than the way from the reference point. A
// program stopped before its first cut shows the moves it made.
check::Extents cutExtents(const check::CheckResult& result) {
    constexpr double kRoom = 0.06;
    constexpr double kLeastAcross = 2.0;  // mm, so that a drilled hole is not blown up to the frame
    constexpr double kLeastDown = 0.5;
    const check::Summary& s = result.summary;
    check::Extents e = s.feedExtents.valid ? s.feedExtents : check::moveExtents(result.segments);
    for (const check::Point3& o : s.localOrigins) {
        e.add({o.x, o.y, e.min.z});
    }
    const double across = kRoom * std::max(e.max.x - e.min.x, e.max.y - e.min.y) + kLeastAcross;
    const double down = kRoom * (e.max.z - e.min.z) + kLeastDown;
    e.min = {e.min.x - across, e.min.y - across, e.min.z - down};
    e.max = {e.max.x + across, e.max.y + across, e.max.z + down};
    return e;
}

check::PlotScene sceneOf(const check::CheckResult& result, double width, double height) {
    return check::buildScene(result, width, height, cutExtents(result));
}

}  // namespace

PathView::PathView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 160);
    setToolTip(QStringLiteral("点击刀具路径，在程序中选中它所在的行"));
}

void PathView::showResult(const check::CheckResult* result) {
    m_result = result;
    m_highlight = 0;
    rebuild();
}

void PathView::setHint(const QString& hint) {
    m_hint = hint;
    renderPicture();
    update();
}

void PathView::highlightLine(int line) {
    m_highlight = line;
    update();
}

void PathView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rebuild();
}

void PathView::setHoleMarks(std::vector<std::optional<QPointF>> centres, int chosen) {
    m_holeCentres = std::move(centres);
    m_chosenHole = chosen;
    update();
}

std::optional<QPointF> PathView::holePixel(std::size_t index) const {
    if (m_scene.views.empty() || index >= m_holeCentres.size() || !m_holeCentres[index]) {
        return std::nullopt;
    }
    const check::View& top = m_scene.views[0];
    const check::Point3 centre{m_holeCentres[index]->x(), m_holeCentres[index]->y(), 0.0};
    return QPointF(top.px(centre), top.py(centre));
}

int PathView::holeNear(const QPointF& point) const {
    double best = kPickDistance;
    int hole = -1;
    for (std::size_t i = 0; i < m_holeCentres.size(); ++i) {
        const auto pixel = holePixel(i);
        if (pixel && std::hypot(pixel->x() - point.x(), pixel->y() - point.y()) < best) {
            best = std::hypot(pixel->x() - point.x(), pixel->y() - point.y());
            hole = static_cast<int>(i);
        }
    }
    return hole;
}

void PathView::mousePressEvent(QMouseEvent* event) {
    const int hole = holeNear(event->position());
    if (hole >= 0) {
        m_chosenHole = hole;
        update();
        emit holeChosen(hole);
        return;
    }
    const int line = lineNear(event->position());
    if (line > 0) {
        highlightLine(line);
        emit moveChosen(line);
    }
}

// The nearest move drawn within reach, in the view clicked; rapids and feeds
// alike, not the centre marks.
int PathView::lineNear(const QPointF& point) const {
    double best = kPickDistance;
    int line = 0;
    for (const Polyline& p : m_polylines) {
        const check::View& v = m_scene.views[static_cast<std::size_t>(p.view)];
        if (p.line == 0 || !clipRectOf(v).contains(point)) {
            continue;
        }
        for (qsizetype i = 1; i < p.points.size(); ++i) {
            const double d = distanceToSegment(point, p.points[i - 1], p.points[i]);
            if (d < best) {
                best = d;
                line = p.line;
            }
        }
    }
    return line;
}

void PathView::rebuild() {
    m_scene = {};
    m_polylines.clear();
    if (m_result != nullptr && !m_result->segments.empty()) {
        m_scene = sceneOf(*m_result, width(), height());
        for (const check::Stroke& s : m_scene.strokes) {
            Polyline p{{}, qtColour(s.colour), s.dashed, s.wide, s.view, s.line};
            p.points.reserve(static_cast<qsizetype>(s.xy.size() / 2));
            for (std::size_t i = 0; i + 1 < s.xy.size(); i += 2) {
                p.points.append({s.xy[i], s.xy[i + 1]});
            }
            m_polylines.push_back(std::move(p));
        }
    }
    renderPicture();
    update();
}

void PathView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_chosenHole >= 0) {
        if (const auto ring = holePixel(static_cast<std::size_t>(m_chosenHole))) {
            painter.setPen(strokePen(kHighlightColour, 2.0, false));
            painter.drawEllipse(*ring, kPickDistance + 2, kPickDistance + 2);
        }
    }
    if (m_highlight <= 0) {
        return;
    }
    painter.setPen(strokePen(kHighlightColour, 3.0, false));
    for (std::size_t v = 0; v < m_scene.views.size(); ++v) {
        painter.setClipRect(clipRectOf(m_scene.views[v]));
        for (const Polyline& p : m_polylines) {
            if (p.view == static_cast<int>(v) && p.line == m_highlight) {
                painter.drawPolyline(p.points);
            }
        }
    }
}

// Once per scene: a program of many holes has tens of thousands of moves, too
// many to draw again whenever the window is uncovered.
void PathView::renderPicture() {
    m_picture = QPixmap(size() * devicePixelRatioF());
    m_picture.setDevicePixelRatio(devicePixelRatioF());
    m_picture.fill(Qt::white);
    QPainter painter(&m_picture);
    if (m_scene.views.empty()) {
        painter.setPen(kHintColour);
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         m_hint);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t v = 0; v < m_scene.views.size(); ++v) {
        const check::View& view = m_scene.views[v];
        painter.setClipping(false);
        painter.setPen(kFrameColour);
        painter.drawRect(QRectF(view.left, view.top, view.width, view.height));
        // The views are fitted to the cut: a rapid from far away must not
        // cross the other view.
        painter.setClipRect(clipRectOf(view));
        for (const Polyline& p : m_polylines) {
            if (p.view == static_cast<int>(v)) {
                painter.setPen(strokePen(p.colour, p.wide ? 2.0 : 1.0, p.dashed));
                painter.drawPolyline(p.points);
            }
        }
    }
    painter.setClipping(false);
    paintCaptions(painter);
}

void PathView::paintCaptions(QPainter& painter) const {
    const check::View& top = m_scene.views[0];
    const check::View& side = m_scene.views[1];
    QString sideCaption = QStringLiteral("侧视 (X, Z)");
    const double stretch = side.vscale / side.scale;
    const auto times = [](double f) { return QString::fromStdString(check::formatShort(f, 1)); };
    if (stretch > 1.05) {
        sideCaption += QStringLiteral("，Z 放大 %1 倍").arg(times(stretch));
    } else if (stretch < 0.95) {
        sideCaption += QStringLiteral("，Z 缩小为 1/%1").arg(times(1.0 / stretch));
    }
    painter.setPen(kCaptionColour);
    painter.drawText(QPointF(top.left, top.top - 8), QStringLiteral("俯视 (X, Y)"));
    painter.drawText(QPointF(side.left, side.top - 8), sideCaption);
}

}  // namespace tesmara::ui
