// The GUI tests need one QApplication for the whole run; without a display
// they draw offscreen, and they keep the user's settings (remembered values,
// the tool table) in a folder of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "ui/form.hpp"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Remembered values go to a folder of this run, never the user's own.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    tesmara::ui::applyAppearance(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
