#pragma once

#include <QString>
#include <span>
#include <string_view>

#include "operations/operation.hpp"

class QApplication;
class QWidget;

namespace tesmara::ui {

inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A font list that shows Chinese on Windows and on Linux.
void applyAppearance(QApplication& app);

// Creates the widgets of a form table in `window`, each named after its
// control, at the table's place (inside its group box where it has one).
// A label whose caption does not fit grows to the right into free space; a
// button's caption is set smaller instead.
void buildForm(QWidget* window, std::span<const Control> controls);

// Raises an open window, restoring it when it was minimised.
void bringToFront(QWidget* window);

}  // namespace tesmara::ui
