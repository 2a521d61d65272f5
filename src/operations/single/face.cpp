// "飞平面（单刀）": one straight pass along X per layer, from X0 Y0 to the fixed X100.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"标签4", Label, "", "刀具号：", {8, 8, 80, 24}},
    {"刀具号", EditBox, "", "", {64, 8, 80, 24}},
    {"标签1", Label, "", "起始深度：", {8, 42, 80, 24}},
    {"第一刀", EditBox, "", "", {64, 42, 80, 24}},
    {"标签2", Label, "", "最终深度：", {8, 76, 80, 24}},
    {"最终深度", EditBox, "", "", {64, 76, 80, 24}},
    {"标签5", Label, "", "每刀切深：", {8, 110, 80, 24}},
    {"每刀切深", EditBox, "", "", {64, 110, 80, 24}},
    {"标签3", Label, "", "转速：", {8, 144, 80, 24}},
    {"转速", EditBox, "", "", {64, 144, 80, 24}},
    {"标签6", Label, "", "进给：", {8, 184, 80, 24}},
    {"进给", EditBox, "", "", {64, 184, 80, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {16, 224, 56, 32}},
    {"选择框_头部", CheckBox, "", "头部", {80, 232, 56, 24}},
    {"按钮_直接出程序", Button, "", "出程序", {16, 264, 56, 32}},
    {"按钮_多出程序", Button, "", "多出", {16, 312, 56, 32}},
    {"选择框_尾部", CheckBox, "", "尾部", {80, 320, 64, 24}},
    {"编辑框1", OutputBox, "", "", {152, 8, 232, 336}},
    {"通用对话框1", SaveDialog, "", "", {280, 216, 26, 26}},
};

constexpr Field kFields[] = {
    {"toolNumber", "刀具号"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
};

constexpr Piece kProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}G0 G90 G"),
    kWorkOffset,
    lit(" X0 Y0 M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08{&}#1="),
    field("startDepth"),
    lit("{&}#2="),
    field("finalDepth"),
    lit("{&}#3="),
    field("depthPerCut"),
    lit("{&}N104 G0 Z3.{&}G01 Z-#1 F"),
    field("feedRate"),
    lit("{&}X100.{&}G0 Z"),
    kSafeHeight,
    lit("{&}X0 Y0{&}#1=#1+#3{&}IF[#1LE#2] GOTO104{&}#1=#1-#3{&}IF[#1EQ#2] GOTO105{&}#1=#2"
        "{&}GOTO104{&}N105 M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kFace{
    .id = "face",
    .title = "飞平面（单刀）",
    .launcher = {"按钮_飞平面_单刀", Button, "", "飞平面（单刀）", {104, 8, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 398, 422},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::None,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_直接出程序",
    .appendButton = "按钮_多出程序",
    .program = kProgram,
};

}  // namespace tesmara
