// "多孔角度铣": tapered holes around several centres, one full circle per depth,
// each smaller than the one before by a step the control works out from the angle.
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
    {"分组框3", GroupBox, "", "环槽参数", {8, 208, 168, 264}},
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
    {"标签11", Label, "分组框3", "子程序号：", {16, 160, 64, 24}},
    {"子程序号", EditBox, "", "", {88, 368, 80, 20}},
    {"按钮_下一孔", Button, "分组框3", "下一孔", {40, 200, 80, 24}},
    {"标签_孔数", Label, "分组框3", "孔数：", {48, 232, 80, 24}},
    {"标签13", Label, "分组框3", "0", {88, 232, 40, 24}},
    // Lies under the count label and is never written to.
    {"标签12", Label, "分组框3", "0", {88, 232, 40, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 480, 80, 32}},
    {"选择框_头部", CheckBox, "", "头部", {96, 480, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {96, 504, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 520, 80, 32}},
    {"按钮_程序连接", Button, "", "多出", {8, 560, 80, 32}},
    {"编辑框1", OutputBox, "", "", {176, 0, 200, 600}},
    {"通用对话框1", SaveDialog, "", "", {240, 400, 26, 26}},
};

constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀切深"},
    {"mouthDiameter", "孔口直径"},
    {"angle", "角度"},
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
    field("mouthDiameter"),
    lit("{&}#5="),
    field("angle"),
    lit("{&}M98 P"),
    field("subprogramNumber"),
};

// Only the first plunge carries the feed; the loop's plunges keep it.
constexpr Piece kSubprogramBody[] = {
    lit("{&}G52 X#30 Y#31{&}G0 G90 X0 Y0{&}Z3.{&}#6=[#4/2]{&}#8=[180-#5]/2{&}#7=#1/TAN[#8]"
        "{&}G01 Z-#1 F"),
    field("feedRate"),
    // The first circle compensates with the tool's own register, like every later
    // one; a fixed register would cut it with whatever radius that register holds.
    lit("{&}G41 D"),
    field("toolNumber"),
    lit(" G01 X#6 Y0{&}G03 I-#6{&}G40 G01 X0 Y0{&}#1=#1+#3{&}N1400 #6=#6-#7{&}G01 Z-#1"
        "{&}G41 D"),
    field("toolNumber"),
    lit(" G01 X#6 Y0{&}G03 I-#6{&}G40 G01 X0 Y0{&}#1=#1+#3{&}IF[#1LE#2] GOTO1400{&}#1=#1-#3"
        "{&}IF[#1EQ#2] GOTO1410{&}#1=#2{&}GOTO1400{&}N1410 G0 Z"),
};

constexpr MultiHole kMulti{kHoleBlock, kSubprogramBody, "标签13"};

}  // namespace

constinit const Operation kMultiAngled{
    .id = "multi-angled",
    .title = "多孔角度铣",
    .launcher = {"多角度铣孔", Button, "", "多角度铣孔", {16, 128, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 380, 629},
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
