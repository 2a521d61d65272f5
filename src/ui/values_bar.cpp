#include "ui/values_bar.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "holes/thread_table.hpp"
#include "ui/form.hpp"
#include "ui/prompts.hpp"

namespace tesmara::ui {

ValuesBar::ValuesBar(const Operation& op, Prompts& prompts, std::function<FormValues()> read,
                     QWidget* parent)
    : QWidget(parent), m_op(op), m_prompts(prompts), m_read(std::move(read)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 0, 0);
    auto* last = new QPushButton(tr("上次的值"), this);
    last->setObjectName(QStringLiteral("按钮_上次的值"));
    last->setToolTip(tr("填入上次生成程序时的值"));
    connect(last, &QPushButton::clicked, this, &ValuesBar::fillLast);
    layout->addWidget(last);

    m_presets = new QToolButton(this);
    m_presets->setObjectName(QStringLiteral("按钮_预设"));
    m_presets->setText(tr("预设"));
    m_presets->setPopupMode(QToolButton::InstantPopup);
    m_presets->setMenu(new QMenu(m_presets));
    connect(m_presets->menu(), &QMenu::aboutToShow, this, &ValuesBar::rebuildPresetMenu);
    layout->addWidget(m_presets);

    if (findField(op, "threadPitch") != nullptr) {
        m_threads = new QComboBox(this);
        m_threads->setObjectName(QStringLiteral("螺纹表"));
        m_threads->setToolTip(tr("按 ISO 公制螺纹填入大径、螺距和小径"));
        m_threads->addItem(tr("螺纹表…"));
        for (const MetricThread& thread : metricThreads()) {
            m_threads->addItem(qtText(threadName(thread)));
        }
        connect(m_threads, &QComboBox::activated, this,
                [this](int index) { chooseThread(index - 1); });
        layout->addWidget(m_threads);
    }
    layout->addStretch();
}

void ValuesBar::fillLast() {
    const auto values = rememberedValues().last(m_op);
    tellStoreProblem();
    if (values) {
        emit fill(*values);
    }
}

void ValuesBar::savePreset(const QString& name) {
    rememberedValues().savePreset(m_op, name, m_read());
    tellStoreProblem();
}

void ValuesBar::fillPreset(const QString& name) {
    const auto values = rememberedValues().preset(m_op, name);
    tellStoreProblem();
    if (values) {
        emit fill(*values);
    }
}

void ValuesBar::deletePreset(const QString& name) {
    rememberedValues().removePreset(m_op, name);
    tellStoreProblem();
}

void ValuesBar::chooseThread(int row) {
    const auto threads = metricThreads();
    if (row < 0 || row >= static_cast<int>(threads.size())) {
        return;
    }
    const ThreadTexts texts = threadTexts(threads[static_cast<std::size_t>(row)]);
    emit fill({{{"threadMajorDiameter", texts.majorDiameter},
                {"threadPitch", texts.pitch},
                {"threadMinorDiameter", texts.minorDiameter}},
               std::nullopt,
               std::nullopt});
}

void ValuesBar::askPresetName() {
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("存为预设"), tr("预设名称："),
                                               QLineEdit::Normal, QString(), &ok)
                             .trimmed();
    if (ok && !name.isEmpty()) {
        savePreset(name);
    }
}

// Built when it opens, so that presets saved in another window show up.
void ValuesBar::rebuildPresetMenu() {
    QMenu* menu = m_presets->menu();
    menu->clear();
    connect(menu->addAction(tr("存为预设…")), &QAction::triggered, this, &ValuesBar::askPresetName);
    const QStringList names = rememberedValues().presetNames(m_op);
    QMenu* remove = nullptr;
    if (!names.isEmpty()) {
        menu->addSeparator();
        remove = new QMenu(tr("删除预设"), menu);
    }
    for (const QString& name : names) {
        connect(menu->addAction(tr("填入“%1”").arg(name)), &QAction::triggered, this,
                [this, name] { fillPreset(name); });
        connect(remove->addAction(name), &QAction::triggered, this,
                [this, name] { deletePreset(name); });
    }
    if (remove != nullptr) {
        menu->addSeparator();
        menu->addMenu(remove);
    }
    tellStoreProblem();
}

void ValuesBar::tellStoreProblem() {
    if (const auto problem = rememberedValues().takeProblem()) {
        m_prompts.tell(window(), kErrorCaption, *problem);
    }
}

}  // namespace tesmara::ui
