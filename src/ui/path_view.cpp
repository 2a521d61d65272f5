#include "ui/path_view.hpp"

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

check::CheckResult drawnPart(const check::CheckResult& result) {
    check::CheckResult part;
    part.summary = result.summary;
    part.segments.assign(result.segments.begin(),
                         result.segments.begin() + PathView::kMaxDrawnSegments);
    return part;
}

// The feed moves and the hole centres with a little room around them: what
// the operator looks for, rather than the way from the reference point.
std::optional<check::Extents> cutFrame(const check::Summary& s) {
    if (!s.feedExtents.valid) {
        return std::nullopt;
    }
    constexpr double kRoom = 0.06;
    constexpr double kLeastAcross = 2.0;  // mm, so that a drilled hole is not blown up to the frame
    constexpr double kLeastDown = 0.5;
    check::Extents e = s.feedExtents;
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
    const auto frame = cutFrame(result.summary);
    return frame ? check::buildScene(result, width, height, *frame)
                 : check::buildScene(result, width, height);
}

}  // namespace

PathView::PathView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 160);
}

void PathView::showResult(const check::CheckResult* result) {
    m_result = result;
    m_highlight = 0;
    rebuild();
}

void PathView::setHint(const QString& hint) {
    m_hint = hint;
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

void PathView::rebuild() {
    m_scene = {};
    m_polylines.clear();
    if (m_result != nullptr && !m_result->segments.empty()) {
        m_scene = m_result->segments.size() <= kMaxDrawnSegments
                      ? sceneOf(*m_result, width(), height())
                      : sceneOf(drawnPart(*m_result), width(), height());
        for (const check::Stroke& s : m_scene.strokes) {
            Polyline p{{}, qtColour(s.colour), s.dashed, s.wide, s.view, s.line};
            p.points.reserve(static_cast<qsizetype>(s.xy.size() / 2));
            for (std::size_t i = 0; i + 1 < s.xy.size(); i += 2) {
                p.points.append({s.xy[i], s.xy[i + 1]});
            }
            m_polylines.push_back(std::move(p));
        }
    }
    update();
}

void PathView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_scene.views.empty()) {
        painter.setPen(kHintColour);
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         m_hint);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t v = 0; v < m_scene.views.size(); ++v) {
        paintView(painter, static_cast<int>(v));
    }
    painter.setClipping(false);
    paintCaptions(painter);
}

// Clipped to its frame, since the views are fitted to the cut and a rapid from
// far away would otherwise cross the other view.
void PathView::paintView(QPainter& painter, int view) const {
    const check::View& v = m_scene.views[static_cast<std::size_t>(view)];
    const QRectF frame(v.left, v.top, v.width, v.height);
    painter.setClipping(false);
    painter.setPen(kFrameColour);
    painter.drawRect(frame);
    painter.setClipRect(frame.adjusted(-2, -2, 2, 2));
    for (const Polyline& p : m_polylines) {
        if (p.view == view) {
            painter.setPen(strokePen(p.colour, p.wide ? 2.0 : 1.0, p.dashed));
            painter.drawPolyline(p.points);
        }
    }
    if (m_highlight > 0) {
        painter.setPen(strokePen(kHighlightColour, 3.0, false));
        for (const Polyline& p : m_polylines) {
            if (p.view == view && p.line == m_highlight) {
                painter.drawPolyline(p.points);
            }
        }
    }
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
