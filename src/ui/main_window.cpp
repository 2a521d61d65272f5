#include "ui/main_window.hpp"

#include <QCloseEvent>
#include <QPushButton>

#include "app/session.hpp"
#include "ui/form.hpp"
#include "ui/operation_window.hpp"
#include "ui/prompts.hpp"
#include "ui/settings_window.hpp"
#include "ui/tool_table_window.hpp"

namespace tesmara::ui {

namespace {

using enum ControlKind;

constexpr std::string_view kExportButton = "按钮_汇出";
constexpr std::string_view kSettingsButton = "按钮_设置窗口";
constexpr std::string_view kToolTableButton = "按钮_刀具表";

// The launchers come from the operations; these are the main window's own.
constexpr Control kControls[] = {
    {kExportButton, Button, "", "汇出", {88, 176, 80, 32}},
    {kSettingsButton, Button, "", "设置", {176, 176, 80, 32}},
    {kToolTableButton, Button, "", "刀具表", {264, 176, 80, 32}},
    {"通用对话框1", SaveDialog, "", "", {328, 184, 26, 26}},
};

}  // namespace

MainWindow::MainWindow(AppState& state, Prompts& prompts)
    : QWidget(nullptr), m_state(state), m_prompts(prompts) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tesmara"));
    move(50, 50);
    resize(380, 250);
    std::vector<Control> controls(std::begin(kControls), std::end(kControls));
    for (const Operation* op : catalog()) {
        controls.push_back(op->launcher);
    }
    buildForm(this, controls);
    for (const Operation* op : catalog()) {
        connect(findChild<QPushButton*>(qtText(op->launcher.name)), &QPushButton::clicked, this,
                [this, op] { launch(*op); });
    }
    connect(findChild<QPushButton*>(qtText(kExportButton)), &QPushButton::clicked, this,
            &MainWindow::exportWorkspace);
    connect(findChild<QPushButton*>(qtText(kSettingsButton)), &QPushButton::clicked, this,
            &MainWindow::showSettings);
    connect(findChild<QPushButton*>(qtText(kToolTableButton)), &QPushButton::clicked, this,
            &MainWindow::showToolTable);
    const RunStart start = startRun(m_state);
    tellErrors(m_prompts, this, start.errors);
    if (start.notice) {
        m_prompts.tell(this, kInfoCaption, QString::fromStdString(*start.notice));
    }
    QString problem;
    m_state.tools = loadToolTable(problem);
    if (!problem.isEmpty()) {
        m_prompts.tell(this, kErrorCaption, problem);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_exported && holdsUnexportedPrograms(m_state) &&
        !m_prompts.askYesNo(this, QStringLiteral("确认："),
                            QStringLiteral("工作区里有尚未汇出的程序。\n"
                                           "现在退出，下次启动时它们会保存为“%1”。\n"
                                           "要退出吗？")
                                .arg(qtText(kBackupMainName)))) {
        event->ignore();
        return;
    }
    event->accept();
}

OperationWindow* MainWindow::openWindow(const Operation& op) const {
    const auto found = m_windows.find(&op);
    return found == m_windows.end() ? nullptr : found->second.data();
}

void MainWindow::launch(const Operation& op) {
    if (OperationWindow* open = openWindow(op)) {
        bringToFront(open);
        return;
    }
    auto* window = new OperationWindow(m_state, op, m_prompts, this);
    connect(window, &OperationWindow::toolTableRequested, this, &MainWindow::showToolTable);
    m_windows[&op] = window;
    window->show();
}

void MainWindow::showSettings() {
    if (m_settings != nullptr) {
        bringToFront(m_settings);
        return;
    }
    m_settings = new SettingsWindow(m_state, this);
    m_settings->show();
}

ToolTableWindow* MainWindow::toolTableWindow() const {
    return m_toolTable.data();
}

void MainWindow::showToolTable() {
    if (m_toolTable != nullptr) {
        bringToFront(m_toolTable);
        return;
    }
    m_toolTable = new ToolTableWindow(m_state, m_prompts, this);
    // Every open preview shows the new radii at once.
    connect(m_toolTable, &ToolTableWindow::tableChanged, this, [this] {
        for (const auto& [op, window] : m_windows) {
            if (window != nullptr) {
                window->refreshPreview();
            }
        }
    });
    m_toolTable->show();
}

// Only a written file ends the run: a cancel, an unusable workspace or a
// failed write returns to the main window with everything collected.
void MainWindow::exportWorkspace() {
    if (const std::vector<std::string> errors = readForExport(m_state); !errors.empty()) {
        tellErrors(m_prompts, this, errors);
        return;
    }
    const auto path = askOutputPath(m_prompts, this, m_lastPath);
    if (!path) {
        return;
    }
    if (const auto error = writeExport(m_state, *path)) {
        tellErrors(m_prompts, this, {*error});
        return;
    }
    m_exported = true;
    m_prompts.tell(nullptr, kInfoCaption, QStringLiteral("谢谢使用！！"));
    close();
}

}  // namespace tesmara::ui
