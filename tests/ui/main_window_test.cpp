// The run as the operator meets it: start-up, the launchers, the settings
// window, the export and the guard against a second program on the workspace.
#include <unistd.h>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/output.hpp"
#include "harness.hpp"
#include "ui/form.hpp"
#include "ui/settings_window.hpp"
#include "ui/workspace_lock.hpp"

namespace tesmara::ui {
namespace {

namespace fs = std::filesystem;

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

std::string expectedFile(const char* name) {
    std::ifstream in(fs::path(TESMARA_UI_TEST_DIR) / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return withCrLf(text.str());
}

bool endsRun(QPointer<MainWindow>& main) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return main.isNull();
}

using MainWindowTest = DesktopTest;

TEST_F(MainWindowTest, StartUpResetsTheWorkspaceAndTheSettings) {
    writeBytes(mainFile(), "old programs");
    writeBytes(subprogramFile(), "old subprograms");
    start();
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n");
    EXPECT_TRUE(fs::exists(subprogramFile()));
    EXPECT_EQ(readBytes(subprogramFile()), "");
    EXPECT_EQ(state->settings.safeHeight, "30.");
    EXPECT_EQ(state->settings.workOffset, "54");
    ASSERT_EQ(prompts.messages.size(), 1u) << "where the old programs were kept";
    EXPECT_EQ(readBytes(workspace().backupMainFile()), "old programs");
    EXPECT_EQ(main->windowTitle(), "Tesmara");
    EXPECT_EQ(main->size(), QSize(380, 250));
}

TEST_F(MainWindowTest, LaunchersAreThereWithTheirCaptionsAndPlaces) {
    start();
    struct Own {
        const char* name;
        const char* caption;
        QPoint place;
    };
    std::vector<Own> buttons = {{"按钮_汇出", "汇出", {88, 176}},
                                {"按钮_设置窗口", "设置", {176, 176}},
                                {"按钮_刀具表", "刀具表", {264, 176}}};
    for (const Operation* op : catalog()) {
        buttons.push_back({op->launcher.name.data(),
                           op->launcher.caption.data(),
                           {op->launcher.rect.x, op->launcher.rect.y}});
    }
    for (const Own& own : buttons) {
        auto* button = main->findChild<QPushButton*>(QString::fromUtf8(own.name));
        ASSERT_NE(button, nullptr) << own.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(own.caption));
        EXPECT_EQ(button->geometry(), QRect(own.place, QSize(80, 32))) << own.name;
    }
}

// One "单圆铣孔" program with its header, three holes in "多孔铣",
// then "汇出": the file holds both main programs, the subprogram and the frame.
TEST_F(MainWindowTest, TypicalRoadEndsInTheConsolidatedFile) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    fill(circle, {{"coordX", "100"},
                  {"coordY", "-50.5"},
                  {"toolNumber", "3"},
                  {"startDepth", "1"},
                  {"finalDepth", "6"},
                  {"depthPerCut", "2"},
                  {"circleDiameter", "20"},
                  {"spindleSpeed", "1200"},
                  {"feedRate", "300"}});
    click(circle, kHeaderBox);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    closeWindow(circle);

    OperationWindow* multi = launch(kMultiHole);
    fill(multi, {{"coordY", "-50.5"},
                 {"startDepth", "1"},
                 {"finalDepth", "6"},
                 {"depthPerCut", "2"},
                 {"holeDiameter", "20"},
                 {"subprogramNumber", "8000"},
                 {"toolNumber", "3"},
                 {"spindleSpeed", "1200"},
                 {"feedRate", "300"}});
    for (const char* x : {"100", "160", "220"}) {
        type(multi, "坐标X", x);
        click(multi, kNextHoleButton);
    }
    click(multi, kMultiHole.generateButton);
    click(multi, kMultiHole.appendButton);
    closeWindow(multi);

    prompts.saveAnswers.push_back(pathIn("all"));
    click(main, "按钮_汇出");
    EXPECT_EQ(readBytes(utf8Path(pathIn("all.NC").toStdString())), expectedFile("road.nc"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "信息：");
    EXPECT_EQ(prompts.messages[0].text, "谢谢使用！！");
    EXPECT_TRUE(endsRun(main));
}

// Only a written file ends the run. Where the chosen path cannot be written
// the operator is told; a cancel says nothing. Either way the run goes on and
// the workspace is untouched, so another path can be tried.
TEST_F(MainWindowTest, ExportOutcomes) {
    struct Case {
        const char* answer;  // null: cancel
        bool fails;
    };
    std::vector<Case> cases = {
        {nullptr, false},
        {"existing.NC", false},
        {"missing/out", true},
        {"plain/out", true},  // "plain" is a file, not a folder
    };
    writeBytes(utf8Path(pathIn("plain").toStdString()), "");
    fs::create_directory(utf8Path(pathIn("locked").toStdString()));
    fs::permissions(utf8Path(pathIn("locked").toStdString()),
                    fs::perms::owner_read | fs::perms::owner_exec);
#ifndef _WIN32
    // The superuser writes into read-only folders all the same; Windows has no
    // read-only folders.
    if (::geteuid() != 0) {
        cases.push_back({"locked/out", true});
    }
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer != nullptr ? c.answer : "cancel");
        TearDown();
        writeBytes(utf8Path(pathIn("existing.NC").toStdString()), "a much longer old file");
        prompts = RecordingPrompts{};
        QTemporaryDir workspace;
        start(utf8Path(workspace.path().toStdString()));
        OperationWindow* circle = launch(kCircleHole);
        click(circle, kCircleHole.generateButton);
        click(circle, kCircleHole.appendButton);
        const std::string collected = readBytes(mainFile());
        if (c.answer != nullptr) {
            prompts.saveAnswers.push_back(pathIn(c.answer));
        }
        click(main, "按钮_汇出");
        const bool written = c.answer != nullptr && !c.fails;
        ASSERT_EQ(prompts.messages.size(), c.answer != nullptr ? 1u : 0u);
        if (c.fails) {
            const RecordingPrompts::Message& told = prompts.messages[0];
            EXPECT_EQ(told.caption, "错误：");
            EXPECT_TRUE(told.text.contains(pathIn(c.answer))) << told.text.toStdString();
        } else if (written) {
            EXPECT_EQ(prompts.messages[0].caption, "信息：");
            EXPECT_EQ(prompts.messages[0].text, "谢谢使用！！");
        }
        EXPECT_EQ(endsRun(main), written);
        EXPECT_EQ(readBytes(mainFile()), written ? "O100\r\n" : collected);
        EXPECT_EQ(readBytes(utf8Path(pathIn("existing.NC").toStdString())),
                  written ? "%\r\n" + collected + "%" : "a much longer old file");
        EXPECT_TRUE(prompts.questions.empty()) << "an export leaves nothing to ask about";
    }
}

// Closing the main window while the workspace holds programs that were not
// exported asks first; "否" returns to the run with everything kept.
TEST_F(MainWindowTest, ClosingWithProgramsNotExportedAsksFirst) {
    struct Case {
        const char* name;
        bool collect;
        bool answerYes;
        bool asked;
        bool ends;
    };
    const Case cases[] = {
        {"nothing collected", false, false, false, true},
        {"collected, yes", true, true, true, true},
        {"collected, no", true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        prompts = RecordingPrompts{};
        prompts.answerYes = c.answerYes;
        QTemporaryDir workspace;
        start(utf8Path(workspace.path().toStdString()));
        QPointer<OperationWindow> circle = launch(kCircleHole);
        click(circle, kCircleHole.generateButton);
        if (c.collect) {
            click(circle, kCircleHole.appendButton);
        }
        const std::string collected = readBytes(mainFile());
        main->close();
        ASSERT_EQ(prompts.questions.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_TRUE(prompts.questions[0].contains(QString::fromUtf8("上次未汇出.NC")));
        }
        EXPECT_EQ(endsRun(main), c.ends);
        EXPECT_EQ(circle.isNull(), c.ends);
        EXPECT_EQ(readBytes(mainFile()), collected);
        prompts.answerYes = true;
    }
}

// Programs a run left without exporting them (a crash, or a confirmed
// close) are kept once for the next start, which says where; a run that
// exported everything leaves nothing to keep.
TEST_F(MainWindowTest, NextStartKeepsWhatTheLastRunDidNotExport) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    const std::string collected = readBytes(mainFile());
    main->close();
    ASSERT_TRUE(endsRun(main));

    prompts = RecordingPrompts{};
    start();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "信息：");
    const Workspace here = workspace();
    EXPECT_TRUE(
        prompts.messages[0].text.contains(QString::fromStdString(pathText(here.backupMainFile()))));
    EXPECT_TRUE(prompts.messages[0].text.contains(
        QString::fromStdString(pathText(here.backupSubprogramFile()))));
    EXPECT_EQ(readBytes(here.backupMainFile()), collected);
    EXPECT_EQ(readBytes(mainFile()), "O100\r\n");

    circle = launch(kCircleHole);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    prompts.saveAnswers.push_back(pathIn("all"));
    click(main, "按钮_汇出");
    ASSERT_TRUE(endsRun(main));
    prompts = RecordingPrompts{};
    start();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(readBytes(here.backupMainFile()), collected) << "the older generation stays";
}

TEST_F(MainWindowTest, FailedExportCanBeRetriedWithAnotherPath) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    const std::string program = state->window(kCircleHole).programSlot;
    prompts.saveAnswers = {pathIn("missing/out"), pathIn("out")};
    click(main, "按钮_汇出");
    ASSERT_FALSE(endsRun(main));
    click(main, "按钮_汇出");
    EXPECT_EQ(prompts.prefilled.back(), pathIn("missing/out.NC"));
    EXPECT_EQ(readBytes(utf8Path(pathIn("out.NC").toStdString())), "%\r\nO100\r\n" + program + "%");
    EXPECT_TRUE(endsRun(main));
}

// A workspace that start-up could not reset may hold another run's
// programs: "多出" and "汇出" say that it is not usable and why, and nothing
// of it is exported.
TEST_F(MainWindowTest, WorkspaceThatCouldNotBeResetIsNotUsed) {
    struct Case {
        const char* name;
        std::function<void(const Workspace&)> prepare;
        const char* named;  // the file the start-up message names
    };
    const Case cases[] = {
        {"folder missing", [](const Workspace& w) { fs::remove(w.folder()); }, "临时.NC"},
        {"last run's programs cannot be kept",
         [](const Workspace& w) {
             writeBytes(w.mainFile(), "O100\r\nM01 (earlier run)\r\n");
             fs::create_directories(w.backupMainFile() / "in the way");
         },
         "上次未汇出.NC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        prompts = RecordingPrompts{};
        QTemporaryDir workspace;
        const fs::path where = utf8Path(workspace.path().toStdString()) / "workspace";
        fs::create_directory(where);
        c.prepare(Workspace(where));
        start(where);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].caption, "错误：");
        EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromUtf8(c.named)));

        OperationWindow* circle = launch(kCircleHole);
        click(circle, kCircleHole.generateButton);
        click(circle, kCircleHole.appendButton);
        prompts.saveAnswers.push_back(pathIn("out"));
        click(main, "按钮_汇出");
        ASSERT_EQ(prompts.messages.size(), 3u);
        for (int i : {1, 2}) {
            EXPECT_TRUE(prompts.messages[i].text.contains(QString::fromUtf8("工作区不可用")));
            EXPECT_TRUE(prompts.messages[i].text.contains(QString::fromUtf8(c.named)));
        }
        EXPECT_EQ(state->window(kCircleHole).appendLatch, 0);
        EXPECT_FALSE(fs::exists(utf8Path(pathIn("out.NC").toStdString())));
        EXPECT_FALSE(endsRun(main));
    }
}

// Modeless windows belong to the main window and leave it usable; modal ones
// block it. A second click raises the open window and keeps what was typed.
TEST_F(MainWindowTest, LaunchersOpenOneWindowEachAsTheTableSays) {
    start();
    for (const Operation* op : catalog()) {
        SCOPED_TRACE(op->title);
        OperationWindow* window = launch(*op);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), qtText(op->title));
        const std::string_view field = op->fields.front().control;
        type(window, field, "7");
        if (op->mode == WindowMode::Modal) {
            EXPECT_EQ(window->parentWidget(), nullptr);
            EXPECT_EQ(QApplication::activeModalWidget(), window);
            clickThroughWindowSystem(main, "按钮_设置窗口");
            EXPECT_EQ(main->findChild<SettingsWindow*>(), nullptr);
        } else {
            EXPECT_EQ(window->parentWidget(), main.data());
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            window->showMinimized();
            EXPECT_EQ(launch(*op), window);
            EXPECT_FALSE(window->isMinimized());
        }
        EXPECT_EQ(text(window, field), "7");
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        closeWindow(window);
        EXPECT_EQ(main->openWindow(*op), nullptr);
        EXPECT_TRUE(lastClosed.isEmpty());
        EXPECT_TRUE(main->isVisible());
    }
}

TEST_F(MainWindowTest, ModalWindowBlocksTheLaunchers) {
    start();
    OperationWindow* modal = openDirectly(kFixtureMultiHole);
    ASSERT_EQ(QApplication::activeModalWidget(), modal);
    clickThroughWindowSystem(main, kCircleHole.launcher.name);
    EXPECT_EQ(main->openWindow(kCircleHole), nullptr);
    closeWindow(modal);
    clickThroughWindowSystem(main, kCircleHole.launcher.name);
    EXPECT_NE(main->openWindow(kCircleHole), nullptr);
}

TEST_F(MainWindowTest, ClosingTheMainWindowTakesTheModelessWindowsAlong) {
    start();
    QPointer<OperationWindow> circle = launch(kCircleHole);
    click(circle, kCircleHole.generateButton);
    click(circle, kCircleHole.appendButton);
    ASSERT_EQ(state->window(kCircleHole).appendLatch, 1);
    main->close();
    EXPECT_TRUE(endsRun(main));
    EXPECT_TRUE(circle.isNull());
    EXPECT_EQ(state->window(kCircleHole).appendLatch, 0);
}

SettingsWindow* openSettings(MainWindow* main) {
    DesktopTest::click(main, "按钮_设置窗口");
    return main->findChild<SettingsWindow*>();
}

TEST_F(MainWindowTest, SettingsAreShownAndStored) {
    struct Case {
        const char* safeHeight;
        const char* workOffset;
        const char* storedHeight;
        const char* shownNext;
    };
    const Case cases[] = {
        {"30", "54", "30.", "30"}, {"25", "55", "25.", "25"}, {"25.5", "G59", "25.5", "25.5"},
        {"25.", "", "25.", "25"},  {"", "54.1", ".", ""},     {"3.0.", "54", "3.0.", "3.0."},
    };
    start();
    SettingsWindow* settings = openSettings(main);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->windowTitle(), "设置");
    EXPECT_EQ(text(settings, "编辑框1"), "30");
    EXPECT_EQ(text(settings, "编辑框2"), "54");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.safeHeight);
        settings = openSettings(main);
        type(settings, "编辑框1", QString::fromUtf8(c.safeHeight));
        type(settings, "编辑框2", QString::fromUtf8(c.workOffset));
        click(settings, "按钮1");
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(main->findChild<SettingsWindow*>(), nullptr);
        EXPECT_EQ(state->settings.safeHeight, c.storedHeight);
        EXPECT_EQ(state->settings.workOffset, c.workOffset);
        settings = openSettings(main);
        EXPECT_EQ(text(settings, "编辑框1"), QString::fromUtf8(c.shownNext));
        closeWindow(settings);
    }
}

TEST_F(MainWindowTest, SettingsReachTheNextProgramOnly) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    click(circle, kCircleHole.generateButton);
    const std::string before = state->window(kCircleHole).programSlot;
    SettingsWindow* settings = openSettings(main);
    type(settings, "编辑框1", "50");
    type(settings, "编辑框2", "55");
    click(settings, "按钮1");
    EXPECT_EQ(state->window(kCircleHole).programSlot, before);
    click(circle, kCircleHole.generateButton);
    EXPECT_TRUE(output(circle).contains("G0 G90 G55 X0 Y0"));
    EXPECT_TRUE(output(circle).contains("N101 G0 Z50.\n"));
}

TEST_F(MainWindowTest, SettingsClosedByTheFrameOrRaisedAgainKeepWhatWasTyped) {
    start();
    SettingsWindow* settings = openSettings(main);
    type(settings, "编辑框1", "99");
    EXPECT_EQ(openSettings(main), settings);
    EXPECT_EQ(text(settings, "编辑框1"), "99");
    closeWindow(settings);
    EXPECT_EQ(state->settings.safeHeight, "30.");
    EXPECT_EQ(text(openSettings(main), "编辑框1"), "30");
}

// A second program on the same folder is refused before it touches the files.
TEST_F(MainWindowTest, SecondProgramOnTheWorkspaceIsRefused) {
    WorkspaceLock first(folder());
    ASSERT_TRUE(first.acquire(prompts));
    {
        WorkspaceLock second(folder());
        EXPECT_FALSE(second.acquire(prompts));
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].caption, "错误：");
        EXPECT_TRUE(prompts.messages[0].text.contains(temp.path()));
    }
    WorkspaceLock elsewhere(folder() / "missing");
    EXPECT_TRUE(elsewhere.acquire(prompts));
    EXPECT_EQ(prompts.messages.size(), 1u);
}

}  // namespace
}  // namespace tesmara::ui
