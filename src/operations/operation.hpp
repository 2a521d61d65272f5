#pragma once

#include <span>
#include <string>
#include <string_view>

#include "program/template.hpp"

namespace tesmara {

enum class ControlKind {
    Label,
    EditBox,
    OutputBox,  // the multi-line, editable output box "编辑框1"
    Button,
    CheckBox,
    GroupBox,
    SaveDialog,  // not visible; stands for the window's save-file dialog
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// One row of a window's form: the object name, its parent group box (empty for
// the window itself, positions then relative to the window), caption and place.
struct Control {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;
    std::string_view caption;
    Rect rect;
};

// A field name as the templates and the command line use it, and its edit box.
struct Field {
    std::string_view name;
    std::string_view control;
};

enum class CoordinateRule {
    None,              // the window has no coordinate boxes
    EmptyToZero,       // an empty coordX or coordY becomes "0"
    EmptyToZeroPoint,  // as above, then ensureDecimalPoint on both
};

enum class WindowMode { Modeless, Modal };

// What a multi-hole window adds: the hole block joined at every "下一孔", the
// subprogram body between "O" + number and the safe height, and the count label.
struct MultiHole {
    Template holeBlock;
    Template subprogramBody;
    std::string_view countLabel;
};

struct Operation {
    std::string_view id;     // command-line name, e.g. "circle-hole"
    std::string_view title;  // window title
    Control launcher;        // its button in the main window
    WindowMode mode;
    Rect window;
    std::span<const Control> controls;
    std::span<const Field> fields;
    CoordinateRule coordinateRule;
    std::string_view generateButton;
    std::string_view saveButton;
    std::string_view appendButton;
    Template program;
    const MultiHole* multiHole = nullptr;  // null for single-operation windows
};

// Control names every operation window shares.
constexpr std::string_view kOutputBox = "编辑框1";
constexpr std::string_view kHeaderBox = "选择框_头部";
constexpr std::string_view kTrailerBox = "选择框_尾部";
constexpr std::string_view kSaveDialog = "通用对话框1";
constexpr std::string_view kNextHoleButton = "按钮_下一孔";

// Field names the framework itself reads.
constexpr std::string_view kCoordX = "coordX";
constexpr std::string_view kCoordY = "coordY";
constexpr std::string_view kSubprogramNumber = "subprogramNumber";

// Generate's coordinate steps, applied to the texts the window then writes back.
void applyCoordinateRule(CoordinateRule rule, FieldValues& fields);

// The Generate procedure without a window: the coordinate rule is applied to
// `fields` (the window shows the changed texts), then the program is built.
std::string generateOperation(const Operation& op, FieldValues& fields,
                              const GlobalSettings& settings, bool header, bool trailer,
                              HoleValues holes = {});

const Field* findField(const Operation& op, std::string_view name);
const Control* findControl(const Operation& op, std::string_view name);

}  // namespace tesmara
