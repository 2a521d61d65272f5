#include "ui/hole_points_dialog.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "holes/coordinate_text.hpp"
#include "ui/form.hpp"
#include "ui/points_view.hpp"

namespace tesmara::ui {

HolePointsDialog::HolePointsDialog(const QString& title, const QStringList& inputs, Compute compute,
                                   QWidget* parent)
    : QDialog(parent), m_compute(std::move(compute)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const QString& label : inputs) {
        auto* edit = new QLineEdit(this);
        connect(edit, &QLineEdit::textChanged, this, &HolePointsDialog::recompute);
        form->addRow(label, edit);
        m_inputs.push_back(edit);
    }
    layout->addLayout(form);
    m_view = new PointsView(this);
    layout->addWidget(m_view, 1);
    m_count = new QLabel(this);
    layout->addWidget(m_count);
    m_problems = new QListWidget(this);
    m_problems->setMaximumHeight(100);
    layout->addWidget(m_problems);
    auto* buttons = new QDialogButtonBox(this);
    m_add = buttons->addButton(tr("添加"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(360, 460);
    recompute();
}

void HolePointsDialog::recompute() {
    std::vector<std::string> texts;
    for (const QLineEdit* edit : m_inputs) {
        texts.push_back(edit->text().toStdString());
    }
    m_offered = m_compute(texts);
    std::vector<std::optional<QPointF>> points;
    for (const HolePoint& p : m_offered.points) {
        const auto x = parseNumber(p.x);
        const auto y = parseNumber(p.y);
        points.push_back(x && y ? std::optional(QPointF(*x, *y)) : std::nullopt);
    }
    m_view->setPoints(std::move(points));
    m_count->setText(tr("将添加 %1 个孔（红色为第一个）").arg(m_offered.points.size()));
    m_problems->clear();
    for (const ImportProblem& problem : m_offered.problems) {
        m_problems->addItem(problemText(problem));
    }
    m_problems->setVisible(!m_offered.problems.empty());
    m_add->setEnabled(!m_offered.points.empty());
}

QString problemText(const ImportProblem& problem) {
    const QString detail = qtText(problem.detail);
    QString reason;
    switch (problem.error) {
        case ImportError::FileUnreadable:
            reason = HolePointsDialog::tr("无法读取：%1").arg(detail);
            break;
        case ImportError::NotRegularFile:
            reason = HolePointsDialog::tr("不是普通文件（是文件夹、管道或设备）");
            break;
        case ImportError::NoXYColumns:
            reason = HolePointsDialog::tr("表头缺少 X 列或 Y 列");
            break;
        case ImportError::UnknownColumn:
            reason = HolePointsDialog::tr("列“%1”不是 X、Y 或本窗口的每孔字段").arg(detail);
            break;
        case ImportError::RepeatedColumn:
            reason = HolePointsDialog::tr("列“%1”重复").arg(detail);
            break;
        case ImportError::TooManyCells:
            reason = HolePointsDialog::tr("单元格比列多");
            break;
        case ImportError::MissingCoordinate:
            reason = HolePointsDialog::tr("缺少 %1").arg(detail);
            break;
        case ImportError::NotANumber:
            reason = HolePointsDialog::tr("“%1”不是数字").arg(detail);
            break;
        case ImportError::NoCircles:
            reason = HolePointsDialog::tr("图中没有圆");
            break;
        case ImportError::BadRadius:
            reason = HolePointsDialog::tr("圆的半径为 %1").arg(detail);
            break;
        case ImportError::NoCircleOfDiameter:
            reason = HolePointsDialog::tr("图中没有直径为 %1 的圆").arg(detail);
            break;
        case ImportError::DxfNotBuiltIn:
            reason = HolePointsDialog::tr("本版本不能读取 DXF 图");
            break;
        case ImportError::BadPatternValue:
            reason = HolePointsDialog::tr(
                         "“%1”的值不能用（须为数字；孔数为 1 到 1000 的整数，"
                         "阵列共不超过 1000 个孔）")
                         .arg(detail);
            break;
    }
    return problem.line > 0 ? HolePointsDialog::tr("第 %1 行：%2").arg(problem.line).arg(reason)
                            : reason;
}

}  // namespace tesmara::ui
