// "单圆铣孔": one circular hole, layer by layer, one full circle per layer.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "坐标", {8, 8, 120, 80}},
    {"标签6", Label, "分组框1", "X", {8, 16, 16, 24}},
    {"坐标X", EditBox, "分组框1", "", {32, 16, 80, 20}},
    {"标签7", Label, "", "Y", {16, 56, 16, 24}},
    {"坐标Y", EditBox, "", "", {40, 56, 80, 20}},
    {"标签1", Label, "", "刀具号：", {8, 88, 48, 24}},
    {"刀具号", EditBox, "", "", {72, 88, 48, 24}},
    {"标签2", Label, "", "起始深度：", {8, 120, 56, 24}},
    {"第一刀", EditBox, "", "", {72, 120, 48, 24}},
    {"标签3", Label, "", "最终深度：", {8, 152, 48, 24}},
    {"最终深度", EditBox, "", "", {72, 152, 48, 24}},
    {"标签4", Label, "", "每刀切深：", {8, 184, 48, 24}},
    {"每刀切深", EditBox, "", "", {72, 184, 48, 24}},
    {"标签5", Label, "", "圆直径：", {8, 216, 48, 24}},
    {"圆直径", EditBox, "", "", {72, 216, 48, 24}},
    {"标签8", Label, "", "转速：", {8, 248, 48, 24}},
    {"转速", EditBox, "", "", {72, 248, 48, 24}},
    {"标签9", Label, "", "进给：", {8, 280, 80, 24}},
    {"进给", EditBox, "", "", {72, 280, 48, 24}},
    {"按钮_生出程序", Button, "", "生成程序", {0, 312, 64, 32}},
    {"选择框_头部", CheckBox, "", "头部", {72, 320, 56, 24}},
    {"按扭_直接出程序", Button, "", "出程序", {0, 352, 64, 32}},
    {"按钮_程序连接", Button, "", "多出", {0, 392, 64, 32}},
    {"选择框_尾部", CheckBox, "", "尾部", {72, 400, 56, 24}},
    {"编辑框1", OutputBox, "", "", {136, 8, 312, 424}},
    {"通用对话框1", SaveDialog, "", "", {176, 96, 26, 26}},
};

constexpr Field kFields[] = {
    {"toolNumber", "刀具号"},
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"circleDiameter", "圆直径"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
};

constexpr Piece kProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}#30="),
    field("coordX"),
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
    field("circleDiameter"),
    lit("{&}#5=[#4/2]{&}N100 G01 Z-#1 F"),
    // The feed gets its point only when it has none, so "300." stays F300.
    fieldWithPoint("feedRate"),
    lit("{&}G41 G01 X#5 Y0 D"),
    field("toolNumber"),
    lit("{&}G03 I-#5{&}G40 G01 X0 Y0{&}#1=#1+#3{&}IF[#1LE#2] GOTO100{&}#1=#1-#3"
        "{&}IF[#1EQ#2] GOTO101{&}#1=#2{&}GOTO100{&}N101 G0 Z"),
    kSafeHeight,
    lit("{&}G52 X0 Y0{&}M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kCircleHole{
    .id = "circle-hole",
    .title = "单圆铣孔",
    .launcher = {"按钮_单圆铣孔", Button, "", "单圆铣孔", {16, 8, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 458, 469},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::EmptyToZero,
    .generateButton = "按钮_生出程序",
    .saveButton = "按扭_直接出程序",
    .appendButton = "按钮_程序连接",
    .program = kProgram,
};

}  // namespace tesmara
