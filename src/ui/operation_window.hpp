#pragma once

#include <QString>
#include <QWidget>

#include "app/app_state.hpp"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace tesmara::ui {

class CheckRunner;
class HoleListPanel;
class PreviewPane;
class Prompts;
class ValuesBar;
struct FormValues;

// One operation's window, built from its form table. Modeless windows are
// owned by `owner`; modal ones have no owner and block the whole program.
// The toolpath preview sits to the right of the form, and a strip under both
// holds the button that hides or shows it.
class OperationWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPreviewWidth = 440;
    static constexpr int kStripHeight = 30;

    OperationWindow(AppState& state, const Operation& op, Prompts& prompts, QWidget* owner);
    ~OperationWindow() override;

    const Operation& operation() const { return m_op; }
    PreviewPane* preview() const { return m_preview; }
    const CheckRunner& previewCheck() const { return *m_check; }
    HoleListPanel* holeList() const { return m_holes; }
    ValuesBar* valuesBar() const { return m_values; }
    // The preview runs the program slot again, e.g. with a new tool table.
    void refreshPreview() { showProgramSlot(); }

signals:
    void toolTableRequested();

private:
    void connectButton(std::string_view name, void (OperationWindow::*handler)());
    FieldValues readFields() const;
    void writeFields(const FieldValues& fields);
    bool ticked(std::string_view box) const;
    FormValues formValues() const;
    void fillForm(const FormValues& values);
    int formWidth() const;
    void buildHoleList();
    void onHoleChosen(int index);
    void showHoleCount();

    void onGenerate();
    void onSave();
    void onAppend();
    void onNextHole();
    void onTogglePreview();

    void buildPreview();
    void placePreview();
    void showProgramSlot();
    void selectOutputLine(int line);

    AppState& m_state;
    const Operation& m_op;
    Prompts& m_prompts;
    QPlainTextEdit* m_output = nullptr;
    PreviewPane* m_preview = nullptr;
    CheckRunner* m_check = nullptr;
    QPushButton* m_previewToggle = nullptr;
    HoleListPanel* m_holes = nullptr;
    ValuesBar* m_values = nullptr;
    QString m_lastPath;  // the save dialog's last confirmed path, for this opening
};

}  // namespace tesmara::ui
