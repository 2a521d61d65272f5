// "刀具表": the table is kept for later runs, a wrong row is named, and the
// preview tells which register lacks a radius until the tool is entered.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>

#include "harness.hpp"
#include "ui/path_view.hpp"
#include "ui/preview_pane.hpp"
#include "ui/tool_table_window.hpp"

namespace tesmara::ui {
namespace {

class ToolTableTest : public DesktopTest {
public:
    void TearDown() override {
        DesktopTest::TearDown();
        store().remove(QStringLiteral("toolTable"));
    }

    static QSettings store() {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tesmara"),
                         QStringLiteral("tesmara"));
    }

    ToolTableWindow* openTable() {
        click(main, "按钮_刀具表");
        return main->toolTableWindow();
    }

    // One new row typed in: tool, diameter, register.
    static void addRow(ToolTableWindow* window, const QStringList& cells) {
        click(window, "按钮_添加");
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("刀具表格"));
        for (int column = 0; column < cells.size(); ++column) {
            table->item(table->rowCount() - 1, column)->setText(cells[column]);
        }
    }

    OperationWindow* circleHole() {
        OperationWindow* window = launch(kCircleHole);
        fill(window, {{"coordX", "100"},
                      {"coordY", "-50.5"},
                      {"toolNumber", "3"},
                      {"startDepth", "1"},
                      {"finalDepth", "6"},
                      {"depthPerCut", "2"},
                      {"circleDiameter", "20"},
                      {"spindleSpeed", "1200"},
                      {"feedRate", "300"}});
        click(window, kCircleHole.generateButton);
        return window;
    }
};

TEST_F(ToolTableTest, StoredTableIsThereInTheNextRun) {
    start();
    ToolTableWindow* window = openTable();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "刀具表");
    addRow(window, {"3", "10", ""});
    addRow(window, {"5", "6.35", "23"});
    click(window, "按钮_确定");
    EXPECT_TRUE(prompts.messages.empty());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->toolTableWindow(), nullptr) << "closed";
    EXPECT_EQ(state->tools.radius(23), 3.175);

    DesktopTest::TearDown();
    start();
    ASSERT_EQ(state->tools.tools.size(), 2u);
    EXPECT_EQ(state->tools.diameter(3), 10.0);
    EXPECT_EQ(state->tools.radius(23), 3.175);
    auto* table = openTable()->findChild<QTableWidget*>(QStringLiteral("刀具表格"));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 1)->text(), "6.35");
    EXPECT_EQ(table->item(1, 2)->text(), "23");
}

TEST_F(ToolTableTest, WrongRowIsNamedAndNothingIsStored) {
    start();
    ToolTableWindow* window = openTable();
    addRow(window, {"3", "10", ""});
    addRow(window, {"4", "wide", ""});
    click(window, "按钮_确定");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "刀具表：第 2 行：直径“wide”不是大于 0 的数");
    EXPECT_EQ(main->toolTableWindow(), window) << "left open to mend the row";
    EXPECT_TRUE(state->tools.empty());
    QString problem;
    EXPECT_TRUE(loadToolTable(problem).empty());
}

TEST_F(ToolTableTest, UnreadableStoredTableIsToldAndLeftEmpty) {
    store().setValue(QStringLiteral("toolTable/csv"), QStringLiteral("tool,diameter\n3,-1\n"));
    start();
    EXPECT_TRUE(state->tools.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("第 1 行：直径“-1”")))
        << prompts.messages[0].text.toStdString();
}

TEST_F(ToolTableTest, PreviewAsksForTheRadiusThenShowsWhatTheToolLeaves) {
    start();
    OperationWindow* window = circleHole();
    waitForPreview(window);
    PreviewPane* pane = window->preview();
    auto* summary = pane->findChild<QLabel*>();
    auto* ask = pane->findChild<QPushButton*>(QStringLiteral("按钮_预览刀具表"));
    EXPECT_TRUE(summary->text().contains(QStringLiteral("刀具表中没有 T3 的直径")))
        << summary->text().toStdString();
    EXPECT_TRUE(summary->text().contains(QStringLiteral("刀具表中没有 D3 的半径")))
        << summary->text().toStdString();
    ASSERT_TRUE(ask->isVisibleTo(window));

    click(pane, "按钮_预览刀具表");
    ToolTableWindow* table = main->toolTableWindow();
    ASSERT_NE(table, nullptr);
    addRow(table, {"3", "10", ""});
    click(table, "按钮_确定");
    waitForPreview(window);

    EXPECT_FALSE(ask->isVisibleTo(window));
    EXPECT_FALSE(summary->text().contains(QStringLiteral("刀具表中没有")));
    EXPECT_TRUE(
        summary->text().contains(QStringLiteral("X100 Y-50.5：刀具 Ø10 扫过 Ø0–Ø20，成孔 Ø20")))
        << summary->text().toStdString();
    const check::PlotScene& scene = pane->pathView().scene();
    const auto count = [&scene](auto pred) {
        return std::count_if(scene.strokes.begin(), scene.strokes.end(), pred);
    };
    EXPECT_GT(count([](const check::Stroke& s) { return s.band > 0.0 && s.view == 0; }), 0);
    EXPECT_GT(count([](const check::Stroke& s) { return s.filled && s.view == 1; }), 0);
    EXPECT_GT(count([](const check::Stroke& s) {
                  return s.colour.b == check::kToolCentreColour.b && s.line > 0;
              }),
              0);
}

}  // namespace
}  // namespace tesmara::ui
