// "多铣环槽": ring grooves around several centres, ring by ring from the inside
// out, each ring in helical full circles down to the final depth.
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
    {"分组框3", GroupBox, "", "参数", {8, 208, 184, 296}},
    {"标签6", Label, "分组框3", "起始深度：", {24, 16, 73, 24}},
    {"第一刀", EditBox, "分组框3", "", {96, 16, 80, 20}},
    {"标签3", Label, "分组框3", "最终深度：", {24, 44, 73, 24}},
    {"最终深度", EditBox, "分组框3", "", {96, 44, 80, 20}},
    {"标签4", Label, "分组框3", "每刀切深：", {24, 72, 73, 24}},
    {"每刀切深", EditBox, "分组框3", "", {96, 72, 80, 20}},
    {"标签5", Label, "分组框3", "刀具直径：", {24, 100, 73, 24}},
    {"刀具直径", EditBox, "分组框3", "", {96, 100, 80, 20}},
    {"标签13", Label, "分组框3", "环槽小径：", {24, 128, 73, 24}},
    {"环槽小径", EditBox, "分组框3", "", {96, 128, 80, 20}},
    {"标签14", Label, "分组框3", "环槽大径：", {24, 152, 73, 24}},
    {"环槽大径", EditBox, "分组框3", "", {96, 152, 80, 20}},
    {"标签15", Label, "分组框3", "环槽径吃量：", {24, 176, 73, 24}},
    {"环槽径吃量", EditBox, "分组框3", "", {96, 176, 80, 20}},
    {"标签7", Label, "分组框3", "子程序号：", {32, 200, 64, 24}},
    {"子程序号", EditBox, "分组框3", "", {96, 200, 80, 20}},
    {"按钮_下一孔", Button, "分组框3", "下一孔", {48, 232, 80, 24}},
    {"标签11", Label, "分组框3", "孔数：", {56, 264, 40, 24}},
    {"标签12", Label, "分组框3", "0", {96, 264, 40, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 512, 80, 32}},
    {"选择框_头部", CheckBox, "", "头部", {104, 512, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {104, 536, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 552, 80, 32}},
    {"按钮_程序连接", Button, "", "多出", {8, 592, 80, 32}},
    {"编辑框1", OutputBox, "", "", {192, 0, 216, 632}},
    {"通用对话框1", SaveDialog, "", "", {152, -16, 26, 24}},
};

constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"toolDiameter", "刀具直径"},
    {"grooveInnerDiameter", "环槽小径"},
    {"grooveOuterDiameter", "环槽大径"},
    {"radialStep", "环槽径吃量"},
    {"subprogramNumber", "子程序号"},
    {"toolNumber", "刀具号"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
};

constexpr Piece kHoleBlock[] = {
    lit("{&}#30="),
    field("coordX"),
    lit("{&}#31="),
    field("coordY"),
    lit("{&}#1="),
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
    lit("{&}M98 P"),
    field("subprogramNumber"),
};

// No cutter compensation: the tool radius #11 is taken off the groove radii, so
// the tool number is not needed here.
constexpr Piece kSubprogramBody[] = {
    lit("{&}G52 X#30 Y#31{&}#11=[#4/2]{&}#7=[#5/2]+#11{&}#8=[#6/2]-#11{&}#10=#1{&}#12=#10"
        "{&}IF[#5EQ#6] GOTO1300{&}IF[[[#6-#5]/2]LT[#11*2]] THEN #3000=1(DAO JU TAI XIAO)"
        "{&}N1300 G0 G90 X#7 Y0{&}Z3.{&}#1=#1+#3{&}N1000 G01 X#7 Y0 F"),
    field("feedRate"),
    lit("{&}Z-#12{&}G03 I-#7 Z-#1{&}G03 I-#7{&}#1=#1+#3{&}#12=#1-#3{&}IF[#1LE#2] GOTO1000"
        "{&}#1=#1-#3{&}IF[#1EQ#2] GOTO1100{&}#1=#2{&}GOTO1000{&}N1100 G0 Z3.{&}#1=#10"
        "{&}#12=#10{&}#1=#1+#3{&}#7=#7+#9{&}IF[#7LE#8] GOTO1000{&}IF[#5EQ#6] GOTO1200"
        "{&}#7=#7-#9{&}IF[#7EQ#8] GOTO1200{&}#1=#10{&}#12=#10{&}#1=#1+#3{&}#7=#8{&}GOTO1000{&}"),
    lit("N1200 G0 Z"),
};

constexpr MultiHole kMulti{kHoleBlock, kSubprogramBody, "标签12"};

}  // namespace

constinit const Operation kMultiRingGroove{
    .id = "multi-ring-groove",
    .title = "多铣环槽",
    .launcher = {"按钮_多铣环槽", Button, "", "多铣环槽", {280, 48, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 413, 658},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::EmptyToZero,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_出程序",
    .appendButton = "按钮_程序连接",
    .program = kMultiHoleMainProgram,
    .multiHole = &kMulti,
};

}  // namespace tesmara
