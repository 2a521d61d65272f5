#include "ui/hole_list_panel.hpp"

#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/output.hpp"
#include "holes/coordinate_text.hpp"
#include "holes/hole_files.hpp"
#include "holes/patterns.hpp"
#include "ui/form.hpp"
#include "ui/hole_points_dialog.hpp"

namespace tesmara::ui {

namespace {

// The column caption of a field: its edit box's name, "坐标X" shortened to "X".
QString columnCaption(const Operation& op, std::string_view name) {
    if (name == kCoordX || name == kCoordY) {
        return name == kCoordX ? QStringLiteral("X") : QStringLiteral("Y");
    }
    const Field* f = findField(op, name);
    return qtText(f != nullptr ? f->control : name);
}

// A pattern's texts, with a value that cannot be used named by its label.
HoleImport patternHoles(const std::optional<std::vector<HolePoint>>& points, std::size_t wrong,
                        const QStringList& labels, const std::vector<std::string>& texts) {
    if (points) {
        return {*points, {}};
    }
    const bool typed = std::any_of(texts.begin(), texts.end(), [](auto& t) { return !t.empty(); });
    if (!typed || wrong >= static_cast<std::size_t>(labels.size())) {
        return {};
    }
    return {{}, {{0, ImportError::BadPatternValue, labels[static_cast<int>(wrong)].toStdString()}}};
}

}  // namespace

HoleListPanel::HoleListPanel(MultiHoleState& state, const Operation& op,
                             std::function<FieldValues()> readFields, QWidget* parent)
    : QWidget(parent), m_state(state), m_op(op), m_readFields(std::move(readFields)) {
    setObjectName(QStringLiteral("孔表"));
    m_columns = holeFieldNames(*op.multiHole);
    std::stable_partition(m_columns.begin(), m_columns.end(),
                          [](std::string_view n) { return n == kCoordX || n == kCoordY; });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    m_table = new QTableWidget(0, static_cast<int>(m_columns.size()), this);
    m_table->setObjectName(QStringLiteral("孔列表"));
    QStringList captions;
    for (std::string_view name : m_columns) {
        captions.append(columnCaption(op, name));
    }
    m_table->setHorizontalHeaderLabels(captions);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setDefaultSectionSize(56);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        emit holeChosen(chosenHole());
        enableButtons();
    });
    layout->addWidget(m_table, 1);
    m_buttons = new QGridLayout;
    layout->addLayout(m_buttons);
    buildButtons();
    refresh();
}

void HoleListPanel::buildButtons() {
    m_needChoice = {
        addButton(QStringLiteral("按钮_修改"), tr("修改"), 0, 0, [this] { replaceChosen(); }),
        addButton(QStringLiteral("按钮_删除"), tr("删除"), 0, 1, [this] { removeChosen(); }),
        addButton(QStringLiteral("按钮_上移"), tr("上移"), 1, 0, [this] { moveChosen(-1); }),
        addButton(QStringLiteral("按钮_下移"), tr("下移"), 1, 1, [this] { moveChosen(1); }),
    };
    m_undo = addButton(QStringLiteral("按钮_撤销"), tr("撤销"), 0, 2, [this] { undo(); });
    addButton(QStringLiteral("按钮_螺栓圆"), tr("圆周孔…"), 2, 0, [this] { offerBoltCircle(); });
    addButton(QStringLiteral("按钮_阵列"), tr("阵列孔…"), 2, 1, [this] { offerGrid(); });
    addButton(QStringLiteral("按钮_导入CSV"), tr("导入CSV…"), 3, 0, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("导入孔表"), {},
                                                          tr("孔表 (*.csv *.txt);;所有文件 (*)"));
        if (!path.isEmpty()) {
            importCsv(path);
        }
    });
    addButton(QStringLiteral("按钮_导入DXF"), tr("导入DXF…"), 3, 1, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("导入 DXF 图中的圆"), {},
                                                          tr("DXF 图 (*.dxf);;所有文件 (*)"));
        if (!path.isEmpty()) {
            importDxf(path);
        }
    });
}

QPushButton* HoleListPanel::addButton(const QString& name, const QString& caption, int row,
                                      int column, std::function<void()> action) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, std::move(action));
    m_buttons->addWidget(button, row, column);
    return button;
}

void HoleListPanel::refresh(int select) {
    const QSignalBlocker quiet(m_table);
    m_table->setRowCount(static_cast<int>(m_state.holes.size()));
    for (std::size_t row = 0; row < m_state.holes.size(); ++row) {
        for (std::size_t column = 0; column < m_columns.size(); ++column) {
            const auto text = fieldText(m_state.holes[row].texts, m_columns[column]);
            m_table->setItem(static_cast<int>(row), static_cast<int>(column),
                             new QTableWidgetItem(qtText(text)));
        }
    }
    m_table->clearSelection();
    if (select >= 0 && select < m_table->rowCount()) {
        m_table->selectRow(select);
    }
    enableButtons();
}

int HoleListPanel::chosenHole() const {
    const auto rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void HoleListPanel::chooseHole(int index) {
    if (index >= 0 && index < m_table->rowCount()) {
        m_table->selectRow(index);
        m_table->scrollToItem(m_table->item(index, 0));
    }
}

void HoleListPanel::replaceChosen() {
    const int chosen = chosenHole();
    if (chosen >= 0 &&
        replaceHole(m_state, *m_op.multiHole, static_cast<std::size_t>(chosen), m_readFields())) {
        changed(chosen);
    }
}

void HoleListPanel::removeChosen() {
    const int chosen = chosenHole();
    if (chosen >= 0 && removeHole(m_state, static_cast<std::size_t>(chosen))) {
        changed(std::min(chosen, static_cast<int>(m_state.holes.size()) - 1));
    }
}

void HoleListPanel::moveChosen(int offset) {
    const int chosen = chosenHole();
    if (chosen >= 0 && moveHole(m_state, static_cast<std::size_t>(chosen), offset)) {
        changed(chosen + offset);
    }
}

void HoleListPanel::undo() {
    if (undoHoleChange(m_state)) {
        changed(-1);
    }
}

void HoleListPanel::changed(int select) {
    refresh(select);
    emit listChanged();
    emit holeChosen(chosenHole());
}

void HoleListPanel::enableButtons() {
    for (QPushButton* button : m_needChoice) {
        button->setEnabled(chosenHole() >= 0);
    }
    m_undo->setEnabled(!m_state.undoStack.empty());
}

void HoleListPanel::offer(HolePointsDialog& dialog) {
    if (dialog.exec() == QDialog::Accepted && !dialog.offered().points.empty()) {
        addHoles(m_state, *m_op.multiHole, m_readFields(), dialog.offered().points);
        changed(static_cast<int>(m_state.holes.size()) - 1);
    }
}

void HoleListPanel::offerBoltCircle() {
    const QStringList labels{tr("圆心X"), tr("圆心Y"), tr("圆直径"), tr("孔数"),
                             tr("起始角（度，可空）")};
    HolePointsDialog dialog(
        tr("圆周孔"), labels,
        [labels](const std::vector<std::string>& texts) {
            std::vector<std::string> used = texts;
            if (used.back().empty()) {
                used.pop_back();
            }
            std::size_t wrong = 0;
            const auto pattern = readBoltCircle(used, wrong);
            return patternHoles(pattern ? std::optional(boltCirclePoints(*pattern)) : std::nullopt,
                                wrong, labels, texts);
        },
        this);
    offer(dialog);
}

void HoleListPanel::offerGrid() {
    const QStringList labels{tr("首孔X"), tr("首孔Y"),     tr("X间距"),
                             tr("Y间距"), tr("X方向孔数"), tr("Y方向孔数")};
    HolePointsDialog dialog(
        tr("阵列孔"), labels,
        [labels](const std::vector<std::string>& texts) {
            std::size_t wrong = 0;
            const auto pattern = readGrid(texts, wrong);
            return patternHoles(pattern ? std::optional(gridPoints(*pattern)) : std::nullopt, wrong,
                                labels, texts);
        },
        this);
    offer(dialog);
}

void HoleListPanel::importCsv(const QString& path) {
    const HoleImport read = readHoleCsvFile(utf8Path(path.toStdString()), m_op);
    HolePointsDialog dialog(
        tr("导入孔表：%1").arg(path), {}, [read](const std::vector<std::string>&) { return read; },
        this);
    offer(dialog);
}

void HoleListPanel::importDxf(const QString& path) {
    const auto file = utf8Path(path.toStdString());
    HolePointsDialog dialog(
        tr("导入 DXF：%1").arg(path), {tr("只取直径（可空）")},
        [file](const std::vector<std::string>& texts) {
            if (texts[0].empty()) {
                return readDxfHoles(file, std::nullopt);
            }
            const auto diameter = parseNumber(texts[0]);
            return diameter ? readDxfHoles(file, diameter)
                            : HoleImport{{}, {{0, ImportError::NotANumber, texts[0]}}};
        },
        this);
    offer(dialog);
}

}  // namespace tesmara::ui
