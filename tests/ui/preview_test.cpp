// The toolpath preview beside every operation window: what it shows after
// Generate, how a diagnostic leads to its line, and hiding it for the run.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QThreadPool>

#include "check/check.hpp"
#include "harness.hpp"
#include "ui/check_runner.hpp"
#include "ui/form.hpp"
#include "ui/hole_list_panel.hpp"
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

// The typical case of an operation's golden test, one argument a line as
// tesmara-cli generate takes them; the fixture window has none of its own.
std::vector<QString> typicalArgs(const Operation& op) {
    if (&op == &kFixtureMultiHole) {
        return {"--header",         "coordX=12",    "coordY=3",           "toolNumber=1",
                "spindleSpeed=900", "feedRate=300", "subprogramNumber=3", "next-hole",
                "coordX=40",        "next-hole"};
    }
    QFile in(QStringLiteral(TESMARA_GOLDEN_DIR "/%1/typical.args").arg(qtText(op.id)));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Text)) << op.id;
    const QStringList lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    return {lines.begin(), lines.end()};
}

QListWidget* diagnosticsList(OperationWindow* window) {
    return window->preview()->findChild<QListWidget*>();
}

bool previewShown(OperationWindow* window) {
    return window->preview()->isVisibleTo(window);
}

class PreviewTest : public DesktopTest {
public:
    // Typed, ticked and clicked as the operator would; a later "field=value"
    // overrides an earlier one.
    OperationWindow* generate(const Operation& op, const std::vector<QString>& args) {
        OperationWindow* window = openDirectly(op);
        for (const QString& arg : args) {
            const qsizetype equals = arg.indexOf('=');
            if (arg == "next-hole") {
                click(window, kNextHoleButton);
            } else if (arg == "--header" || arg == "--trailer") {
                click(window, arg == "--header" ? kHeaderBox : kTrailerBox);
            } else if (equals > 0) {
                fill(window, {{arg.left(equals).toStdString(), arg.mid(equals + 1)}});
            }
        }
        click(window, op.generateButton);
        waitForPreview(window);
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
        // A program that stops before its first move has nothing to draw.
        EXPECT_EQ(window->preview()->pathView().scene().strokes.empty(),
                  expected.segments.empty());
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

    window = generate(op, typicalArgs(op));
    expectPaneShowsSlot(window);
    // A multi-hole slot runs with its subprogram, so nothing is missing.
    EXPECT_FALSE(window->preview()->shownCheck()->result.hasError());
    const QRect pane = window->preview()->geometry();
    const int form = op.window.width + (op.multiHole != nullptr ? HoleListPanel::kWidth : 0);
    EXPECT_EQ(pane, QRect(form, 0, OperationWindow::kPreviewWidth, op.window.height));
    EXPECT_EQ(window->width(), form + OperationWindow::kPreviewWidth);
    for (const Control& c : op.controls) {
        const auto* widget = window->findChild<QWidget*>(qtText(c.name));
        if (widget != nullptr && c.parent.empty()) {
            EXPECT_FALSE(widget->geometry().intersects(pane)) << c.name;
        }
    }
    // The views are fitted to the cut: every feed move and hole centre lies
    // inside its view, only rapids may run out of it, and the cut fills most
    // of the top view rather than a corner of the way from the reference point.
    const check::PlotScene& scene = window->preview()->pathView().scene();
    QRectF cut;
    for (const check::Stroke& s : scene.strokes) {
        const check::View& v = scene.views[static_cast<std::size_t>(s.view)];
        const QRectF frame = QRectF(v.left, v.top, v.width, v.height).adjusted(-1, -1, 1, 1);
        for (std::size_t i = 0; i < s.xy.size() && !s.dashed; i += 2) {
            ASSERT_TRUE(frame.contains(s.xy[i], s.xy[i + 1])) << "line " << s.line;
            if (s.view == 0) {
                cut |= QRectF(s.xy[i], s.xy[i + 1], 0.01, 0.01);
            }
        }
    }
    const check::View& top = scene.views[0];
    EXPECT_TRUE(cut.width() > 0.5 * top.width || cut.height() > 0.5 * top.height)
        << cut.width() << " x " << cut.height() << " of " << top.width << " x " << top.height;
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
        std::vector<QString> args = typicalArgs(kCircleHole);
        args.push_back(QStringLiteral("%1=%2").arg(c.field, c.value));
        OperationWindow* window = generate(kCircleHole, args);
        expectPaneShowsSlot(window);
        if (c.code == check::Code::BlockLimit) {
            const auto labels = window->preview()->findChildren<QLabel*>();
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
                return l->text().startsWith(QStringLiteral("加工时间未知"));
            })) << "a program that does not end has no cycle time";
        }
        const auto& diagnostics = window->preview()->shownCheck()->result.diagnostics;
        const auto found =
            std::find_if(diagnostics.begin(), diagnostics.end(),
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

// An error in the subprogram names its line there; that line is not in the
// output box, so only the drawing marks it.
TEST_F(PreviewTest, SubprogramDiagnosticCountsItsOwnLines) {
    start();
    std::vector<QString> args = typicalArgs(kMultiThread);
    // The second hole with a tool wider than its thread.
    args.insert(std::find(args.rbegin(), args.rend(), "next-hole").base() - 1,
                QStringLiteral("toolRadius=6"));
    OperationWindow* window = generate(kMultiThread, args);
    const auto& shown = *window->preview()->shownCheck();
    const auto& diagnostics = shown.result.diagnostics;
    const auto found = std::find_if(diagnostics.begin(), diagnostics.end(), [&](const auto& d) {
        return d.severity == check::Severity::Error && d.line > shown.slotLines;
    });
    ASSERT_NE(found, diagnostics.end());
    const int row = static_cast<int>(found - diagnostics.begin());
    const QString text = diagnosticsList(window)->item(row)->text();
    EXPECT_TRUE(text.contains(QStringLiteral("子程序 O%1 第 %2 行")
                                  .arg(found->program)
                                  .arg(found->line - shown.slotLines)))
        << text.toStdString();
    const std::string subprogram = state->window(kMultiThread).calledSubprogram;
    EXPECT_TRUE(QString::fromStdString(subprogram)
                    .startsWith(QStringLiteral("O%1\r\n").arg(found->program)));

    diagnosticsList(window)->setCurrentRow(row);
    EXPECT_EQ(window->preview()->pathView().highlightedLine(), found->line);
    EXPECT_FALSE(
        window->findChild<QPlainTextEdit*>(qtText(kOutputBox))->textCursor().hasSelection());
}

// A click on a drawn move selects the line it came from.
TEST_F(PreviewTest, ClickingAMoveSelectsItsLine) {
    start();
    OperationWindow* window = generate(kCircleHole, typicalArgs(kCircleHole));
    auto* view = window->preview()->findChild<PathView*>();
    const auto& strokes = view->scene().strokes;
    const auto feed = std::find_if(strokes.begin(), strokes.end(), [](const check::Stroke& s) {
        return !s.dashed && s.line > 0 && s.view == 1;
    });
    ASSERT_NE(feed, strokes.end());
    const QPointF at((feed->xy[0] + feed->xy[2]) / 2, (feed->xy[1] + feed->xy[3]) / 2);
    QTest::mouseClick(view, Qt::LeftButton, {}, at.toPoint());

    const int line = view->highlightedLine();
    ASSERT_GT(line, 0);
    // Moves of other lines may pass through the same pixel; the chosen one must.
    const bool passes = std::any_of(strokes.begin(), strokes.end(), [&](const check::Stroke& s) {
        for (std::size_t i = 2; s.line == line && i < s.xy.size(); i += 2) {
            const QLineF piece(s.xy[i - 2], s.xy[i - 1], s.xy[i], s.xy[i + 1]);
            if (QLineF(piece.p1(), at).length() + QLineF(at, piece.p2()).length() <
                piece.length() + 2.0) {
                return true;
            }
        }
        return false;
    });
    EXPECT_TRUE(passes) << "line " << line;
    const QTextCursor cursor = window->findChild<QPlainTextEdit*>(qtText(kOutputBox))->textCursor();
    EXPECT_EQ(cursor.block().blockNumber(), line - 1);
    EXPECT_EQ(cursor.selectedText(),
              QString::fromStdString(slot(kCircleHole)).split("\r\n").at(line - 1));
}

// A program that never ends, checked without a block limit, runs until it
// is cancelled; all the while the window answers at once and the pane says
// that the check is running. A new Generate, hiding the pane and closing the
// window each cancel the check, and no stale result is ever shown.
TEST_F(PreviewTest, ANeverEndingCheckLeavesTheWindowAnswering) {
    start();
    state->previewOptions.blockLimit = std::numeric_limits<std::int64_t>::max();
    std::vector<QString> args = typicalArgs(kCircleHole);
    args.push_back(QStringLiteral("depthPerCut=0"));
    OperationWindow* window = openDirectly(kCircleHole);
    const auto pathView = [&] { return &window->preview()->pathView(); };
    for (int press = 1; press <= 2; ++press) {
        for (const QString& arg : args) {
            if (arg.contains('=')) {
                fill(window, {{arg.section('=', 0, 0).toStdString(), arg.section('=', 1)}});
            }
        }
        click(window, kCircleHole.generateButton);
        EXPECT_FALSE(output(window).isEmpty()) << "Generate fills the output box at once";
        EXPECT_EQ(window->previewCheck().generation(), static_cast<std::uint64_t>(press));
    }
    QTest::qWait(100);
    ASSERT_TRUE(window->previewCheck().running());
    EXPECT_EQ(pathView()->hint(), QStringLiteral("正在检查程序……"));
    EXPECT_FALSE(window->preview()->shownCheck().has_value());

    type(window, findField(kCircleHole, "feedRate")->control, QStringLiteral("250"));
    EXPECT_EQ(text(window, findField(kCircleHole, "feedRate")->control), QStringLiteral("250"));
    EXPECT_TRUE(window->previewCheck().running());
    click(window, kToggle);
    EXPECT_FALSE(previewShown(window));
    EXPECT_EQ(window->findChild<QPushButton*>(qtText(kToggle))->text(), QStringLiteral("显示预览"));
    EXPECT_FALSE(window->previewCheck().running()) << "a hidden pane needs no check";

    click(window, kToggle);
    EXPECT_TRUE(window->previewCheck().running());
    closeWindow(window);
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(5'000)) << "closing cancels the check";
}

// One window's choice holds for every window opened later in the run, and
// the window is as wide as its form while the pane is hidden.
TEST_F(PreviewTest, HidingLastsForTheRun) {
    start();
    OperationWindow* circle = generate(kCircleHole, typicalArgs(kCircleHole));
    click(circle, kToggle);
    EXPECT_FALSE(previewShown(circle));
    EXPECT_EQ(circle->width(), kCircleHole.window.width);
    EXPECT_EQ(circle->findChild<QPushButton*>(qtText(kToggle))->text(), QStringLiteral("显示预览"));
    closeWindow(circle);

    circle = openDirectly(kCircleHole);
    EXPECT_FALSE(previewShown(circle));
    // A pane generated behind while hidden shows the program when shown.
    OperationWindow* face = generate(kFace, typicalArgs(kFace));
    EXPECT_FALSE(previewShown(face));
    EXPECT_EQ(face->width(), kFace.window.width);
    click(face, kToggle);
    waitForPreview(face);
    EXPECT_TRUE(previewShown(face));
    EXPECT_EQ(face->width(), kFace.window.width + OperationWindow::kPreviewWidth);
    expectPaneShowsSlot(face);
    closeWindow(circle);

    // Shown again, the reopened window checks the program its slot kept.
    circle = openDirectly(kCircleHole);
    waitForPreview(circle);
    EXPECT_TRUE(previewShown(circle));
    expectPaneShowsSlot(circle);
}

}  // namespace
}  // namespace tesmara::ui
