#include "harness.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <fstream>
#include <iterator>

#include "app/output.hpp"
#include "ui/form.hpp"

namespace tesmara::ui {

namespace {

using enum ControlKind;

constexpr Control kFixtureControls[] = {
    {"坐标X", EditBox, "", "", {40, 8, 64, 20}},
    {"坐标Y", EditBox, "", "", {40, 32, 64, 20}},
    {"刀具号", EditBox, "", "", {40, 56, 64, 20}},
    {"转速", EditBox, "", "", {40, 80, 64, 20}},
    {"进给", EditBox, "", "", {40, 104, 64, 20}},
    {"子程序号", EditBox, "", "", {40, 128, 64, 20}},
    {"标签11", Label, "", "孔数：", {8, 152, 40, 20}},
    {"标签12", Label, "", "0", {48, 152, 40, 20}},
    {"按钮_下一孔", Button, "", "下一孔", {8, 176, 64, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 208, 64, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 240, 64, 24}},
    {"按钮_程序连接", Button, "", "多出", {8, 272, 64, 24}},
    {"选择框_头部", CheckBox, "", "头部", {80, 208, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {80, 240, 56, 24}},
    {"编辑框1", OutputBox, "", "", {144, 8, 240, 288}},
    {"通用对话框1", SaveDialog, "", "", {200, 200, 26, 26}},
};

constexpr Field kFixtureFields[] = {
    {"coordX", "坐标X"},      {"coordY", "坐标Y"},  {"toolNumber", "刀具号"},
    {"spindleSpeed", "转速"}, {"feedRate", "进给"}, {"subprogramNumber", "子程序号"},
};

constexpr Piece kFixtureHoleBlock[] = {
    lit("{&}#30="),  field("coordX"), lit("{&}#31="),
    field("coordY"), lit("{&}M98 P"), field("subprogramNumber"),
};

constexpr Piece kFixtureBody[] = {
    lit("{&}G52 X#30 Y#31{&}G01 Z-1. F"),
    field("feedRate"),
    lit("{&}G0 Z"),
};

constexpr MultiHole kFixtureMulti{kFixtureHoleBlock, kFixtureBody, "标签12"};

}  // namespace

const Operation kFixtureMultiHole{
    .id = "fixture-multi",
    .title = "多孔测试",
    .launcher = {"按钮_多孔测试", Button, "", "多孔测试", {0, 0, 80, 32}},
    .mode = WindowMode::Modal,
    .window = {50, 50, 392, 304},
    .controls = kFixtureControls,
    .fields = kFixtureFields,
    .coordinateRule = CoordinateRule::EmptyToZero,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_出程序",
    .appendButton = "按钮_程序连接",
    .program = kMultiHoleMainProgram,
    .multiHole = &kFixtureMulti,
};

std::optional<QString> RecordingPrompts::askSaveName(QWidget*, const QString& prefilledName) {
    prefilled.push_back(prefilledName);
    if (saveAnswers.empty()) {
        return std::nullopt;
    }
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool RecordingPrompts::confirmOverwrite(QWidget*, const QString& path) {
    overwriteAsked.push_back(path);
    return allowOverwrite;
}

bool RecordingPrompts::askYesNo(QWidget*, const QString&, const QString& text) {
    questions.push_back(text);
    return answerYes;
}

void RecordingPrompts::tell(QWidget*, const QString& caption, const QString& text) {
    messages.push_back({caption, text});
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void DesktopTest::SetUp() {
    ASSERT_TRUE(temp.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, temp.filePath("settings"));
}

void DesktopTest::TearDown() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The next case of a table starts as after a run that exported everything.
    Workspace(folder()).reset();
}

std::filesystem::path DesktopTest::folder() const {
    return utf8Path(temp.path().toStdString());
}

QString DesktopTest::pathIn(const char* name) const {
    return temp.filePath(QString::fromUtf8(name));
}

void DesktopTest::start(std::optional<std::filesystem::path> workspaceFolder) {
    state = std::make_unique<AppState>(Workspace(workspaceFolder.value_or(folder())));
    main = new MainWindow(*state, prompts);
    main->show();
}

OperationWindow* DesktopTest::launch(const Operation& op) {
    click(main, op.launcher.name);
    return main->openWindow(op);
}

OperationWindow* DesktopTest::openDirectly(const Operation& op) {
    auto* window = new OperationWindow(*state, op, prompts, main);
    window->show();
    return window;
}

void DesktopTest::closeWindow(QWidget* window) {
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DesktopTest::click(QWidget* window, std::string_view name) {
    auto* button = window->findChild<QAbstractButton*>(qtText(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void DesktopTest::clickThroughWindowSystem(QWidget* window, std::string_view name) {
    auto* button = window->findChild<QAbstractButton*>(qtText(name));
    ASSERT_NE(button, nullptr) << name;
    const QPoint centre = button->mapTo(window, button->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre);
    QApplication::processEvents();
}

void DesktopTest::type(QWidget* window, std::string_view name, const QString& text) {
    auto* edit = window->findChild<QLineEdit*>(qtText(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->clear();
    QTest::keyClicks(edit, text);
}

QString DesktopTest::text(QWidget* window, std::string_view name) {
    return window->findChild<QLineEdit*>(qtText(name))->text();
}

QString DesktopTest::output(QWidget* window) {
    return window->findChild<QPlainTextEdit*>(qtText(kOutputBox))->toPlainText();
}

void DesktopTest::fill(OperationWindow* window,
                       const std::vector<std::pair<std::string, QString>>& values) {
    for (const auto& [fieldName, value] : values) {
        type(window, findField(window->operation(), fieldName)->control, value);
    }
}

}  // namespace tesmara::ui
