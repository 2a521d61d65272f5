#pragma once

#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

#include "app/session.hpp"

class QLabel;
class QListWidget;
class QPushButton;

namespace tesmara::ui {

class PathView;

// Beside an operation's form: the toolpath of its program slot, a summary
// and the diagnostics. Choosing a diagnostic of the slot, or clicking one of
// its moves in the drawing, asks for its line.
class PreviewPane : public QWidget {
    Q_OBJECT

public:
    explicit PreviewPane(QWidget* parent);

    // nullopt: no program yet.
    void showCheck(std::optional<SlotCheck> check);
    // Until the next showCheck: the program is being checked.
    void showRunning();

    const std::optional<SlotCheck>& shownCheck() const { return m_check; }
    const PathView& pathView() const { return *m_view; }
    // Forwarded to the drawing: the hole list's centres and the chosen one.
    void setHoleMarks(std::vector<std::optional<QPointF>> centres, int chosen);

signals:
    void lineChosen(int line);
    void holeChosen(int index);
    // The run lacks a tool's diameter or a register's radius.
    void toolTableRequested();

private:
    void showSummary();
    QString toolText() const;
    void listDiagnostics();
    void chooseRow(int row);

    std::optional<SlotCheck> m_check;
    PathView* m_view = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_toolTable = nullptr;
    QListWidget* m_diagnostics = nullptr;
};

}  // namespace tesmara::ui
