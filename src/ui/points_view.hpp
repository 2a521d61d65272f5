#pragma once

#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

namespace tesmara::ui {

// Hole centres seen from above, fitted to the widget, numbered in list order;
// a hole whose coordinates are not numbers is left out.
class PointsView : public QWidget {
    Q_OBJECT

public:
    explicit PointsView(QWidget* parent);

    void setPoints(std::vector<std::optional<QPointF>> points);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::optional<QPointF>> m_points;
};

}  // namespace tesmara::ui
