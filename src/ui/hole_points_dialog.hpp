#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

#include "holes/import_problem.hpp"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tesmara::ui {

class PointsView;

// Shows the holes a pattern or a file would add, and why any line gives none,
// before anything is added. A pattern's values (or a drawing's diameter) are
// typed at the top; the holes follow as they are typed.
class HolePointsDialog : public QDialog {
    Q_OBJECT

public:
    using Compute = std::function<HoleImport(const std::vector<std::string>& inputs)>;

    HolePointsDialog(const QString& title, const QStringList& inputs, Compute compute,
                     QWidget* parent);

    QLineEdit* input(int index) const { return m_inputs.at(static_cast<std::size_t>(index)); }
    const HoleImport& offered() const { return m_offered; }
    QPushButton* addButton() const { return m_add; }

private:
    void recompute();

    Compute m_compute;
    std::vector<QLineEdit*> m_inputs;
    PointsView* m_view = nullptr;
    QLabel* m_count = nullptr;
    QListWidget* m_problems = nullptr;
    QPushButton* m_add = nullptr;
    HoleImport m_offered;
};

// The operator's words for a problem, with its line when it has one.
QString problemText(const ImportProblem& problem);

}  // namespace tesmara::ui
