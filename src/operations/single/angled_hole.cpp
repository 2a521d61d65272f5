// "角度铣孔（单）": a tapered hole, full circles at growing depth and shrinking
// radius from the mouth diameter, the step worked out from the angle.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "坐标", {8, 8, 128, 100}},
    {"标签1", Label, "分组框1", "X", {16, 24, 8, 24}},
    {"坐标X", EditBox, "分组框1", "", {32, 24, 72, 24}},
    {"标签2", Label, "", "Y", {24, 64, 8, 24}},
    {"坐标Y", EditBox, "", "", {40, 64, 72, 24}},
    {"分组框2", GroupBox, "", "参数", {8, 112, 136, 88}},
    {"标签8", Label, "分组框2", "刀具号：", {8, 16, 56, 16}},
    {"刀具号", EditBox, "分组框2", "", {64, 8, 64, 20}},
    {"标签9", Label, "分组框2", "转速：", {24, 32, 40, 24}},
    {"转速", EditBox, "分组框2", "", {64, 32, 64, 20}},
    {"标签10", Label, "分组框2", "进给：", {24, 56, 40, 24}},
    {"进给", EditBox, "分组框2", "", {64, 56, 64, 20}},
    {"分组框3", GroupBox, "", "环槽参数", {8, 208, 168, 168}},
    {"标签6", Label, "分组框3", "起始深度：", {8, 24, 71, 24}},
    {"第一刀", EditBox, "分组框3", "", {80, 24, 80, 20}},
    {"标签7", Label, "分组框3", "最终深度：", {8, 52, 71, 24}},
    {"最终深度", EditBox, "分组框3", "", {80, 52, 80, 20}},
    {"标签5", Label, "分组框3", "每刀切深：", {8, 80, 71, 24}},
    {"每刀切深", EditBox, "分组框3", "", {80, 80, 80, 20}},
    {"标签4", Label, "分组框3", "孔口直径：", {8, 108, 71, 24}},
    {"孔口直径", EditBox, "分组框3", "", {80, 108, 80, 20}},
    {"标签3", Label, "分组框3", "角度：", {8, 136, 71, 24}},
    {"角度", EditBox, "分组框3", "", {80, 136, 80, 20}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 384, 80, 24}},
    {"选择框_头部", CheckBox, "", "头部", {120, 384, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {120, 408, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 424, 80, 24}},
    {"按钮_程序连接", Button, "", "多出", {8, 464, 80, 24}},
    {"编辑框1", OutputBox, "", "", {176, 0, 208, 496}},
    {"通用对话框1", SaveDialog, "", "", {272, 208, 26, 26}},
};

constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"toolNumber", "刀具号"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"mouthDiameter", "孔口直径"},
    {"angle", "角度"},
};

constexpr Piece kProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}#30="),
    field("coordX"),
    // The #30 line has always ended in a blank.
    lit(" {&}#31="),
    field("coordY"),
    lit("{&}G52 X#30 Y#31{&}G0 G90 G"),
    kWorkOffset,
    lit(" X0 Y0 M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08{&}Z3.{&}#1="),
    field("startDepth"),
    lit("{&}#2="),
    field("finalDepth"),
    lit("{&}#3="),
    field("depthPerCut"),
    lit("{&}#4="),
    field("mouthDiameter"),
    lit("{&}#5="),
    field("angle"),
    // The radius step is worked out once, on the control, from the start depth.
    lit("{&}#6=[#4/2]{&}#8=[180-#5]/2{&}#7=#1/TAN[#8]{&}G01 Z-#1 F"),
    field("feedRate"),
    lit("{&}G41 D"),
    field("toolNumber"),
    // The first circle is written out ahead of the loop, which repeats it.
    lit(" G01 X#6 Y0{&}G03 I-#6{&}G40 G01 X0 Y0{&}#1=#1+#3{&}N50 #6=#6-#7{&}G01 Z-#1 F"),
    field("feedRate"),
    lit("{&}G41 D"),
    field("toolNumber"),
    lit(" G01 X#6 Y0{&}G03 I-#6{&}G40 G01 X0 Y0{&}#1=#1+#3{&}IF[#1LE#2] GOTO50{&}#1=#1-#3"
        "{&}IF[#1EQ#2] GOTO51{&}#1=#2{&}GOTO50{&}N51 G0 Z"),
    kSafeHeight,
    lit("{&}G52 X0 Y0{&}M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kAngledHole{
    .id = "angled-hole",
    .title = "角度铣孔（单）",
    .launcher = {"角度铣孔_单", Button, "", "角度铣孔（单）", {16, 88, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 387, 529},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::EmptyToZero,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_出程序",
    .appendButton = "按钮_程序连接",
    .program = kProgram,
};

}  // namespace tesmara
