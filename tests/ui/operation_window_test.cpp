// An operation window as the operator uses it: its form, Generate, "出程序",
// "多出", "下一孔" and what survives closing it.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/output.hpp"
#include "harness.hpp"
#include "program/text.hpp"
#include "ui/form.hpp"
#include "ui/hole_list_panel.hpp"

namespace tesmara::ui {
namespace {

namespace fs = std::filesystem;

std::vector<const Operation*> allWindows() {
    std::vector<const Operation*> ops(catalog().begin(), catalog().end());
    ops.push_back(&kFixtureMultiHole);
    return ops;
}

bool hasKind(const QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return qobject_cast<const QLabel*>(widget) != nullptr;
        case ControlKind::EditBox:
            return qobject_cast<const QLineEdit*>(widget) != nullptr;
        case ControlKind::OutputBox:
            return qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
        case ControlKind::Button:
            return qobject_cast<const QPushButton*>(widget) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<const QCheckBox*>(widget) != nullptr;
        case ControlKind::GroupBox:
            return qobject_cast<const QGroupBox*>(widget) != nullptr;
        case ControlKind::SaveDialog:
            break;
    }
    return false;
}

QString caption(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    return {};
}

class WindowForm : public DesktopTest, public testing::WithParamInterface<const Operation*> {};

// Every control of the table is there by its name, of its kind, in its group
// box, at its place and size; labels may only grow to the right.
TEST_P(WindowForm, MatchesTheTable) {
    const Operation& op = *GetParam();
    start();
    OperationWindow* window = openDirectly(op);
    EXPECT_EQ(window->windowTitle(), qtText(op.title));
    // The hole list and the preview widen the window, and a strip under the
    // form holds the preview's button.
    const int holeList = op.multiHole != nullptr ? HoleListPanel::kWidth : 0;
    EXPECT_EQ(window->size(), QSize(op.window.width + holeList + OperationWindow::kPreviewWidth,
                                    op.window.height + OperationWindow::kStripHeight));
    for (const Control& c : op.controls) {
        SCOPED_TRACE(c.name);
        auto* widget = window->findChild<QWidget*>(qtText(c.name));
        if (c.kind == ControlKind::SaveDialog) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(hasKind(widget, c.kind));
        const QString parent = c.parent.empty() ? QString() : qtText(c.parent);
        EXPECT_EQ(
            widget->parentWidget() == window ? QString() : widget->parentWidget()->objectName(),
            parent);
        EXPECT_EQ(widget->pos(), QPoint(c.rect.x, c.rect.y));
        EXPECT_EQ(widget->height(), c.rect.height);
        if (c.kind == ControlKind::Label) {
            EXPECT_GE(widget->width(), c.rect.width);
        } else {
            EXPECT_EQ(widget->width(), c.rect.width);
        }
        EXPECT_EQ(caption(widget), qtText(c.caption));
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            EXPECT_TRUE(edit->text().isEmpty());
        }
        if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
            EXPECT_EQ(box->checkState(), Qt::Unchecked);
        }
    }
    if (op.multiHole != nullptr) {
        // The count is what shows at its place, whatever else the form puts there.
        auto* count = window->findChild<QLabel*>(qtText(op.multiHole->countLabel));
        EXPECT_EQ(count->parentWidget()->childAt(count->geometry().center()), count);
    }
    const auto* out = window->findChild<QPlainTextEdit*>(qtText(kOutputBox));
    EXPECT_TRUE(out->toPlainText().isEmpty());
    EXPECT_FALSE(out->isReadOnly());
    EXPECT_EQ(out->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(out->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(out->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

// A label that grew to fit its caption covers nothing it did not cover in the table.
TEST_P(WindowForm, GrownLabelsCoverNothingNew) {
    const Operation& op = *GetParam();
    start();
    OperationWindow* window = openDirectly(op);
    for (const Control& c : op.controls) {
        if (c.kind != ControlKind::Label) {
            continue;
        }
        auto* label = window->findChild<QLabel*>(qtText(c.name));
        const QRect table(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
        const auto siblings =
            label->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (const QWidget* other : siblings) {
            if (other != label && !other->isWindow() && !table.intersects(other->geometry())) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                    << c.name << " covers " << other->objectName().toStdString();
            }
        }
    }
}

// Every window's buttons reach the files: "出程序" writes the frame, the
// program slot and (multi-hole) the subprogram with its "%"; "多出" adds the
// slot to the workspace and the subprogram once, without "%".
TEST_P(WindowForm, SavesAndAppendsWhatItGenerated) {
    const Operation& op = *GetParam();
    start();
    OperationWindow* window = openDirectly(op);
    for (const Field& f : op.fields) {
        type(window, f.control, f.name == kCoordX ? "12" : "3");
    }
    if (op.multiHole != nullptr) {
        click(window, kNextHoleButton);
        click(window, kNextHoleButton);
    }
    click(window, op.generateButton);
    const std::string slot = state->window(op).programSlot;
    ASSERT_FALSE(slot.empty());
    EXPECT_EQ(output(window), QString::fromStdString(slot).replace("\r\n", "\n"));
    prompts.saveAnswers = {pathIn("saved")};
    click(window, op.saveButton);
    click(window, op.appendButton);
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n" + slot);
    const std::string subprograms = readBytes(subprogramFile());
    const std::string saved = readBytes(utf8Path(pathIn("saved.NC").toStdString()));
    if (op.multiHole == nullptr) {
        EXPECT_EQ(subprograms, "");
        EXPECT_EQ(saved, "%\r\nO100\r\n" + slot + "%");
    } else {
        // "出程序" and "多出" add the same subprogram: it is collected once.
        EXPECT_TRUE(subprograms.starts_with("O3\r\n")) << subprograms;
        EXPECT_TRUE(subprograms.ends_with("M99\r\n")) << subprograms;
        EXPECT_EQ(saved, "%\r\nO100\r\n" + slot + subprograms + "%");
    }
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(AllWindows, WindowForm, testing::ValuesIn(allWindows()),
                         [](const auto& info) {
                             std::string id(info.param->id);
                             std::replace(id.begin(), id.end(), '-', '_');
                             return id;
                         });

using OperationWindowTest = DesktopTest;

TEST_F(OperationWindowTest, GenerateWritesTheCoordinateRuleBackAndShowsOneProgram) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    type(circle, "坐标Y", "  ");
    click(circle, kCircleHole.generateButton);
    EXPECT_EQ(text(circle, "坐标X"), "0");
    EXPECT_EQ(text(circle, "坐标Y"), "  ");
    const std::string& slot = state->window(kCircleHole).programSlot;
    EXPECT_TRUE(slot.starts_with("M01\r\nM6 T\r\n#30=0 \r\n#31=  \r\n")) << slot;
    click(circle, kCircleHole.generateButton);
    EXPECT_EQ(output(circle), QString::fromStdString(slot).replace("\r\n", "\n"));
    click(circle, kTrailerBox);
    click(circle, kCircleHole.generateButton);
    EXPECT_TRUE(slot.ends_with("G91 G28 Z0\r\nG28 Y0\r\nM30\r\n"));
}

// "多出" appends the program slot once per opening, and only when the output
// box shows something. Steps: g = Generate (with a new feed each time),
// a = "多出", t = text typed into the output box, r = close and reopen,
// d = "多出" while the workspace main file is gone (it fails and may be
// tried again once the file is back).
TEST_F(OperationWindowTest, AppendLatch) {
    struct Case {
        const char* steps;
        std::vector<int> appended;  // which Generates reach the file, in order
        int errors;
    };
    const Case cases[] = {
        {"a", {}, 0},         {"aga", {1}, 0}, {"gaga", {1}, 0}, {"gagaraga", {1, 3}, 0},
        {"garta", {1, 1}, 0}, {"ta", {0}, 0},  {"gda", {1}, 1},  {"gdadarga", {2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        TearDown();
        prompts = RecordingPrompts{};
        start();
        OperationWindow* window = launch(kCircleHole);
        std::vector<std::string> programs = {""};
        for (const char* step = c.steps; *step != '\0'; ++step) {
            switch (*step) {
                case 'g':
                    type(window, "进给", QString::number(100 * programs.size()));
                    click(window, kCircleHole.generateButton);
                    programs.push_back(state->window(kCircleHole).programSlot);
                    break;
                case 'a':
                    click(window, kCircleHole.appendButton);
                    break;
                case 't':
                    QTest::keyClicks(window->findChild<QPlainTextEdit*>(qtText(kOutputBox)), "x");
                    break;
                case 'r':
                    closeWindow(window);
                    window = launch(kCircleHole);
                    break;
                case 'd':
                    fs::remove(mainFile());
                    click(window, kCircleHole.appendButton);
                    writeBytes(mainFile(), "O100\r\n");
                    break;
            }
        }
        std::string expected = "O100\r\n";
        for (int index : c.appended) {
            expected += programs[index];
        }
        EXPECT_EQ(readBytes(mainFile()), expected);
        EXPECT_EQ(static_cast<int>(prompts.messages.size()), c.errors);
    }
}

TEST_F(OperationWindowTest, AppendsOfTwoWindowsFollowThePresses) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    click(multi, kFixtureMultiHole.generateButton);
    click(multi, kFixtureMultiHole.appendButton);
    closeWindow(multi);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n" + state->window(kFixtureMultiHole).programSlot +
                                         state->window(kCircleHole).programSlot);
}

struct SaveCase {
    const char* name;
    std::vector<const char*> answers;  // names typed into the dialog in turn
    bool overwrite;
    const char* written;  // the file that holds the program afterwards, or null
    size_t questions;
};

// The path is the confirmed name with ".NC" unless it already ends so, and
// the overwrite question is asked for that path.
TEST_F(OperationWindowTest, SaveChoosesTheFinalPath) {
    const SaveCase cases[] = {
        {"cancel", {}, true, nullptr, 0},
        {"plain name", {"part"}, true, "part.NC", 0},
        {"upper extension", {"part.NC"}, true, "part.NC", 0},
        {"lower extension", {"part.nc"}, true, "part.nc", 0},
        {"other extension", {"part.txt"}, true, "part.txt.NC", 0},
        {"existing, replace", {"old"}, true, "old.NC", 1},
        {"existing, decline then cancel", {"old"}, false, nullptr, 1},
        {"existing, decline then another", {"old", "new"}, false, "new.NC", 1},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        for (const char* f : {"part.NC", "part.nc", "part.txt.NC", "new.NC"}) {
            fs::remove(utf8Path(pathIn(f).toStdString()));
        }
        writeBytes(utf8Path(pathIn("old.NC").toStdString()), "old file, longer than the program");
        prompts = RecordingPrompts{};
        prompts.allowOverwrite = c.overwrite;
        for (const char* name : c.answers) {
            prompts.saveAnswers.push_back(pathIn(name));
        }
        start();
        click(launch(kCircleHole), kCircleHole.saveButton);
        EXPECT_EQ(prompts.overwriteAsked.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(prompts.overwriteAsked[0], pathIn("old.NC"));
        }
        if (c.written != nullptr) {
            EXPECT_EQ(readBytes(utf8Path(pathIn(c.written).toStdString())), "%\r\nO100\r\n%");
        }
        if (c.written == nullptr || std::string_view(c.written) != "old.NC") {
            EXPECT_EQ(readBytes(utf8Path(pathIn("old.NC").toStdString())),
                      "old file, longer than the program");
        }
        EXPECT_TRUE(prompts.messages.empty());
    }
}

// "出程序" writes the program slot, not the box: before any Generate the
// frame only, after a reopening the program generated before.
TEST_F(OperationWindowTest, SaveWritesTheProgramSlotAndRemembersThePath) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    prompts.saveAnswers = {pathIn("first"), pathIn("second")};
    click(circle, kCircleHole.saveButton);
    EXPECT_EQ(readBytes(utf8Path(pathIn("first.NC").toStdString())), "%\r\nO100\r\n%");
    click(circle, kCircleHole.generateButton);
    const std::string program = state->window(kCircleHole).programSlot;
    closeWindow(circle);
    circle = launch(kCircleHole);
    EXPECT_TRUE(output(circle).isEmpty());
    click(circle, kCircleHole.saveButton);
    EXPECT_EQ(readBytes(utf8Path(pathIn("second.NC").toStdString())),
              "%\r\nO100\r\n" + program + "%");
    click(circle, kCircleHole.saveButton);
    ASSERT_EQ(prompts.prefilled.size(), 3u);
    EXPECT_EQ(prompts.prefilled[0], "");
    EXPECT_EQ(prompts.prefilled[1], "");
    EXPECT_EQ(prompts.prefilled[2], pathIn("second.NC"));
}

// A file that cannot or must not be replaced is named with the reason, and
// left as it was.
TEST_F(OperationWindowTest, SaveToAPathThatCannotBeWrittenIsTold) {
    struct Case {
        const char* answer;
        std::function<void(const fs::path&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"missing/part", [](const fs::path&) {}, "No such file or directory"},
        {"readonly",
         [](const fs::path& p) {
             writeBytes(p, "old");
             fs::permissions(p, fs::perms::owner_read);
         },
         "只读"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "文件夹"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        TearDown();
        prompts = RecordingPrompts{};
        const QString path = pathIn(c.answer) + ".NC";
        c.make(utf8Path(path.toStdString()));
        start();
        prompts.saveAnswers = {pathIn(c.answer)};
        click(launch(kCircleHole), kCircleHole.saveButton);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].caption, "错误：");
        EXPECT_TRUE(prompts.messages[0].text.contains(path));
        EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromUtf8(c.reason)))
            << prompts.messages[0].text.toStdString();
    }
    EXPECT_EQ(readBytes(utf8Path(pathIn("readonly.NC").toStdString())), "old");
}

// The real save dialog, typed into as the operator would.
TEST_F(OperationWindowTest, RealSaveDialogGivesTheTypedName) {
    DesktopPrompts desktop(false);
    state = std::make_unique<AppState>(Workspace(folder()));
    auto* circle = new OperationWindow(*state, kCircleHole, desktop, nullptr);
    circle->show();
    bool typed = false;
    // Whatever goes wrong, the dialog is closed so that the test ends.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(5000, dialog, &QDialog::reject);
        EXPECT_TRUE(dialog->nameFilters().contains("NC 程序 (*.NC)"));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        ASSERT_TRUE(name != nullptr && buttons != nullptr);
        dialog->setDirectory(temp.path());
        QTest::keyClicks(name, "typed");
        if (name->completer() != nullptr) {
            name->completer()
                ->popup()
                ->hide();  // the name offered while typing would take the click
        }
        QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);

        typed = true;
    });
    click(circle, kCircleHole.saveButton);
    EXPECT_TRUE(typed);
    EXPECT_EQ(readBytes(utf8Path(pathIn("typed.NC").toStdString())), "%\r\nO100\r\n%");
    closeWindow(circle);
}

// "下一孔" collects holes for this opening only; the first hole's coordinates
// outlive it.
TEST_F(OperationWindowTest, NextHoleCountsAndReopeningStartsANewHoleList) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    auto count = [&] { return multi->findChild<QLabel*>("标签12")->text(); };
    fill(multi, {{"coordX", "12"}, {"coordY", "3.5"}, {"subprogramNumber", "9"}});
    click(multi, kNextHoleButton);
    EXPECT_EQ(count(), "1");
    type(multi, "坐标X", "40");
    click(multi, kNextHoleButton);
    EXPECT_EQ(count(), "2");
    click(multi, kFixtureMultiHole.generateButton);
    EXPECT_TRUE(output(multi).contains("G0 G90 G54 X12. Y3.5 M3 S\n"));
    EXPECT_TRUE(
        output(multi).contains("M08\n#30=12\n#31=3.5\nM98 P9\n#30=40\n#31=3.5\nM98 P9\nM05\n"));
    closeWindow(multi);

    multi = openDirectly(kFixtureMultiHole);
    EXPECT_EQ(count(), "0");
    EXPECT_TRUE(text(multi, "坐标X").isEmpty());
    click(multi, kFixtureMultiHole.generateButton);
    EXPECT_TRUE(output(multi).contains("G0 G90 G54 X12. Y3.5 M3 S\n"));
    EXPECT_TRUE(output(multi).contains(" M08\nM05\n"));
    type(multi, "坐标X", "7");
    click(multi, kNextHoleButton);
    EXPECT_EQ(count(), "1");
}

// The subprogram goes to the workspace on "多出" and on "出程序", once, always
// without the "%" that would end a consolidated file in its middle; the file
// "出程序" writes keeps its "%".
TEST_F(OperationWindowTest, SubprogramReachesTheWorkspaceWithoutItsPercent) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    fill(multi, {{"feedRate", "90"}, {"subprogramNumber", "7"}});
    const std::string sub =
        "O7\r\nG52 X#30 Y#31\r\nG01 Z-1. F90\r\nG0 Z30.\r\nG52 X0 Y0\r\nM99\r\n";
    click(multi, kFixtureMultiHole.appendButton);
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n");
    EXPECT_EQ(state->window(kFixtureMultiHole).appendLatch, 0);
    prompts.saveAnswers = {pathIn("multi")};
    click(multi, kFixtureMultiHole.saveButton);
    EXPECT_EQ(readBytes(utf8Path(pathIn("multi.NC").toStdString())), "%\r\nO100\r\n" + sub + "%");
    click(multi, kFixtureMultiHole.generateButton);
    click(multi, kFixtureMultiHole.appendButton);
    click(multi, kFixtureMultiHole.appendButton);
    EXPECT_EQ(readBytes(subprogramFile()), sub) << "the same subprogram is collected once";
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n" + state->window(kFixtureMultiHole).programSlot);
    click(multi, kFixtureMultiHole.saveButton);  // cancelled: nothing more anywhere
    EXPECT_EQ(readBytes(subprogramFile()), sub);
}

TEST_F(OperationWindowTest, MissingSubprogramFileIsToldAndTheSaveStillWritesItsFile) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    fs::remove(subprogramFile());
    prompts.saveAnswers = {pathIn("multi")};
    click(multi, kFixtureMultiHole.saveButton);
    EXPECT_TRUE(readBytes(utf8Path(pathIn("multi.NC").toStdString())).ends_with("M99\r\n%"));
    click(multi, kFixtureMultiHole.appendButton);
    ASSERT_EQ(prompts.messages.size(), 2u);
    for (const auto& message : prompts.messages) {
        EXPECT_TRUE(message.text.contains(QString::fromUtf8("临时子程序.NC")));
    }
    EXPECT_FALSE(fs::exists(subprogramFile()));
}

// One O number, one subprogram in the workspace: a different subprogram
// under a number already there (or the main program's 100) adds nothing at
// all and asks for another "子程序号"; "出程序" still writes its own file.
TEST_F(OperationWindowTest, OneSubprogramNumberOneSubprogram) {
    start();
    OperationWindow* multi = openDirectly(kFixtureMultiHole);
    fill(multi, {{"feedRate", "90"}, {"subprogramNumber", "7"}});
    click(multi, kFixtureMultiHole.appendButton);
    const std::string first = readBytes(subprogramFile());
    ASSERT_TRUE(first.starts_with("O7\r\n"));

    struct Case {
        const char* number;
        const char* feed;
        bool taken;
    };
    const Case cases[] = {{"7", "120", true}, {"0007", "90", true}, {"100", "90", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        prompts.messages.clear();
        fill(multi, {{"feedRate", c.feed}, {"subprogramNumber", c.number}});
        click(multi, kFixtureMultiHole.generateButton);
        click(multi, kFixtureMultiHole.appendButton);
        prompts.saveAnswers = {pathIn("own")};
        click(multi, kFixtureMultiHole.saveButton);
        ASSERT_EQ(prompts.messages.size(), 2u);
        for (const auto& message : prompts.messages) {
            EXPECT_TRUE(message.text.contains(QString::fromUtf8("子程序号")))
                << message.text.toStdString();
            EXPECT_TRUE(message.text.contains(QStringLiteral("O") + c.number));
        }
        EXPECT_EQ(state->window(kFixtureMultiHole).appendLatch, 0);
        EXPECT_EQ(readBytes(mainFile()), "O100\r\n");
        EXPECT_EQ(readBytes(subprogramFile()), first);
        EXPECT_TRUE(
            readBytes(utf8Path(pathIn("own.NC").toStdString()))
                .ends_with("F" + std::string(c.feed) + "\r\nG0 Z30.\r\nG52 X0 Y0\r\nM99\r\n%"));
    }

    prompts.messages.clear();
    fill(multi, {{"feedRate", "120"}, {"subprogramNumber", "8"}});
    click(multi, kFixtureMultiHole.appendButton);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n" + state->window(kFixtureMultiHole).programSlot);
    EXPECT_TRUE(readBytes(subprogramFile()).starts_with(first + "O8\r\n"));
}

}  // namespace
}  // namespace tesmara::ui
