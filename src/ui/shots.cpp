// Saves a picture of every window, filled in and generated as an operator
// would, so that captions, layout and output can be looked at, and the program
// each operation window saves, so that two builds can be compared byte for byte.
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <utility>

#include "app/app_state.hpp"
#include "app/output.hpp"
#include "ui/check_runner.hpp"
#include "ui/form.hpp"
#include "ui/main_window.hpp"
#include "ui/operation_window.hpp"
#include "ui/path_view.hpp"
#include "ui/preview_pane.hpp"
#include "ui/prompts.hpp"
#include "ui/settings_window.hpp"
#include "ui/tool_table_window.hpp"

namespace tesmara::ui {
namespace {

// Nobody is at the keyboard: the save dialog is answered with the name given
// beforehand, in the pictures' folder, and every other question with no.
class Unattended final : public Prompts {
public:
    explicit Unattended(QDir folder) : m_folder(std::move(folder)) {}

    void saveNextAs(const QString& name) { m_name = name; }
    std::optional<QString> askSaveName(QWidget*, const QString&) override {
        if (m_name.isEmpty()) {
            return std::nullopt;
        }
        return m_folder.filePath(std::exchange(m_name, QString()));
    }
    bool confirmOverwrite(QWidget*, const QString&) override { return false; }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void tell(QWidget*, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s %s\n", qPrintable(caption), qPrintable(text));
    }

private:
    QDir m_folder;
    QString m_name;
};

void click(QWidget& window, std::string_view name) {
    QTest::mouseClick(window.findChild<QAbstractButton*>(qtText(name)), Qt::LeftButton);
}

// One argument as tesmara-cli generate takes it: a field, "next-hole" or the
// header and trailer flags; the command and operation names are passed over.
bool applyArg(OperationWindow& window, const QString& arg) {
    const qsizetype equals = arg.indexOf('=');
    if (arg == QStringLiteral("next-hole")) {
        click(window, kNextHoleButton);
    } else if (arg == QStringLiteral("--header") || arg == QStringLiteral("--trailer")) {
        click(window, arg == QStringLiteral("--header") ? kHeaderBox : kTrailerBox);
    } else if (equals > 0) {
        const Field* f = findField(window.operation(), arg.left(equals).toStdString());
        auto* edit = f != nullptr ? window.findChild<QLineEdit*>(qtText(f->control)) : nullptr;
        if (edit == nullptr) {
            std::fprintf(stderr, "tesmara-shots: no field for %s\n", qPrintable(arg));
            return false;
        }
        edit->clear();
        QTest::keyClicks(edit, arg.mid(equals + 1));
    }
    return true;
}

// The typical case of the operation's golden test, one argument a line.
bool fillFromCase(OperationWindow& window, const QDir& cases) {
    QFile in(cases.filePath(qtText(window.operation().id) + "/typical.args"));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "tesmara-shots: cannot read %s\n", qPrintable(in.fileName()));
        return false;
    }
    bool ok = true;
    for (const QString& arg : QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts)) {
        ok = applyArg(window, arg) && ok;
    }
    return ok;
}

// The preview checks beside the window; a picture waits for its result.
void generateAndWait(OperationWindow& window) {
    click(window, window.operation().generateButton);
    const QDeadlineTimer deadline(10'000);
    while (window.previewCheck().running() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

bool save(QWidget& window, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = folder.filePath(name + ".png");
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "tesmara-shots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The window's picture, and the program "出程序" writes, as NAME.NC beside it.
bool shootOperation(MainWindow& main, const Operation& op, Unattended& prompts, const QDir& folder,
                    const QDir& cases) {
    click(main, op.launcher.name);
    OperationWindow* window = main.openWindow(op);
    const QString name = qtText(op.id);
    bool ok = fillFromCase(*window, cases);
    generateAndWait(*window);
    ok = save(*window, folder, name) && ok;
    prompts.saveNextAs(name);
    click(*window, op.saveButton);
    ok = QFile::exists(folder.filePath(name + ".NC")) && ok;
    window->close();
    return ok;
}

// The tools of the typical cases typed into "刀具表", then the hole and the
// groove again: the swept band, the tool centre and the tool at a chosen line.
bool shootTools(MainWindow& main, const QDir& folder, const QDir& cases) {
    main.showToolTable();
    ToolTableWindow* tools = main.toolTableWindow();
    auto* table = tools->findChild<QTableWidget*>(QStringLiteral("刀具表格"));
    for (const QStringList& row :
         {QStringList{"3", "10", ""}, QStringList{"5", "6", ""}, QStringList{"2", "50", ""}}) {
        click(*tools, "按钮_添加");
        for (int column = 0; column < row.size(); ++column) {
            table->item(table->rowCount() - 1, column)->setText(row[column]);
        }
    }
    bool ok = save(*tools, folder, "tool-table");
    click(*tools, "按钮_确定");
    for (const auto& [op, line] : {std::pair{&kCircleHole, 18}, std::pair{&kRingGroove, 28}}) {
        click(main, op->launcher.name);
        OperationWindow* window = main.openWindow(*op);
        ok = fillFromCase(*window, cases) && ok;
        click(*window, op->generateButton);
        window->preview()->findChild<PathView*>()->highlightLine(line);
        ok = save(*window, folder, qtText(op->id) + "-tools") && ok;
        window->close();
    }
    return ok;
}

int shoot(const QDir& folder, const QDir& cases) {
    QTemporaryDir workspace;
    AppState state{Workspace(utf8Path(workspace.path().toStdString()))};
    Unattended prompts(folder);
    auto* main = new MainWindow(state, prompts);
    main->show();
    bool ok = save(*main, folder, "main");
    click(*main, "按钮_设置窗口");
    if (auto* settings = main->findChild<SettingsWindow*>()) {
        ok = save(*settings, folder, "settings") && ok;
        settings->close();
    }
    for (const Operation* op : catalog()) {
        ok = shootOperation(*main, *op, prompts, folder, cases) && ok;
    }
    // A groove narrower than the tool stops at its alarm; the first
    // diagnostic is chosen, so its line is selected in the output box.
    click(*main, kRingGroove.launcher.name);
    OperationWindow* alarm = main->openWindow(kRingGroove);
    ok = fillFromCase(*alarm, cases) && applyArg(*alarm, "toolDiameter=12") && ok;
    generateAndWait(*alarm);
    alarm->preview()->findChild<QListWidget*>()->setCurrentRow(0);
    ok = save(*alarm, folder, "ring-groove-alarm") && ok;
    alarm->close();
    // Hidden once, the preview stays hidden for the windows opened after it.
    click(*main, kCircleHole.launcher.name);
    OperationWindow* hidden = main->openWindow(kCircleHole);
    ok = fillFromCase(*hidden, cases) && ok;
    generateAndWait(*hidden);
    click(*hidden, "按钮_预览");
    ok = save(*hidden, folder, "circle-hole-preview-hidden") && ok;
    click(*hidden, "按钮_预览");
    hidden->close();
    ok = shootTools(*main, folder, cases) && ok;
    main->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace tesmara::ui

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tesmara-shots FOLDER CASES\n");
        return 2;
    }
    tesmara::ui::applyAppearance(app);
    // The pictures' Generates and tool table must not become the user's own.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "tesmara-shots: cannot create %s\n", argv[1]);
        return 1;
    }
    return tesmara::ui::shoot(folder, QDir(QString::fromLocal8Bit(argv[2])));
}
