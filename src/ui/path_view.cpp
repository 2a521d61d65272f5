#include "ui/path_view.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

#include "check/format.hpp"

namespace tesmara::ui {

namespace {

constexpr QColor kFrameColour{221, 221, 221};
constexpr QColor kCaptionColour{80, 80, 80};
constexpr QColor kHintColour{128, 128, 128};
constexpr QColor kHighlightColour{0, 120, 215};
constexpr QColor kToolColour{120, 60, 0};

constexpr double kPickDistance = 6.0;  // pixels
constexpr double kSubPixel = 0.5;      // points closer than this to the last one are not drawn

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
    if (const check::Extents swept = check::sweptExtents(result); swept.valid) {
        e.add(swept.min);
        e.add(swept.max);
    }
    const double across = kRoom * std::max(e.max.x - e.min.x, e.max.y - e.min.y) + kLeastAcross;
    const double down = kRoom * (e.max.z - e.min.z) + kLeastDown;
    e.min = {e.min.x - across, e.min.y - across, e.min.z - down};
    e.max = {e.max.x + across, e.max.y + across, e.max.z + down};
    return e;
}

// The stroke's points in pixels, leaving out those that would not show.
QPolygonF simplified(const std::vector<double>& xy) {
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(xy.size() / 2));
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        const QPointF p(xy[i], xy[i + 1]);
        const bool last = i + 3 >= xy.size();
        if (!points.isEmpty() && !last && (p - points.back()).manhattanLength() < kSubPixel) {
            continue;
        }
        points.append(p);
    }
    return points;
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

// The hint shows only while there is nothing to draw; a drawing is not drawn again for it.
void PathView::setHint(const QString& hint) {
    m_hint = hint;
    if (m_scene.views.empty()) {
        renderPicture();
        update();
    }
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
            m_polylines.push_back({simplified(s.xy), qtColour(s.colour), s.dashed, s.wide, s.view,
                                   s.line, s.band, s.filled});
        }
    }
    batchPolylines();
    renderPicture();
    update();
}

// Thousands of short moves drawn one by one cost far more than their pixels:
// the moves of one view and one pen become one path, in the order that pen
// first appears.
void PathView::batchPolylines() {
    m_batches.clear();
    std::map<std::tuple<int, QRgb, bool, bool>, std::size_t> byPen;
    for (const Polyline& p : m_polylines) {
        if (p.filled || p.band > 0.0) {
            continue;  // the tool's sweep, drawn beneath the moves
        }
        const auto key = std::make_tuple(p.view, p.colour.rgb(), p.dashed, p.wide);
        auto [at, added] = byPen.try_emplace(key, m_batches.size());
        if (added) {
            m_batches.push_back({strokePen(p.colour, p.wide ? 2.0 : 1.0, p.dashed), {}, p.view});
        }
        QPainterPath& path = m_batches[at->second].path;
        path.addPolygon(p.points);
    }
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
            if (p.view == static_cast<int>(v) && p.line == m_highlight && p.band == 0.0 &&
                !p.filled) {
                painter.drawPolyline(p.points);
            }
        }
    }
    paintTool(painter);
}

// The tool as it stands at the end of the selected line's first move: a
// circle of its diameter seen from above, its outline from the side.
void PathView::paintTool(QPainter& painter) const {
    if (m_result == nullptr) {
        return;
    }
    const std::vector<check::Segment>& path =
        m_result->centrePath.empty() ? m_result->segments : m_result->centrePath;
    const auto move = std::find_if(path.begin(), path.end(), [this](const check::Segment& s) {
        return s.line == m_highlight;
    });
    const std::optional<double> d =
        move == path.end() ? std::nullopt : m_result->tools.diameter(move->tool);
    if (!d) {
        return;
    }
    const check::View& top = m_scene.views[0];
    const check::View& side = m_scene.views[1];
    const double r = *d / 2;
    painter.setPen(strokePen(kToolColour, 1.5, false));
    painter.setClipRect(clipRectOf(top));
    painter.drawEllipse(QPointF(top.px(move->end), top.py(move->end)), r * top.scale,
                        r * top.scale);
    painter.setClipRect(clipRectOf(side));
    const check::Point3 tip = move->end;
    const double left = side.px({tip.x - r, 0, 0});
    const double right = side.px({tip.x + r, 0, 0});
    const double bottom = side.py(tip);
    painter.drawRect(QRectF(QPointF(left, side.top), QPointF(right, bottom)));
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
            if (p.view != static_cast<int>(v)) {
                continue;
            }
            if (p.filled) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(p.colour);
                painter.drawPolygon(p.points);
                painter.setBrush(Qt::NoBrush);
            } else if (p.band > 0.0) {
                QPen pen(p.colour, p.band, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
                painter.setPen(pen);
                painter.drawPolyline(p.points);
            }
        }
        for (const Batch& b : m_batches) {
            if (b.view == static_cast<int>(v)) {
                painter.strokePath(b.path, b.pen);
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
    const bool swept = std::any_of(m_polylines.begin(), m_polylines.end(),
                                   [](const Polyline& p) { return p.band > 0.0; });
    painter.drawText(QPointF(top.left, top.top - 8),
                     swept ? QStringLiteral("俯视 (X, Y)：底色为刀具扫过，蓝线为刀具中心")
                           : QStringLiteral("俯视 (X, Y)"));
    painter.drawText(QPointF(side.left, side.top - 8), sideCaption);
}

}  // namespace tesmara::ui
