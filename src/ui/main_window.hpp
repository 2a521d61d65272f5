#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>

#include "app/app_state.hpp"

namespace tesmara::ui {

class OperationWindow;
class Prompts;
class SettingsWindow;
class ToolTableWindow;

// The launcher: one button per operation, "汇出", "设置" and "刀具表". Creating it
// starts the run (empty workspace, default settings); destroying it ends it
// and takes the modeless windows with it.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(AppState& state, Prompts& prompts);

    // The open window of an operation, or null.
    OperationWindow* openWindow(const Operation& op) const;
    // "刀具表", also asked for by a preview that lacks a radius.
    void showToolTable();
    ToolTableWindow* toolTableWindow() const;

protected:
    // Programs collected and not exported are not given up without asking.
    void closeEvent(QCloseEvent* event) override;

private:
    void launch(const Operation& op);
    void showSettings();
    void exportWorkspace();

    AppState& m_state;
    Prompts& m_prompts;
    std::map<const Operation*, QPointer<OperationWindow>> m_windows;
    QPointer<SettingsWindow> m_settings;
    QPointer<ToolTableWindow> m_toolTable;
    QString m_lastPath;       // the export dialog's last confirmed path
    bool m_exported = false;  // "汇出" wrote its file; closing now loses nothing
};

}  // namespace tesmara::ui
