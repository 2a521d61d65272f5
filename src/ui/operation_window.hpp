#pragma once

#include <QString>
#include <QWidget>

#include "app/app_state.hpp"

class QCheckBox;
class QPlainTextEdit;

namespace tesmara::ui {

class Prompts;

// One operation's window, built from its form table. Modeless windows are
// owned by `owner`; modal ones have no owner and block the whole program.
class OperationWindow : public QWidget {
    Q_OBJECT

public:
    OperationWindow(AppState& state, const Operation& op, Prompts& prompts, QWidget* owner);
    ~OperationWindow() override;

    const Operation& operation() const { return m_op; }

private:
    void connectButton(std::string_view name, void (OperationWindow::*handler)());
    FieldValues readFields() const;
    void writeFields(const FieldValues& fields);
    bool ticked(std::string_view box) const;

    void onGenerate();
    void onSave();
    void onAppend();
    void onNextHole();

    AppState& m_state;
    const Operation& m_op;
    Prompts& m_prompts;
    QPlainTextEdit* m_output = nullptr;
    QString m_lastPath;  // the save dialog's last confirmed path, for this opening
};

}  // namespace tesmara::ui
