#pragma once

#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>
#include <optional>
#include <vector>

#include "check/plot.hpp"

class QPainter;

namespace tesmara::ui {

// The top and side views of a checked program, drawn as `tesmara-cli plot`
// draws them but fitted to the cut. The scene is built when the result or the
// size changes, never while painting.
class PathView : public QWidget {
    Q_OBJECT

public:
    explicit PathView(QWidget* parent);

    // Nothing to draw (no program yet) shows `hint` instead.
    void showResult(const check::CheckResult* result);
    void setHint(const QString& hint);
    // The moves of one source line are drawn over the rest, with the tool at
    // the end of its first move when the tool table knows it; 0 for none.
    void highlightLine(int line);

    // The hole list's centres in work coordinates, in list order (nothing for
    // a hole whose coordinates are not numbers); the chosen one is ringed.
    void setHoleMarks(std::vector<std::optional<QPointF>> centres, int chosen);
    int chosenHole() const { return m_chosenHole; }

    const check::PlotScene& scene() const { return m_scene; }
    const QString& hint() const { return m_hint; }
    int highlightedLine() const { return m_highlight; }

signals:
    // A click on or near a move: the source line it came from.
    void moveChosen(int line);
    // A click on or near a centre of the hole list: its index.
    void holeChosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Polyline {
        QPolygonF points;
        QColor colour;
        bool dashed = false;
        bool wide = false;
        int view = 0;
        int line = 0;
        double band = 0.0;
        bool filled = false;
    };

    // The moves of one view drawn with one pen, in one go.
    struct Batch {
        QPen pen;
        QPainterPath path;
        int view = 0;
    };

    void rebuild();
    void batchPolylines();
    int lineNear(const QPointF& point) const;
    std::optional<QPointF> holePixel(std::size_t index) const;
    int holeNear(const QPointF& point) const;
    void renderPicture();
    void paintCaptions(QPainter& painter) const;
    void paintTool(QPainter& painter) const;

    const check::CheckResult* m_result = nullptr;
    check::PlotScene m_scene;
    std::vector<Polyline> m_polylines;  // one per stroke, to pick and highlight
    std::vector<Batch> m_batches;
    QPixmap m_picture;  // everything but the highlight
    QString m_hint;
    int m_highlight = 0;
    std::vector<std::optional<QPointF>> m_holeCentres;
    int m_chosenHole = -1;
};

}  // namespace tesmara::ui
