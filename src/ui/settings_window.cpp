#include "ui/settings_window.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "app/session.hpp"
#include "ui/form.hpp"

namespace tesmara::ui {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"标签1", Label, "", "安全高度：", {24, 8, 56, 20}},
    {"编辑框1", EditBox, "", "", {88, 8, 60, 20}},
    {"标签2", Label, "", "坐标：", {24, 32, 64, 24}},
    {"编辑框2", EditBox, "", "", {88, 32, 60, 20}},
    {"按钮1", Button, "", "确定", {40, 72, 80, 32}},
};

}  // namespace

SettingsWindow::SettingsWindow(AppState& state, QWidget* owner)
    : QWidget(owner, Qt::Window), m_state(state) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("设置"));
    move(50, 50);
    resize(173, 151);
    buildForm(this, kControls);
    m_safeHeight = findChild<QLineEdit*>(QStringLiteral("编辑框1"));
    m_workOffset = findChild<QLineEdit*>(QStringLiteral("编辑框2"));
    m_safeHeight->setText(QString::fromStdString(shownSafeHeight(state.settings.safeHeight)));
    m_workOffset->setText(QString::fromStdString(state.settings.workOffset));
    connect(findChild<QPushButton*>(QStringLiteral("按钮1")), &QPushButton::clicked, this,
            &SettingsWindow::onApply);
}

void SettingsWindow::onApply() {
    applySettings(m_state, m_safeHeight->text().toStdString(), m_workOffset->text().toStdString());
    close();
}

}  // namespace tesmara::ui
