#pragma once

#include <QWidget>
#include <functional>

#include "app/app_state.hpp"

class QGridLayout;
class QPushButton;
class QTableWidget;

namespace tesmara::ui {

class HolePointsDialog;

// Beside a multi-hole form: every hole of the list with the texts its block
// was built from. A chosen hole can be replaced by the form's texts ("修改"),
// deleted, moved, and the last change undone; patterns and files add holes
// with the form's current texts after the operator has seen them.
class HoleListPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 250;

    HoleListPanel(MultiHoleState& state, const Operation& op,
                  std::function<FieldValues()> readFields, QWidget* parent);

    // Shows the list as it is now, keeping `select` chosen (-1: none).
    void refresh(int select = -1);
    int chosenHole() const;
    void chooseHole(int index);

    void replaceChosen();
    void removeChosen();
    void moveChosen(int offset);
    void undo();
    void offerBoltCircle();
    void offerGrid();
    void importCsv(const QString& path);
    void importDxf(const QString& path);

    QTableWidget* table() const { return m_table; }

signals:
    void holeChosen(int index);  // -1 when none is
    void listChanged();

private:
    void buildButtons();
    QPushButton* addButton(const QString& name, const QString& caption, int row, int column,
                           std::function<void()> action);
    void offer(HolePointsDialog& dialog);
    void changed(int select);
    void enableButtons();

    MultiHoleState& m_state;
    const Operation& m_op;
    std::function<FieldValues()> m_readFields;
    std::vector<std::string_view> m_columns;  // field names, X and Y first
    QTableWidget* m_table = nullptr;
    QGridLayout* m_buttons = nullptr;
    std::vector<QPushButton*> m_needChoice;
    QPushButton* m_undo = nullptr;
};

}  // namespace tesmara::ui
