// Saves a picture of every window, filled in and generated as an operator
// would, so that captions, layout and output can be looked at.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>

#include "app/app_state.hpp"
#include "app/output.hpp"
#include "ui/form.hpp"
#include "ui/main_window.hpp"
#include "ui/operation_window.hpp"
#include "ui/prompts.hpp"
#include "ui/settings_window.hpp"

namespace tesmara::ui {
namespace {

// Answers no dialog: the pictures are taken without anybody at the keyboard.
class Unattended final : public Prompts {
public:
    std::optional<QString> askSaveName(QWidget*, const QString&) override { return std::nullopt; }
    bool confirmOverwrite(QWidget*, const QString&) override { return false; }
    void tell(QWidget*, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s %s\n", qPrintable(caption), qPrintable(text));
    }
};

QString typicalValue(std::string_view field, int hole) {
    static const std::map<std::string_view, QString> kValues = {
        {"coordX", "50"},         {"coordY", "-25.5"},  {"toolNumber", "3"},
        {"spindleSpeed", "1500"}, {"feedRate", "300"},  {"startDepth", "1"},
        {"finalDepth", "12"},     {"depthPerCut", "2"}, {"subprogramNumber", "8001"},
    };
    const auto found = kValues.find(field);
    const QString value = found == kValues.end() ? QStringLiteral("6") : found->second;
    return field == "coordX" ? QString::number(value.toInt() + 40 * hole) : value;
}

void fill(OperationWindow& window, int hole) {
    for (const Field& f : window.operation().fields) {
        auto* edit = window.findChild<QLineEdit*>(qtText(f.control));
        edit->clear();
        QTest::keyClicks(edit, typicalValue(f.name, hole));
    }
}

void click(QWidget& window, std::string_view name) {
    QTest::mouseClick(window.findChild<QAbstractButton*>(qtText(name)), Qt::LeftButton);
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

bool shootOperation(MainWindow& main, const Operation& op, const QDir& folder) {
    click(main, op.launcher.name);
    OperationWindow* window = main.openWindow(op);
    const int holes = op.multiHole != nullptr ? 3 : 1;
    for (int hole = 0; hole < holes; ++hole) {
        fill(*window, hole);
        if (op.multiHole != nullptr) {
            click(*window, kNextHoleButton);
        }
    }
    click(*window, kHeaderBox);
    click(*window, op.generateButton);
    const bool saved = save(*window, folder, qtText(op.id));
    window->close();
    return saved;
}

int shoot(const QDir& folder) {
    QTemporaryDir workspace;
    AppState state{Workspace(utf8Path(workspace.path().toStdString()))};
    Unattended prompts;
    auto* main = new MainWindow(state, prompts);
    main->show();
    bool ok = save(*main, folder, "main");
    click(*main, "按钮_设置窗口");
    if (auto* settings = main->findChild<SettingsWindow*>()) {
        ok = save(*settings, folder, "settings") && ok;
        settings->close();
    }
    for (const Operation* op : catalog()) {
        ok = shootOperation(*main, *op, folder) && ok;
    }
    main->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace tesmara::ui

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tesmara-shots FOLDER\n");
        return 2;
    }
    tesmara::ui::applyAppearance(app);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "tesmara-shots: cannot create %s\n", argv[1]);
        return 1;
    }
    return tesmara::ui::shoot(folder);
}
