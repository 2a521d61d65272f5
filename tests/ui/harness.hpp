#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.hpp"
#include "ui/main_window.hpp"
#include "ui/operation_window.hpp"
#include "ui/prompts.hpp"

namespace tesmara::ui {

// Stands in for the operator at the dialogs: answers the save dialog from a
// queue (an empty queue cancels), answers every other question as told and
// records every question and message.
class RecordingPrompts final : public Prompts {
public:
    struct Message {
        QString caption;
        QString text;
    };

    std::deque<QString> saveAnswers;
    bool allowOverwrite = true;
    bool answerYes = true;  // to every other question
    std::vector<QString> questions;
    std::vector<QString> prefilled;
    std::vector<QString> overwriteAsked;
    std::vector<Message> messages;

    std::optional<QString> askSaveName(QWidget* parent, const QString& prefilledName) override;
    bool confirmOverwrite(QWidget* parent, const QString& path) override;
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void tell(QWidget* parent, const QString& caption, const QString& text) override;
};

// A multi-hole window small enough to read whole: two coordinates, a hole
// block that calls the subprogram and a subprogram that feeds once.
extern const Operation kFixtureMultiHole;

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

// A run of the desktop program in a temporary workspace, with the real main
// window and real widgets.
class DesktopTest : public testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path folder() const;
    // The running workspace, or the one start() will use.
    Workspace workspace() const { return state ? state->workspace : Workspace(folder()); }
    std::filesystem::path mainFile() const { return workspace().mainFile(); }
    std::filesystem::path subprogramFile() const { return workspace().subprogramFile(); }
    QString pathIn(const char* name) const;

    // The main window over a workspace in `workspaceFolder` (the temporary one by default).
    void start(std::optional<std::filesystem::path> workspaceFolder = std::nullopt);
    OperationWindow* launch(const Operation& op);
    // Windows of operations that have no launcher are opened as the main window would.
    OperationWindow* openDirectly(const Operation& op);
    void closeWindow(QWidget* window);

    static void click(QWidget* window, std::string_view name);
    // As a real mouse would: a window blocked by a modal one does not get it.
    static void clickThroughWindowSystem(QWidget* window, std::string_view name);
    static void type(QWidget* window, std::string_view name, const QString& text);
    static QString text(QWidget* window, std::string_view name);
    static QString output(QWidget* window);
    static void fill(OperationWindow* window,
                     const std::vector<std::pair<std::string, QString>>& values);

    QTemporaryDir temp;
    std::unique_ptr<AppState> state;
    RecordingPrompts prompts;
    QPointer<MainWindow> main;
};

}  // namespace tesmara::ui
