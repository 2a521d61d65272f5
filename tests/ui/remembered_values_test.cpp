#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "harness.hpp"
#include "operations/catalog.hpp"
#include "ui/form.hpp"
#include "ui/values_bar.hpp"

namespace tesmara::ui {
namespace {

using RememberedValuesTest = DesktopTest;

bool ticked(QWidget* window, std::string_view box) {
    return window->findChild<QCheckBox*>(qtText(box))->isChecked();
}

TEST_F(RememberedValuesTest, LastGenerateComesBackWithOneClickAfterAnEmptyOpening) {
    start();
    OperationWindow* circle = launch(kCircleHole);
    fill(circle, {{"toolNumber", "3"}, {"feedRate", "300"}, {"coordY", "5"}});
    click(circle, kHeaderBox);
    click(circle, kCircleHole.generateButton);
    closeWindow(circle);

    circle = launch(kCircleHole);
    EXPECT_TRUE(text(circle, "刀具号").isEmpty()) << "a window still opens empty";
    click(circle, "按钮_上次的值");
    EXPECT_EQ(text(circle, "刀具号"), "3");
    EXPECT_EQ(text(circle, "进给"), "300");
    EXPECT_EQ(text(circle, "坐标X"), "0") << "as Generate left it";
    EXPECT_TRUE(ticked(circle, kHeaderBox));
    EXPECT_FALSE(ticked(circle, kTrailerBox));

    OperationWindow* face = launch(kFace);
    click(face, "按钮_上次的值");
    EXPECT_TRUE(text(face, "刀具号").isEmpty()) << "each window remembers its own";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RememberedValuesTest, PresetsAreSavedFilledAndDeletedByName) {
    start();
    OperationWindow* face = launch(kFace);
    ValuesBar* bar = face->valuesBar();
    fill(face, {{"toolNumber", "1"}, {"spindleSpeed", "900"}});
    bar->savePreset("粗铣");
    fill(face, {{"toolNumber", "2"}, {"spindleSpeed", "1500"}});
    click(face, kTrailerBox);
    bar->savePreset("精铣");
    bar->fillPreset("粗铣");
    EXPECT_EQ(text(face, "刀具号"), "1");
    EXPECT_EQ(text(face, "转速"), "900");
    EXPECT_FALSE(ticked(face, kTrailerBox));

    type(face, "转速", "1000");
    bar->savePreset("粗铣");
    EXPECT_EQ(rememberedValues().presetNames(kFace), (QStringList{"粗铣", "精铣"}));
    bar->deletePreset("粗铣");
    EXPECT_EQ(rememberedValues().presetNames(kFace), (QStringList{"精铣"}));
    bar->fillPreset("精铣");
    EXPECT_EQ(text(face, "转速"), "1500");
    EXPECT_TRUE(rememberedValues().presetNames(kCircleHole).isEmpty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RememberedValuesTest, DamagedStoreIsToldOnceAndIgnored) {
    start();
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Tesmara", "tesmara").fileName();
    ASSERT_TRUE(file.startsWith(temp.path())) << "never the user's own settings";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[presets]\nface\\size=99999999\n[last/face\n\xff\xfe=\x01[[[\n");
    damaged.close();

    OperationWindow* face = launch(kFace);
    click(face, "按钮_上次的值");
    click(face, "按钮_上次的值");
    face->valuesBar()->savePreset("A");
    click(face, kFace.generateButton);
    ASSERT_EQ(prompts.messages.size(), 1u);
    for (const auto& message : prompts.messages) {
        EXPECT_TRUE(message.text.contains(file)) << message.text.toStdString();
    }
    EXPECT_TRUE(text(face, "刀具号").isEmpty());
}

// A store that reads without error but counts more presets than it holds.
TEST_F(RememberedValuesTest, ImplausiblePresetCountGivesOnlyThePresetsThere) {
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "Tesmara", "tesmara");
        store.setValue("presets/face/1/name", "粗铣");
        store.setValue("presets/face/size", 99999999);
    }
    RememberedValues values;
    EXPECT_EQ(values.presetNames(kFace), (QStringList{"粗铣"}));
    EXPECT_FALSE(values.takeProblem());
}

TEST_F(RememberedValuesTest, ThreadTableFillsTheThreeThreadFields) {
    start();
    for (const Operation* op : {&kThread, &kMultiThread}) {
        OperationWindow* window = launch(*op);
        auto* table = window->findChild<QComboBox*>("螺纹表");
        ASSERT_NE(table, nullptr);
        const int m10 = table->findText("M10");
        ASSERT_GT(m10, 0);
        type(window, "螺纹螺距", "9");
        type(window, "刀具半径", "4");
        table->setCurrentIndex(m10);
        emit table->activated(m10);
        EXPECT_EQ(text(window, "螺纹大径"), "10.");
        EXPECT_EQ(text(window, "螺纹螺距"), "1.5");
        EXPECT_EQ(text(window, "螺纹小径"), "8.376");
        EXPECT_EQ(text(window, "刀具半径"), "4") << "other fields stay";
        type(window, "螺纹小径", "8.4");
        EXPECT_EQ(text(window, "螺纹小径"), "8.4") << "the operator can still type any value";
    }
    EXPECT_EQ(launch(kFace)->findChild<QComboBox*>("螺纹表"), nullptr);
}

}  // namespace
}  // namespace tesmara::ui
