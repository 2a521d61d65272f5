// "飞长面": zig-zag passes along X, stepping sideways in Y, layer by layer.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

// Several edit boxes are children of the window although they sit over
// 分组框1 and 分组框2, next to captions that are children of the group box.
constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "长面参数", {8, 16, 168, 168}},
    {"标签1", Label, "分组框1", "起始深度：", {16, 16, 64, 24}},
    {"第一刀", EditBox, "分组框1", "", {80, 16, 80, 20}},
    {"标签2", Label, "分组框1", "最终深度：", {16, 40, 64, 24}},
    {"最终深度", EditBox, "", "", {88, 56, 80, 20}},
    {"标签9", Label, "分组框1", "每刀切深：", {16, 64, 64, 24}},
    {"每刀切深", EditBox, "", "", {88, 80, 80, 20}},
    {"标签3", Label, "分组框1", "刀具百分百：", {8, 88, 72, 24}},
    {"刀具百分百", EditBox, "", "", {88, 104, 80, 20}},
    {"标签10", Label, "分组框1", "刀路数：", {32, 112, 48, 24}},
    {"刀路数", EditBox, "", "", {88, 128, 80, 20}},
    {"标签5", Label, "分组框1", "工件长度：", {16, 136, 64, 24}},
    {"工件长度", EditBox, "", "", {88, 152, 80, 20}},
    {"分组框2", GroupBox, "", "参数", {8, 216, 144, 104}},
    {"标签6", Label, "分组框2", "刀具号：", {8, 16, 49, 24}},
    {"刀具号", EditBox, "分组框2", "", {56, 16, 80, 20}},
    {"标签7", Label, "分组框2", "转速：", {8, 44, 49, 24}},
    {"转速", EditBox, "", "", {64, 262, 80, 20}},
    {"标签8", Label, "分组框2", "进给：", {8, 72, 49, 24}},
    {"进给", EditBox, "", "", {64, 288, 80, 20}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 320, 56, 24}},
    {"选择框_头部", CheckBox, "", "头部", {96, 320, 56, 24}},
    {"按钮_直接出程序", Button, "", "出程序", {8, 352, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {96, 360, 64, 24}},
    {"按钮_程序连接", Button, "", "多出", {8, 384, 56, 24}},
    {"编辑框1", OutputBox, "", "", {184, 0, 208, 392}},
    {"通用对话框1", SaveDialog, "", "", {176, 328, 26, 26}},
};

constexpr Field kFields[] = {
    {"toolNumber", "刀具号"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"stepOver", "刀具百分百"},
    {"passCount", "刀路数"},
    {"workpieceLength", "工件长度"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
};

// #6 (Y of the last pass) and #8 (the step, kept while #4 moves) are set by
// the control; the workpiece length goes to #7.
constexpr Piece kProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}#1="),
    field("startDepth"),
    lit("{&}#2="),
    field("finalDepth"),
    lit("{&}#3="),
    field("depthPerCut"),
    lit("{&}#4="),
    field("stepOver"),
    lit("{&}#5="),
    field("passCount"),
    lit("{&}#7="),
    field("workpieceLength"),
    lit("{&}#6=#4*#5{&}#8=#4{&}G0 G90 G"),
    kWorkOffset,
    lit(" X0 Y#4 M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08{&}N151 G0 Z3.{&}G01 Z-#1 F"),
    field("feedRate"),
    lit("{&}N150 Y#4{&}X#7{&}IF[#4GE#6] GOTO152{&}#4=#4+#8{&}Y#4{&}X0{&}#4=#4+#8"
        "{&}IF[#4LE#6] GOTO150{&}N152 #4=#8{&}G0 Z"),
    kSafeHeight,
    lit("{&}X0 Y#4{&}#1=#1+#3{&}IF[#1LE#2] GOTO151{&}#1=#1-#3{&}IF[#1EQ#2] GOTO153{&}#1=#2"
        "{&}GOTO151{&}N153 M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kLongFace{
    .id = "long-face",
    .title = "飞长面",
    .launcher = {"按钮_飞长面", Button, "", "飞长面", {104, 48, 80, 32}},
    .mode = WindowMode::Modal,
    .window = {50, 50, 399, 456},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::None,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_直接出程序",
    .appendButton = "按钮_程序连接",
    .program = kProgram,
};

}  // namespace tesmara
