#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/output.hpp"
#include "harness.hpp"
#include "ui/hole_list_panel.hpp"
#include "ui/hole_points_dialog.hpp"
#include "ui/path_view.hpp"
#include "ui/preview_pane.hpp"

namespace tesmara::ui {
namespace {

using HoleListTest = DesktopTest;

QStringList column(const HoleListPanel* panel, int index) {
    QStringList texts;
    for (int row = 0; row < panel->table()->rowCount(); ++row) {
        texts << panel->table()->item(row, index)->text();
    }
    return texts;
}

// Answers the next dialog a button opens: types into its inputs, then adds
// or cancels; what it offered is kept for the test to look at.
struct DialogAnswer {
    std::vector<QString> inputs = {};
    bool add = true;
    HoleImport offered = {};
    QStringList problems = {};
};

HolePointsDialog* shownDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<HolePointsDialog*>(window); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Waits for the dialog to show (a few tries), so that a test never hangs in it.
void answerNextDialog(DialogAnswer& answer, int tries = 50) {
    QTimer::singleShot(10, [&answer, tries] {
        HolePointsDialog* dialog = shownDialog();
        if (dialog == nullptr) {
            ASSERT_GT(tries, 0) << "no dialog was shown";
            answerNextDialog(answer, tries - 1);
            return;
        }
        for (std::size_t i = 0; i < answer.inputs.size(); ++i) {
            dialog->input(static_cast<int>(i))->setText(answer.inputs[i]);
        }
        answer.offered = dialog->offered();
        for (const QListWidget* list : dialog->findChildren<QListWidget*>()) {
            for (int row = 0; row < list->count(); ++row) {
                answer.problems << list->item(row)->text();
            }
        }
        // "添加" is disabled while nothing would be added.
        const bool add = answer.add && dialog->addButton()->isEnabled();
        add ? dialog->addButton()->click() : dialog->reject();
    });
}

TEST_F(HoleListTest, AnyHoleCanBeCorrectedMovedDeletedAndTheChangeUndone) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    HoleListPanel* panel = multi->holeList();
    auto count = [&] { return multi->findChild<QLabel*>("标签12")->text(); };
    auto program = [&] {
        click(multi, kFixtureMultiHole.generateButton);
        return output(multi);
    };
    fill(multi, {{"subprogramNumber", "9"}});
    for (const char* x : {"10", "20", "30"}) {
        type(multi, "坐标X", x);
        click(multi, kNextHoleButton);
    }
    EXPECT_EQ(column(panel, 0), (QStringList{"10", "20", "30"}));
    EXPECT_EQ(count(), "3");

    panel->chooseHole(1);
    EXPECT_EQ(text(multi, "坐标X"), "20") << "choosing a hole loads its texts";
    type(multi, "坐标X", "25");
    type(multi, "子程序号", "8");
    click(multi, "按钮_修改");
    EXPECT_TRUE(program().contains("M08\n#30=10\n#31=\nM98 P9\n#30=25\n#31=\nM98 P8\n#30=30\n"));

    panel->chooseHole(2);
    click(multi, "按钮_上移");
    click(multi, "按钮_上移");
    EXPECT_EQ(column(panel, 0), (QStringList{"30", "10", "25"}));
    EXPECT_EQ(panel->chosenHole(), 0);
    EXPECT_TRUE(program().contains("G0 G90 G54 X30. Y. M3")) << "the first hole follows the list";

    click(multi, "按钮_删除");
    EXPECT_EQ(count(), "2");
    EXPECT_TRUE(program().contains("G0 G90 G54 X10. Y. M3"));
    click(multi, "按钮_撤销");
    EXPECT_EQ(column(panel, 0), (QStringList{"30", "10", "25"}));
    EXPECT_EQ(count(), "3");
    EXPECT_TRUE(program().contains("G0 G90 G54 X30. Y. M3"));
}

TEST_F(HoleListTest, ChosenHoleIsMarkedInThePreviewAndAClickThereChoosesIt) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    fill(multi, {{"toolNumber", "1"}, {"spindleSpeed", "1000"}, {"feedRate", "100"}});
    for (const char* x : {"0", "40"}) {
        fill(multi, {{"coordX", x}, {"coordY", "0"}, {"subprogramNumber", "9"}});
        click(multi, kNextHoleButton);
    }
    click(multi, kFixtureMultiHole.generateButton);
    waitForPreview(multi);
    HoleListPanel* panel = multi->holeList();
    PathView* view = multi->preview()->findChild<PathView*>();
    ASSERT_FALSE(view->scene().views.empty());
    panel->chooseHole(1);
    EXPECT_EQ(view->chosenHole(), 1);

    const check::View& top = view->scene().views[0];
    const check::Point3 first{0, 0, 0};
    QTest::mouseClick(view, Qt::LeftButton, {}, QPointF(top.px(first), top.py(first)).toPoint());
    EXPECT_EQ(panel->chosenHole(), 0);
    EXPECT_EQ(text(multi, "坐标X"), "0");
}

TEST_F(HoleListTest, PatternsShowTheirHolesBeforeAddingThemWithTheFormTexts) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    HoleListPanel* panel = multi->holeList();
    fill(multi, {{"subprogramNumber", "5"}});

    DialogAnswer cancelled{{"0", "0", "100", "4"}, false};
    answerNextDialog(cancelled);
    click(multi, "按钮_螺栓圆");
    EXPECT_EQ(cancelled.offered.points.size(), 4u);
    EXPECT_EQ(panel->table()->rowCount(), 0) << "nothing is added until the operator confirms";

    DialogAnswer circle{{"-10", "5", "20", "4", "90"}};
    answerNextDialog(circle);
    click(multi, "按钮_螺栓圆");
    EXPECT_EQ(column(panel, 0), (QStringList{"-10.", "-20.", "-10.", "0."}));
    EXPECT_EQ(column(panel, 1), (QStringList{"15.", "5.", "-5.", "5."}));
    EXPECT_EQ(column(panel, 2), (QStringList{"5", "5", "5", "5"}));

    DialogAnswer badGrid{{"0", "0", "10", "10", "0", "2"}};
    answerNextDialog(badGrid);
    click(multi, "按钮_阵列");
    EXPECT_TRUE(badGrid.offered.points.empty());
    ASSERT_EQ(badGrid.problems.size(), 1);
    EXPECT_TRUE(badGrid.problems[0].contains("X方向孔数")) << badGrid.problems[0].toStdString();
    EXPECT_EQ(panel->table()->rowCount(), 4);

    DialogAnswer grid{{"0", "0", "10", "5", "2", "2"}};
    answerNextDialog(grid);
    click(multi, "按钮_阵列");
    EXPECT_EQ(multi->findChild<QLabel*>("标签12")->text(), "8");
    EXPECT_EQ(column(panel, 1).mid(4), (QStringList{"0.", "0.", "5.", "5."}));
    click(multi, "按钮_撤销");
    EXPECT_EQ(panel->table()->rowCount(), 4) << "a pattern is undone as one change";
}

TEST_F(HoleListTest, ImportedFilesListTheirBadRowsAndAddTheRest) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    HoleListPanel* panel = multi->holeList();
    fill(multi, {{"subprogramNumber", "5"}});
    const QString csv = pathIn("holes.csv");
    writeBytes(utf8Path(csv.toStdString()), "X,Y,子程序号\n1,2\nx,2\n3,4,7\n");
    DialogAnswer answer;
    answerNextDialog(answer);
    panel->importCsv(csv);
    EXPECT_EQ(answer.problems, (QStringList{"第 3 行：“x”不是数字"}));
    EXPECT_EQ(column(panel, 0), (QStringList{"1.", "3."}));
    EXPECT_EQ(column(panel, 2), (QStringList{"5", "7"}));

    const QString dxf = pathIn("part.dxf");
    writeBytes(utf8Path(dxf.toStdString()),
               "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\n0\n10\n5\n20\n6\n40\n5\n"
               "0\nCIRCLE\n8\n0\n10\n7\n20\n8\n40\n2\n0\nENDSEC\n0\nEOF\n");
    DialogAnswer tens{{"10"}};
    answerNextDialog(tens);
    panel->importDxf(dxf);
    EXPECT_EQ(column(panel, 0), (QStringList{"1.", "3.", "5."})) << "only the circle of 10";
    EXPECT_EQ(column(panel, 1), (QStringList{"2.", "4.", "6."}));

    DialogAnswer missing;
    answerNextDialog(missing);
    panel->importCsv(pathIn("none.csv"));
    ASSERT_EQ(missing.problems.size(), 1);
    EXPECT_TRUE(missing.problems[0].startsWith("无法读取：")) << missing.problems[0].toStdString();
    EXPECT_EQ(panel->table()->rowCount(), 3);
}

}  // namespace
}  // namespace tesmara::ui
