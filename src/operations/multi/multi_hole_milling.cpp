// "多孔铣": circular holes of any diameters at several positions, one subprogram
// that cuts one full circle per depth around each hole centre.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

// Several edit boxes lie in the window while their captions lie in 分组框2.
constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "坐标", {8, 8, 128, 100}},
    {"标签1", Label, "分组框1", "X", {16, 24, 8, 24}},
    {"坐标X", EditBox, "分组框1", "", {32, 24, 72, 24}},
    {"标签2", Label, "", "Y", {24, 64, 8, 24}},
    {"坐标Y", EditBox, "", "", {40, 64, 72, 24}},
    {"分组框2", GroupBox, "", "参数", {8, 112, 152, 304}},
    {"标签8", Label, "分组框2", "刀具号：", {16, 16, 56, 24}},
    {"刀具号", EditBox, "分组框2", "", {72, 16, 64, 20}},
    {"标签3", Label, "分组框2", "起始深度：", {8, 48, 64, 24}},
    {"第一刀", EditBox, "", "", {80, 160, 64, 20}},
    {"标签4", Label, "分组框2", "最终深度：", {8, 76, 64, 24}},
    {"最终深度", EditBox, "", "", {80, 188, 64, 20}},
    {"标签5", Label, "分组框2", "每刀深度：", {8, 104, 64, 24}},
    {"每刀深度", EditBox, "", "", {80, 216, 64, 20}},
    {"标签6", Label, "分组框2", "孔直径：", {24, 136, 48, 24}},
    {"孔直径", EditBox, "", "", {80, 248, 64, 20}},
    {"标签7", Label, "分组框2", "子程序号：", {8, 168, 64, 24}},
    {"子程序号", EditBox, "分组框2", "", {72, 168, 64, 20}},
    {"标签9", Label, "分组框2", "转速：", {32, 192, 40, 24}},
    {"转速", EditBox, "", "", {80, 304, 64, 20}},
    {"标签10", Label, "分组框2", "进给：", {32, 216, 40, 24}},
    {"进给", EditBox, "", "", {80, 328, 64, 20}},
    {"按钮_下一孔", Button, "分组框2", "下一孔", {40, 248, 80, 24}},
    {"标签11", Label, "分组框2", "孔数：", {48, 272, 40, 24}},
    {"标签12", Label, "分组框2", "0", {88, 272, 40, 24}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 424, 80, 32}},
    {"选择框_头部", CheckBox, "", "头部", {104, 424, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {104, 448, 56, 24}},
    {"按钮_出程序", Button, "", "出程序", {8, 464, 80, 32}},
    {"按钮_程序连接", Button, "", "多出", {8, 504, 80, 32}},
    {"编辑框1", OutputBox, "", "", {168, 0, 272, 536}},
    {"通用对话框1", SaveDialog, "", "", {240, 432, 26, 26}},
};

// This window calls the depth per cut 每刀深度, not 每刀切深.
constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"startDepth", "第一刀"},
    {"finalDepth", "最终深度"},
    {"depthPerCut", "每刀深度"},
    {"holeDiameter", "孔直径"},
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
    field("holeDiameter"),
    lit("{&}#5=[#4/2]{&}M98 P"),
    field("subprogramNumber"),
};

constexpr Piece kSubprogramBody[] = {
    lit("{&}G52 X#30 Y#31{&}G0 G90 X0 Y0{&}Z3.{&}N102 G01 Z-#1 F"),
    // The feed goes in as typed: no point is added here.
    field("feedRate"),
    lit("{&}G41 D"),
    field("toolNumber"),
    lit(" G01 X#5 Y0{&}G03 I-#5{&}G40 G01 X0 Y0{&}#1=#1+#3{&}IF[#1LE#2] GOTO102{&}#1=#1-#3"
        "{&}IF[#1EQ#2] GOTO103{&}#1=#2{&}GOTO102{&}N103 G0 Z"),
};

constexpr MultiHole kMulti{kHoleBlock, kSubprogramBody, "标签12"};

}  // namespace

constinit const Operation kMultiHole{
    .id = "multi-hole",
    .title = "多孔铣",
    .launcher = {"按钮_多孔铣", Button, "", "多孔铣", {16, 48, 80, 32}},
    .mode = WindowMode::Modal,
    .window = {50, 50, 442, 571},
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
