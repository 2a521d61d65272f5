#include "ui/preview_pane.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "check/format.hpp"
#include "check/report.hpp"
#include "ui/path_view.hpp"

namespace tesmara::ui {

namespace {

constexpr int kListHeight = 112;
constexpr auto kNoProgramHint = u"按“生成程序”后，这里显示刀具路径";
constexpr auto kNoMovesHint = u"程序里没有刀具移动";
constexpr auto kRunningHint = u"正在检查程序……";
constexpr QColor kErrorColour{190, 0, 0};
constexpr QColor kWarningColour{150, 90, 0};

QString qtString(const std::string& text) {
    return QString::fromStdString(text);
}

QString toolsText(const std::vector<int>& tools) {
    QStringList names;
    for (const int t : tools) {
        names << QStringLiteral("T%1").arg(t);
    }
    return names.isEmpty() ? QStringLiteral("无") : names.join(QStringLiteral("、"));
}

QString countsText(const std::vector<check::Diagnostic>& diagnostics) {
    int errors = 0;
    for (const check::Diagnostic& d : diagnostics) {
        errors += d.severity == check::Severity::Error ? 1 : 0;
    }
    const int warnings = static_cast<int>(diagnostics.size()) - errors;
    if (errors == 0 && warnings == 0) {
        return QStringLiteral("没有错误或警告");
    }
    return QStringLiteral("%1 个错误，%2 个警告").arg(errors).arg(warnings);
}

QString diagnosticText(const check::Diagnostic& d, int slotLines) {
    QString where = d.program != 0 ? QStringLiteral("O%1 ").arg(d.program) : QString();
    if (d.line > slotLines) {
        where = QStringLiteral("子程序 ") + where;
    }
    where += QStringLiteral("第 %1 行").arg(d.line > slotLines ? d.line - slotLines : d.line);
    if (d.column > 0) {
        where += QStringLiteral("第 %1 列").arg(d.column);
    }
    const QString severity =
        d.severity == check::Severity::Error ? QStringLiteral("错误") : QStringLiteral("警告");
    return severity + QStringLiteral("  ") + where + QStringLiteral("：") + qtString(d.message);
}

QString mm(double v) {
    return qtString(check::formatShort(v, 3));
}

QString circleText(const check::CircleCut& c) {
    QString text =
        QStringLiteral("X%1 Y%2：刀具 Ø%3 扫过 Ø%4–Ø%5")
            .arg(mm(c.x), mm(c.y), mm(c.toolDiameter), mm(c.innerDiameter), mm(c.outerDiameter));
    if (const std::optional<double> finished = c.finishedDiameter()) {
        text += (c.toolInside ? QStringLiteral("，成孔 Ø") : QStringLiteral("，外圆 Ø")) +
                mm(*finished);
    }
    return text;
}

bool lacksToolData(const check::CheckResult& r) {
    const auto unknown = [&r](int tool) { return !r.tools.diameter(tool); };
    return !r.summary.registersWithoutRadius.empty() ||
           std::any_of(r.summary.toolsUsed.begin(), r.summary.toolsUsed.end(), unknown);
}

}  // namespace

PreviewPane::PreviewPane(QWidget* parent)
    : QWidget(parent),
      m_view(new PathView(this)),
      m_summary(new QLabel(this)),
      m_toolTable(new QPushButton(QStringLiteral("刀具表…"), this)),
      m_diagnostics(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_summary);
    layout->addWidget(m_toolTable, 0, Qt::AlignLeft);
    m_toolTable->setObjectName(QStringLiteral("按钮_预览刀具表"));
    connect(m_toolTable, &QPushButton::clicked, this, &PreviewPane::toolTableRequested);
    layout->addWidget(m_diagnostics);
    m_summary->setWordWrap(true);
    m_diagnostics->setFixedHeight(kListHeight);
    m_diagnostics->setWordWrap(true);
    connect(m_view, &PathView::moveChosen, this, [this](int line) {
        if (m_check && line <= m_check->slotLines) {
            emit lineChosen(line);
        }
    });
    connect(m_view, &PathView::holeChosen, this, &PreviewPane::holeChosen);
    connect(m_diagnostics, &QListWidget::currentRowChanged, this, &PreviewPane::chooseRow);
    connect(m_diagnostics, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseRow(m_diagnostics->row(item)); });
    showCheck(std::nullopt);
}

void PreviewPane::setHoleMarks(std::vector<std::optional<QPointF>> centres, int chosen) {
    m_view->setHoleMarks(std::move(centres), chosen);
}

void PreviewPane::showCheck(std::optional<SlotCheck> check) {
    m_check = std::move(check);
    m_view->setHint(QString::fromUtf16(m_check ? kNoMovesHint : kNoProgramHint));
    m_view->showResult(m_check ? &m_check->result : nullptr);
    showSummary();
    listDiagnostics();
}

void PreviewPane::showRunning() {
    showCheck(std::nullopt);
    m_view->setHint(QString::fromUtf16(kRunningHint));
}

// What the tool leaves, or which tool data the drawing lacks.
QString PreviewPane::toolText() const {
    const check::CheckResult& r = m_check->result;
    constexpr std::size_t kShown = 4;
    QString text;
    for (std::size_t i = 0; i < r.summary.circles.size() && i < kShown; ++i) {
        text += QStringLiteral("\n") + circleText(r.summary.circles[i]);
    }
    if (r.summary.circles.size() > kShown) {
        text += QStringLiteral("\n……共 %1 处圆").arg(r.summary.circles.size());
    }
    QStringList registers;
    for (const int d : r.summary.registersWithoutRadius) {
        registers << QStringLiteral("D%1").arg(d);
    }
    QStringList tools;
    for (const int t : r.summary.toolsUsed) {
        if (!r.tools.diameter(t)) {
            tools << QStringLiteral("T%1").arg(t);
        }
    }
    if (!tools.isEmpty()) {
        text += QStringLiteral("\n刀具表中没有 %1 的直径：图中不画刀具扫过的范围")
                    .arg(tools.join(QStringLiteral("、")));
    }
    if (!registers.isEmpty()) {
        text += QStringLiteral("\n刀具表中没有 %1 的半径：图中是编程路径，不是刀具中心")
                    .arg(registers.join(QStringLiteral("、")));
    }
    return text;
}

void PreviewPane::showSummary() {
    m_toolTable->setVisible(m_check && lacksToolData(m_check->result));
    if (!m_check) {
        m_summary->clear();
        return;
    }
    const check::CheckResult& r = m_check->result;
    const check::Summary& s = r.summary;
    const QString deepest =
        s.deepestZ ? QStringLiteral("Z") + qtString(check::formatShort(*s.deepestZ)) : "—";
    // A program that never ends has no cycle time, only the time up to the limit.
    QString text = s.endless
                       ? QStringLiteral("加工时间未知（程序不会结束）\n")
                       : QStringLiteral("加工时间约 %1（快移按 %2 mm/min，不计加减速）\n")
                             .arg(qtString(check::durationText(s.cycleSeconds)))
                             .arg(qtString(check::formatShort(check::CheckOptions{}.rapidRate)));
    text += QStringLiteral("执行 %1 段 · 最深 %2 · 刀具 %3 · %4")
                .arg(s.blocksExecuted)
                .arg(deepest, toolsText(s.toolsUsed), countsText(r.diagnostics));
    const auto drawn = std::min(r.segments.size(), check::kMaxDrawnSegments);
    if (static_cast<std::int64_t>(drawn) < s.moves) {
        text += QStringLiteral("\n共 %1 段移动，图中画出前 %2 段").arg(s.moves).arg(drawn);
    }
    text += toolText();
    if (!s.ended) {
        text += QStringLiteral("\n程序没有正常结束，图中只画到出错为止");
    }
    m_summary->setText(text);
}

void PreviewPane::listDiagnostics() {
    const QSignalBlocker blocker(m_diagnostics);
    m_diagnostics->clear();
    if (!m_check) {
        m_diagnostics->hide();
        return;
    }
    // An empty list would only be a blank box; the summary says there is nothing.
    m_diagnostics->setVisible(!m_check->result.diagnostics.empty());
    for (const check::Diagnostic& d : m_check->result.diagnostics) {
        auto* item = new QListWidgetItem(diagnosticText(d, m_check->slotLines), m_diagnostics);
        item->setForeground(d.severity == check::Severity::Error ? kErrorColour : kWarningColour);
        item->setToolTip(item->text());
    }
}

// The subprogram is not in the output box, so its lines are only marked in
// the drawing.
void PreviewPane::chooseRow(int row) {
    if (!m_check || row < 0 || row >= static_cast<int>(m_check->result.diagnostics.size())) {
        return;
    }
    const int line = m_check->result.diagnostics[static_cast<std::size_t>(row)].line;
    m_view->highlightLine(line);
    if (line <= m_check->slotLines) {
        emit lineChosen(line);
    }
}

}  // namespace tesmara::ui
