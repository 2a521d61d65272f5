// The GUI tests need one QApplication for the whole run; without a display
// they draw offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/form.hpp"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tesmara::ui::applyAppearance(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
