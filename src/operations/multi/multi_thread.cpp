// "多孔螺纹铣": internal threads at several positions, one subprogram that climbs
// in half circles, pass after pass from the minor towards the major diameter.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

// The caption of 螺纹大径 lies in the window, not in 分组框3.
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
    {"分组框3", GroupBox, "", "螺纹参数", {8, 200, 152, 304}},
    {"标签17", Label, "分组框3", "最终深度：", {8, 20, 64, 24}},
    {"最终深度", EditBox, "分组框3", "", {64, 20, 80, 20}},
    {"标签16", Label, "分组框3", "平面高度：", {8, 48, 64, 24}},
    {"平面高度", EditBox, "分组框3", "", {64, 48, 80, 20}},
    {"标签15", Label, "分组框3", "螺纹小径：", {8, 75, 80, 24}},
    {"螺纹小径", EditBox, "分组框3", "", {64, 75, 80, 20}},
    {"标签5", Label, "", "螺纹大径：", {16, 304, 56, 24}},
    {"螺纹大径", EditBox, "分组框3", "", {64, 104, 80, 20}},
    {"标签14", Label, "分组框3", "螺纹吃量：", {8, 130, 80, 24}},
    {"螺纹吃量", EditBox, "分组框3", "", {64, 132, 80, 20}},
    {"标签13", Label, "分组框3", "螺纹螺距：", {8, 156, 80, 24}},
    {"螺纹螺距", EditBox, "分组框3", "", {64, 157, 80, 20}},
    {"标签6", Label, "分组框3", "刀具半径：", {8, 181, 80, 24}},
    {"刀具半径", EditBox, "分组框3", "", {64, 182, 80, 20}},
    {"标签7", Label, "分组框3", "子程序号：", {4, 203, 64, 24}},
    {"子程序号", EditBox, "分组框3", "", {64, 205, 80, 20}},
    {"按钮_下一孔", Button, "分组框3", "下一孔", {32, 240, 80, 24}},
    {"标签_孔数", Label, "分组框3", "孔数：", {40, 272, 80, 24}},
    {"标签3", Label, "分组框3", "0", {80, 272, 40, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 512, 80, 32}},
    {"选择框_头部", CheckBox, "", "头部", {96, 512, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {96, 536, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 552, 80, 32}},
    {"按钮_程序连接", Button, "", "多出", {8, 592, 80, 32}},
    {"编辑框1", OutputBox, "", "", {160, 0, 216, 624}},
    {"通用对话框1", SaveDialog, "", "", {200, 424, 26, 26}},
};

constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"finalDepth", "最终深度"},
    {"planeHeight", "平面高度"},
    {"threadMinorDiameter", "螺纹小径"},
    {"threadMajorDiameter", "螺纹大径"},
    {"threadDepthOfCut", "螺纹吃量"},
    {"threadPitch", "螺纹螺距"},
    {"toolRadius", "刀具半径"},
    {"subprogramNumber", "子程序号"},
    {"toolNumber", "刀具号"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
};

// No start depth: each pass starts at the final depth (#1) and climbs to the
// plane height (#2).
constexpr Piece kHoleBlock[] = {
    lit("{&}#30="),
    field("coordX"),
    lit("{&}#31="),
    field("coordY"),
    lit("{&}#1="),
    field("finalDepth"),
    lit("{&}#2="),
    field("planeHeight"),
    lit("{&}#3="),
    field("threadMinorDiameter"),
    lit("{&}#4="),
    field("threadMajorDiameter"),
    lit("{&}#5="),
    field("threadDepthOfCut"),
    lit("{&}#6="),
    field("threadPitch"),
    lit("{&}#14="),
    field("toolRadius"),
    lit("{&}M98 P"),
    field("subprogramNumber"),
};

// The tool radius enters through #14, so the subprogram needs no tool number.
constexpr Piece kSubprogramBody[] = {
    lit("{&}G52 X#30 Y#31{&}G0 G90 X0 Y0{&}Z3.{&}#8=#1{&}#9=[#3/2]-#14{&}#10=[#4/2]-#14"
        "{&}#11=[#6/2]{&}N120 #7=[#9/2]{&}G01 Z-#1 F"),
    field("feedRate"),
    lit("{&}G16{&}G01 X0.001 Y300.{&}G15{&}G03 X#9 Y0 R#7{&}N121 #1=#1-#11"
        "{&}G03 X-#9 Y0 Z-#1 R#9{&}#1=#1-#11{&}G03 X#9 Y0 Z-#1 R#9{&}IF[#1GE#2] GOTO121"
        "{&}G40 G01 X0 Y0{&}#1=#8{&}#9=#9+#5{&}IF[#9LE#10] GOTO120{&}#9=#9-#5"
        "{&}IF[#9EQ#10] GOTO122{&}#9=#10{&}GOTO120{&}N122 G0 Z"),
};

constexpr MultiHole kMulti{kHoleBlock, kSubprogramBody, "标签3"};

}  // namespace

constinit const Operation kMultiThread{
    .id = "multi-thread",
    .title = "多孔螺纹铣",
    .launcher = {"按钮_多孔铣螺纹", Button, "", "多孔螺纹铣", {192, 48, 80, 32}},
    .mode = WindowMode::Modeless,
    .window = {50, 50, 380, 657},
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
