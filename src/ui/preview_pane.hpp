#pragma once

#include <QWidget>
#include <optional>

#include "check/check.hpp"

class QLabel;
class QListWidget;

namespace tesmara::ui {

class PathView;

// Beside an operation's form: the toolpath of its program slot, a summary
// and the diagnostics. Choosing a diagnostic asks for its line.
class PreviewPane : public QWidget {
    Q_OBJECT

public:
    explicit PreviewPane(QWidget* parent);

    // nullopt: no program yet.
    void showCheck(std::optional<check::CheckResult> result);

    const std::optional<check::CheckResult>& shownCheck() const { return m_result; }
    const PathView& pathView() const { return *m_view; }

signals:
    void lineChosen(int line);

private:
    void showSummary();
    void listDiagnostics();
    void chooseRow(int row);

    std::optional<check::CheckResult> m_result;
    PathView* m_view = nullptr;
    QLabel* m_summary = nullptr;
    QListWidget* m_diagnostics = nullptr;
};

}  // namespace tesmara::ui
