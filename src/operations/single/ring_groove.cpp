// "铣环槽（单）": an annular groove around one centre, each ring cut as a helix
// down to the final depth, ring after ring from the inner to the outer edge.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "坐标", {8, 8, 192, 100}},
    {"标签1", Label, "分组框1", "X", {32, 24, 8, 24}},
    {"坐标X", EditBox, "分组框1", "", {48, 24, 80, 20}},
    {"标签2", Label, "分组框1", "Y", {32, 64, 8, 24}},
    {"坐标Y", EditBox, "分组框1", "", {48, 64, 80, 20}},
    {"分组框2", GroupBox, "", "参数", {8, 112, 192, 104}},
    {"标签3", Label, "分组框2", "刀具号：", {8, 16, 52, 24}},
    {"刀具号", EditBox, "分组框2", "", {56, 16, 80, 20}},
    {"标签4", Label, "分组框2", "转速：", {8, 43, 52, 24}},
    {"转速", EditBox, "分组框2", "", {56, 43, 80, 20}},
    {"标签5", Label, "分组框2", "进给：", {8, 72, 52, 24}},
    {"进给", EditBox, "分组框2", "", {56, 72, 80, 20}},
    {"分组框3", GroupBox, "", "环槽参数", {8, 224, 192, 216}},
    {"标签6", Label, "分组框3", "起始深度：", {8, 24, 71, 24}},
    {"第一刀", EditBox, "分组框3", "", {80, 24, 80, 20}},
    {"标签7", Label, "分组框3", "最终深度：", {8, 52, 71, 24}},
    {"最终深度", EditBox, "分组框3", "", {80, 52, 80, 20}},
    {"标签8", Label, "分组框3", "每刀切深：", {8, 80, 71, 24}},
    {"每刀切深", EditBox, "分组框3", "", {80, 80, 80, 20}},
    {"标签9", Label, "分组框3", "刀具直径：", {8, 108, 71, 24}},
    {"刀具直径", EditBox, "分组框3", "", {80, 108, 80, 20}},
    {"标签10", Label, "分组框3", "环槽小径：", {8, 136, 71, 24}},
    {"环槽小径", EditBox, "分组框3", "", {80, 136, 80, 20}},
    // A child of the window, placed level with its box inside the group box.
    {"标签11", Label, "", "环槽大径：", {16, 384, 71, 24}},
    {"环槽大径", EditBox, "分组框3", "", {80, 160, 80, 20}},
    {"标签12", Label, "分组框3", "环槽径吃量：", {8, 184, 71, 24}},
    {"环槽径吃量", EditBox, "分组框3", "", {80, 184, 80, 20}},
    {"按钮_生成程序", Button, "", "生成程序", {32, 448, 80, 24}},
    {"选择框_头部", CheckBox, "", "头部", {144, 448, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {144, 472, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {32, 488, 80, 24}},
    {"按钮_程序连接", Button, "", "多出", {32, 528, 80, 24}},
    {"编辑框1", OutputBox, "", "", {208, 0, 256, 568}},
    {"通用对话框1", SaveDialog, "", "", {264, 440, 26, 26}},
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
    {"toolDiameter", "刀具直径"},
    {"grooveInnerDiameter", "环槽小径"},
    {"grooveOuterDiameter", "环槽大径"},
    {"radialStep", "环槽径吃量"},
};

constexpr Piece kProgram[] = {
    kHeader,
    // This window has always written the tool change as "M06".
    lit("M01{&}M06 T"),
    field("toolNumber"),
    lit("{&}#30="),
    field("coordX"),
    lit("{&}#31="),
    field("coordY"),
    lit("{&}G52 X#30 Y#31{&}#1="),
    field("startDepth"),
    lit("{&}#2="),
    field("finalDepth"),
    lit("{&}#3="),
    field("depthPerCut"),
    lit("{&}#4="),
    field("toolDiameter"),
    lit("{&}#5="),
    field("grooveInnerDiameter"),
    lit("{&}#6="),
    field("grooveOuterDiameter"),
    lit("{&}#9="),
    field("radialStep"),
    // Ring radii from the tool radius; the control alarms when the groove is
    // narrower than the tool.
    lit("{&}#11=[#4/2]{&}#7=[#5/2]+#11{&}#8=[#6/2]-#11{&}#10=#1{&}#12=#10"
        "{&}IF[#5EQ#6] GOTO13{&}IF[[[#6-#5]/2]LT[#11*2]] THEN #3000=1(DAO JU TAI XIAO){&}"),
    lit("N13 G0 G90 G"),
    kWorkOffset,
    lit(" X#7 Y0 M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08{&}Z3.{&}#1=#1+#3{&}N10 G01 X#7 Y0 F"),
    field("feedRate"),
    lit("{&}Z-#12{&}G03 I-#7 Z-#1{&}G03 I-#7{&}#1=#1+#3{&}#12=#1-#3{&}IF[#1LE#2] GOTO10"
        "{&}#1=#1-#3{&}IF[#1EQ#2] GOTO11{&}#1=#2{&}GOTO10{&}N11 G0 Z3.{&}#1=#10{&}#12=#10"
        "{&}#1=#1+#3{&}#7=#7+#9{&}IF[#7LE#8] GOTO10{&}IF[#5EQ#6] GOTO12{&}#7=#7-#9"
        "{&}IF[#7EQ#8] GOTO12{&}#1=#10{&}#12=#10{&}#1=#1+#3{&}#7=#8{&}GOTO10{&}N12 G0 Z"),
    kSafeHeight,
    lit("{&}G52 X0 Y0{&}M05{&}M09{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kRingGroove{
    .id = "ring-groove",
    .title = "铣环槽（单）",
    .launcher = {"按钮_铣环槽_单", Button, "", "铣环槽（单）", {280, 8, 80, 32}},
    .mode = WindowMode::Modal,
    .window = {50, 50, 474, 596},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::EmptyToZero,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_出程序",
    .appendButton = "按钮_程序连接",
    .program = kProgram,
};

}  // namespace tesmara
