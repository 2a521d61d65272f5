// The toolpath preview beside every operation window: what it shows after
// Generate, how a diagnostic leads to its line, and hiding it for the run.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <map>

#include "check/check.hpp"
#include "harness.hpp"
#include "ui/form.hpp"
#include "ui/path_view.hpp"
#include "ui/preview_pane.hpp"

namespace tesmara::ui {
namespace {

constexpr std::string_view kToggle = "按钮_预览";

std::vector<const Operation*> allWindows() {
    std::vector<const Operation*> ops(catalog().begin(), catalog().end());
    ops.push_back(&kFixtureMultiHole);
    return ops;
}

QString typicalValue(std::string_view field) {
    static const std::map<std::string_view, QString> kValues = {
        {"coordX", "50"},         {"coordY", "-25.5"},  {"toolNumber", "3"},
        {"spindleSpeed", "1500"}, {"feedRate", "300"},  {"startDepth", "1"},
        {"finalDepth", "12"},     {"depthPerCut", "2"}, {"subprogramNumber", "8001"},
    };
    const auto found = kValues.find(field);
    return found == kValues.end() ? QStringLiteral("6") : found->second;
}

QListWidget* diagnosticsList(OperationWindow* window) {
    return window->preview()->findChild<QListWidget*>();
}

bool previewShown(OperationWindow* window) {
    return window->preview()->isVisibleTo(window);
}

class PreviewTest : public DesktopTest {
public:
    OperationWindow* generateTypical(const Operation& op,
                                     const std::map<std::string, QString>& changed = {}) {
        OperationWindow* window = openDirectly(op);
        for (const Field& f : op.fields) {
            const auto found = changed.find(std::string(f.name));
            type(window, f.control, found != changed.end() ? found->second : typicalValue(f.name));
        }
        if (op.multiHole != nullptr) {
            click(window, kNextHoleButton);
            type(window, findField(op, kCoordX)->control, "90");
            click(window, kNextHoleButton);
        }
        click(window, kHeaderBox);
        click(window, op.generateButton);
        return window;
    }

    std::string slot(const Operation& op) { return state->window(op).programSlot; }

    // The pane shows exactly what the checker makes of the program slot and
    // the subprogram a multi-hole slot calls.
    void expectPaneShowsSlot(OperationWindow* window) {
        const WindowState& saved = state->window(window->operation());
        const check::CheckResult expected =
            check::checkProgram(saved.programSlot + saved.calledSubprogram);
        const auto& shown = window->preview()->shownCheck();
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->result.segments.size(), expected.segments.size());
        EXPECT_FALSE(window->preview()->pathView().scene().strokes.empty());
        QListWidget* list = diagnosticsList(window);
        ASSERT_EQ(list->count(), static_cast<int>(expected.diagnostics.size()));
        for (int row = 0; row < list->count(); ++row) {
            const check::Diagnostic& d = expected.diagnostics[static_cast<std::size_t>(row)];
            EXPECT_TRUE(list->item(row)->text().contains(QString::fromStdString(d.message)))
                << list->item(row)->text().toStdString();
        }
    }
};

class EveryWindowPreview : public PreviewTest,
                           public testing::WithParamInterface<const Operation*> {};

// Empty before the first Generate, then the slot's toolpath drawn inside the
// pane, which sits right of the form and covers none of its controls (their
// table places are checked with the pane shown by WindowForm.MatchesTheTable).
TEST_P(EveryWindowPreview, ShowsTheProgramSlotBesideTheForm) {
    const Operation& op = *GetParam();
    start();
    OperationWindow* window = openDirectly(op);
    EXPECT_FALSE(window->preview()->shownCheck().has_value());
    EXPECT_EQ(diagnosticsList(window)->count(), 0);
    closeWindow(window);

    window = generateTypical(op);
    expectPaneShowsSlot(window);
    const QRect pane = window->preview()->geometry();
    EXPECT_EQ(pane, QRect(op.window.width, 0, OperationWindow::kPreviewWidth, op.window.height));
    EXPECT_EQ(window->width(), op.window.width + OperationWindow::kPreviewWidth);
    for (const Control& c : op.controls) {
        const auto* widget = window->findChild<QWidget*>(qtText(c.name));
        if (widget != nullptr && c.parent.empty()) {
            EXPECT_FALSE(widget->geometry().intersects(pane)) << c.name;
        }
    }
    // The views are fitted to the cut: every feed move and hole centre lies
    // inside its view, only rapids may run out of it.
    const check::PlotScene& scene = window->preview()->pathView().scene();
    for (const check::Stroke& s : scene.strokes) {
        const check::View& v = scene.views[static_cast<std::size_t>(s.view)];
        const QRectF frame = QRectF(v.left, v.top, v.width, v.height).adjusted(-1, -1, 1, 1);
        for (std::size_t i = 0; i < s.xy.size() && !s.dashed; i += 2) {
            ASSERT_TRUE(frame.contains(s.xy[i], s.xy[i + 1])) << "line " << s.line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllWindows, EveryWindowPreview, testing::ValuesIn(allWindows()),
                         [](const auto& info) {
                             std::string id(info.param->id);
                             std::replace(id.begin(), id.end(), '-', '_');
                             return id;
                         });

struct FaultyField {
    const char* field;
    const char* value;
    check::Code code;
};

// A faulty program is listed and still drawn as far as it ran; choosing its
// error selects the whole line in the output box and marks it in the drawing.
TEST_F(PreviewTest, ChoosingADiagnosticSelectsItsLine) {
    const FaultyField kCases[] = {
        {"depthPerCut", "0", check::Code::BlockLimit},
        {"feedRate", "", check::Code::Syntax},
        {"coordY", "12,5", check::Code::DecimalComma},
    };
    start();
    for (const FaultyField& c : kCases) {
        SCOPED_TRACE(c.field);
        OperationWindow* window = generateTypical(kCircleHole, {{c.field, c.value}});
        expectPaneShowsSlot(window);
        const auto& diagnostics = window->preview()->shownCheck()->result.diagnostics;
        const auto found = std::find_if(diagnostics.begin(), diagnostics.end(),
                                        [&](const check::Diagnostic& d) { return d.code == c.code; });
        ASSERT_NE(found, diagnostics.end());
        const int row = static_cast<int>(found - diagnostics.begin());
        QListWidget* list = diagnosticsList(window);
        EXPECT_TRUE(list->item(row)->text().startsWith(QStringLiteral("错误")));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());

        const QTextCursor cursor =
            window->findChild<QPlainTextEdit*>(qtText(kOutputBox))->textCursor();
        const QString line = QString::fromStdString(slot(kCircleHole))
                                 .split(QStringLiteral("\r\n"))
                                 .at(found->line - 1);
        EXPECT_EQ(cursor.block().blockNumber(), found->line - 1);
        EXPECT_EQ(cursor.selectedText(), line);
        EXPECT_EQ(window->preview()->pathView().highlightedLine(), found->line);
        closeWindow(window);
    }
}

// One window's choice holds for every window opened later in the run, and
// the window is as wide as its form while the pane is hidden.
TEST_F(PreviewTest, HidingLastsForTheRun) {
    start();
    OperationWindow* circle = generateTypical(kCircleHole);
    click(circle, kToggle);
    EXPECT_FALSE(previewShown(circle));
    EXPECT_EQ(circle->width(), kCircleHole.window.width);
    EXPECT_EQ(circle->findChild<QPushButton*>(qtText(kToggle))->text(), QStringLiteral("显示预览"));
    closeWindow(circle);

    circle = openDirectly(kCircleHole);
    EXPECT_FALSE(previewShown(circle));
    OperationWindow* face = openDirectly(kFace);
    EXPECT_FALSE(previewShown(face));
    EXPECT_EQ(face->width(), kFace.window.width);
    click(face, kToggle);
    EXPECT_TRUE(previewShown(face));
    EXPECT_EQ(face->width(), kFace.window.width + OperationWindow::kPreviewWidth);
    closeWindow(circle);

    // Shown again, the reopened window checks the program its slot kept.
    circle = openDirectly(kCircleHole);
    EXPECT_TRUE(previewShown(circle));
    expectPaneShowsSlot(circle);
}

}  // namespace
}  // namespace tesmara::ui
