#pragma once

#include <QWidget>
#include <functional>

#include "ui/remembered_values.hpp"

class QComboBox;
class QToolButton;

namespace tesmara::ui {

class Prompts;

// Under a form: "上次的值" fills the fields from the last Generate, "预设"
// saves, fills and deletes named presets, and a thread window's "螺纹表"
// fills the three thread fields from the ISO metric table.
class ValuesBar : public QWidget {
    Q_OBJECT

public:
    ValuesBar(const Operation& op, Prompts& prompts, std::function<FormValues()> read,
              QWidget* parent);

    void fillLast();
    void savePreset(const QString& name);
    void fillPreset(const QString& name);
    void deletePreset(const QString& name);
    void chooseThread(int row);  // a row of metricThreads()

signals:
    void fill(const FormValues& values);

private:
    void askPresetName();
    void rebuildPresetMenu();
    void tellStoreProblem();

    const Operation& m_op;
    Prompts& m_prompts;
    std::function<FormValues()> m_read;
    QToolButton* m_presets = nullptr;
    QComboBox* m_threads = nullptr;
};

}  // namespace tesmara::ui
