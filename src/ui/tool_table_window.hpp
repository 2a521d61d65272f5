#pragma once

#include <QString>
#include <QWidget>

#include "app/app_state.hpp"

class QTableWidget;

namespace tesmara::ui {

class Prompts;

// The tool table as the operator last stored it, kept per user; a stored
// text that cannot be read gives an empty table and the reason in `problem`.
check::ToolTable loadToolTable(QString& problem);
void storeToolTable(const check::ToolTable& table);

// The reason a tool table row is refused, for the operator.
QString toolTableProblemText(const check::ToolTableRead& read);

// "刀具表": one row per tool (number, diameter, the register D holding its
// radius when not the tool's own). "确定" checks every row, stores the table
// for this and later runs and closes; a row in error keeps the window open.
class ToolTableWindow : public QWidget {
    Q_OBJECT

public:
    ToolTableWindow(AppState& state, Prompts& prompts, QWidget* owner);

signals:
    void tableChanged();

private:
    void addRow(const check::ToolEntry& entry);
    void onAdd();
    void onRemove();
    void onApply();

    AppState& m_state;
    Prompts& m_prompts;
    QTableWidget* m_table = nullptr;
};

}  // namespace tesmara::ui
