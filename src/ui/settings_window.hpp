#pragma once

#include <QWidget>

#include "app/app_state.hpp"

class QLineEdit;

namespace tesmara::ui {

// "设置": shows the two settings when it opens; "确定" stores them and closes.
// Closing it by its frame changes nothing.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    SettingsWindow(AppState& state, QWidget* owner);

private:
    void onApply();

    AppState& m_state;
    QLineEdit* m_safeHeight = nullptr;
    QLineEdit* m_workOffset = nullptr;
};

}  // namespace tesmara::ui
