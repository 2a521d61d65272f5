#include "ui/tool_table_window.hpp"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

#include "check/format.hpp"
#include "ui/prompts.hpp"

namespace tesmara::ui {

namespace {

const QString kSettingsKey = QStringLiteral("toolTable/csv");

enum Column { kTool, kDiameter, kRegister, kColumns };

// The file the remembered values live in, one per user.
QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tesmara"),
                     QStringLiteral("tesmara"));
}

QString cellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item != nullptr ? item->text().trimmed() : QString();
}

// One CSV line per row, so that a problem's line names its row.
std::string csvOf(const QTableWidget& table) {
    std::string csv = "tool,diameter,radius_register\n";
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < kColumns; ++column) {
            cells << cellText(table, row, column).remove(QLatin1Char(','));
        }
        const bool blank = cells.join(QString()).isEmpty();
        csv += (blank ? QString() : cells.join(QLatin1Char(','))).toStdString() + "\n";
    }
    return csv;
}

}  // namespace

check::ToolTable loadToolTable(QString& problem) {
    problem.clear();
    const QString stored = userSettings().value(kSettingsKey).toString();
    if (stored.isEmpty()) {
        return {};
    }
    check::ToolTableRead read = check::parseToolTable(stored.toStdString());
    if (!read.ok()) {
        problem = QStringLiteral("保存的刀具表无法读取，刀具表为空：") + toolTableProblemText(read);
        return {};
    }
    return std::move(read.table);
}

void storeToolTable(const check::ToolTable& table) {
    QSettings settings = userSettings();
    settings.setValue(kSettingsKey, QString::fromStdString(check::toolTableCsv(table)));
    settings.sync();
}

QString toolTableProblemText(const check::ToolTableRead& read) {
    using enum check::ToolTableProblem;
    const QString where = QStringLiteral("第 %1 行：").arg(read.line - 1);
    const QString cell = QString::fromStdString(read.cell);
    switch (read.problem) {
        case None:
            return {};
        case MissingHeader:
        case BadHeader:
            return QStringLiteral("表头不是 tool,diameter[,radius_register]");
        case CellCount:
            return where + QStringLiteral("有 %1 项，应为 %2 项").arg(cell).arg(read.number);
        case BadTool:
            return where + QStringLiteral("刀具号“%1”不是 1 到 9999 的整数").arg(cell);
        case BadDiameter:
            return where + QStringLiteral("直径“%1”不是大于 0 的数").arg(cell);
        case BadRegister:
            return where + QStringLiteral("半径寄存器“%1”不是 1 到 9999 的整数").arg(cell);
        case RepeatedTool:
            return where + QStringLiteral("刀具 T%1 已经在表中").arg(read.number);
        case SharedRegister:
            return where + QStringLiteral("D%1 已经存放刀具 T%2 的半径").arg(cell).arg(read.number);
    }
    return {};
}

ToolTableWindow::ToolTableWindow(AppState& state, Prompts& prompts, QWidget* owner)
    : QWidget(owner, Qt::Window),
      m_state(state),
      m_prompts(prompts),
      m_table(new QTableWidget(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("刀具表"));
    m_table->setObjectName(QStringLiteral("刀具表格"));
    m_table->setColumnCount(kColumns);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("刀具号 T"), QStringLiteral("直径 mm"), QStringLiteral("半径寄存器 D")});
    m_table->horizontalHeaderItem(kRegister)->setToolTip(
        QStringLiteral("空着时，半径存放在与刀具号相同的 D 中"));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (const check::ToolEntry& e : state.tools.tools) {
        addRow(e);
    }
    auto* add = new QPushButton(QStringLiteral("添加"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* apply = new QPushButton(QStringLiteral("确定"), this);
    add->setObjectName(QStringLiteral("按钮_添加"));
    remove->setObjectName(QStringLiteral("按钮_删除"));
    apply->setObjectName(QStringLiteral("按钮_确定"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &ToolTableWindow::onAdd);
    connect(remove, &QPushButton::clicked, this, &ToolTableWindow::onRemove);
    connect(apply, &QPushButton::clicked, this, &ToolTableWindow::onApply);
    resize(360, 300);
}

void ToolTableWindow::addRow(const check::ToolEntry& e) {
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    const auto number = [](double v) { return QString::fromStdString(check::formatShort(v, 4)); };
    m_table->setItem(row, kTool,
                     new QTableWidgetItem(e.tool ? QString::number(e.tool) : QString()));
    m_table->setItem(row, kDiameter,
                     new QTableWidgetItem(e.diameter > 0 ? number(e.diameter) : QString()));
    m_table->setItem(
        row, kRegister,
        new QTableWidgetItem(e.radiusRegister ? QString::number(e.radiusRegister) : QString()));
}

void ToolTableWindow::onAdd() {
    addRow({});
    m_table->setCurrentCell(m_table->rowCount() - 1, kTool);
    m_table->editItem(m_table->item(m_table->rowCount() - 1, kTool));
}

void ToolTableWindow::onRemove() {
    if (m_table->currentRow() >= 0) {
        m_table->removeRow(m_table->currentRow());
    }
}

void ToolTableWindow::onApply() {
    check::ToolTableRead read = check::parseToolTable(csvOf(*m_table));
    if (!read.ok()) {
        m_prompts.tell(this, kErrorCaption,
                       QStringLiteral("刀具表：") + toolTableProblemText(read));
        m_table->setCurrentCell(read.line - 2, 0);
        return;
    }
    m_state.tools = std::move(read.table);
    storeToolTable(m_state.tools);
    emit tableChanged();
    close();
}

}  // namespace tesmara::ui
