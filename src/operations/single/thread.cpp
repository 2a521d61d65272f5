// "螺纹铣（单）": an internal thread, climbing one pitch per turn from the final
// depth to the plane height, pass by pass from the minor to the major diameter.
#include "operations/catalog.hpp"

namespace tesmara {

namespace {

using enum ControlKind;

constexpr Control kControls[] = {
    {"分组框1", GroupBox, "", "坐标", {8, 8, 152, 80}},
    {"标签1", Label, "分组框1", "X", {16, 16, 16, 24}},
    {"坐标X", EditBox, "分组框1", "", {32, 16, 72, 20}},
    {"标签2", Label, "分组框1", "Y", {16, 48, 16, 24}},
    {"坐标Y", EditBox, "", "", {40, 56, 72, 20}},
    {"分组框2", GroupBox, "", "参数", {8, 96, 152, 112}},
    {"标签3", Label, "分组框2", "刀具号：", {8, 16, 48, 24}},
    {"刀具号", EditBox, "分组框2", "", {56, 16, 64, 20}},
    {"标签4", Label, "分组框2", "转速：", {8, 48, 48, 24}},
    {"转速", EditBox, "分组框2", "", {56, 48, 64, 20}},
    {"标签5", Label, "分组框2", "进给：", {8, 80, 48, 24}},
    {"进给", EditBox, "分组框2", "", {56, 80, 64, 20}},
    {"分组框3", GroupBox, "", "螺纹参数", {8, 216, 152, 216}},
    {"标签6", Label, "分组框3", "最终深度：", {8, 20, 64, 24}},
    {"最终深度", EditBox, "分组框3", "", {64, 20, 80, 20}},
    {"标签7", Label, "分组框3", "平面高度：", {8, 48, 64, 24}},
    {"平面高度", EditBox, "分组框3", "", {64, 48, 80, 20}},
    {"标签8", Label, "分组框3", "螺纹小径：", {8, 75, 80, 24}},
    {"螺纹小径", EditBox, "分组框3", "", {64, 75, 80, 20}},
    {"标签9", Label, "", "螺纹大径：", {16, 320, 56, 24}},
    {"螺纹大径", EditBox, "分组框3", "", {64, 104, 80, 20}},
    {"标签10", Label, "分组框3", "螺纹吃量：", {8, 130, 80, 24}},
    {"螺纹吃量", EditBox, "分组框3", "", {64, 132, 80, 20}},
    {"标签11", Label, "分组框3", "螺纹螺距：", {8, 156, 80, 24}},
    {"螺纹螺距", EditBox, "分组框3", "", {64, 157, 80, 20}},
    {"标签12", Label, "分组框3", "刀具半径：", {8, 181, 80, 24}},
    {"刀具半径", EditBox, "分组框3", "", {64, 182, 80, 20}},
    {"按钮_生成程序", Button, "", "生成程序", {8, 440, 64, 24}},
    {"选择框_头部", CheckBox, "", "头部", {88, 440, 56, 24}},
    {"选择框_尾部", CheckBox, "", "尾部", {88, 464, 56, 24}},
    {"按钮_直接出程序", Button, "", "出程序", {8, 472, 64, 24}},
    {"按钮_程序连接", Button, "", "多出", {8, 504, 64, 24}},
    {"编辑框1", OutputBox, "", "", {160, 0, 304, 536}},
    {"通用对话框1", SaveDialog, "", "", {240, 440, 26, 26}},
};

constexpr Field kFields[] = {
    {"coordX", "坐标X"},
    {"coordY", "坐标Y"},
    {"toolNumber", "刀具号"},
    {"spindleSpeed", "转速"},
    {"feedRate", "进给"},
    {"finalDepth", "最终深度"},
    {"planeHeight", "平面高度"},
    {"threadMinorDiameter", "螺纹小径"},
    {"threadMajorDiameter", "螺纹大径"},
    {"threadDepthOfCut", "螺纹吃量"},
    {"threadPitch", "螺纹螺距"},
    {"toolRadius", "刀具半径"},
};

constexpr Piece kProgram[] = {
    kHeader,
    lit("M01{&}M6 T"),
    field("toolNumber"),
    lit("{&}#30="),
    field("coordX"),
    lit("{&}#31="),
    field("coordY"),
    lit("{&}G52 X#30 Y#31{&}G0 G90 G"),
    kWorkOffset,
    // G52 has moved the origin to the centre already; the typed coordinates
    // here would send the tool to twice the offset.
    lit(" X0 Y0"),
    lit(" M3 S"),
    field("spindleSpeed"),
    lit("{&}G43 H"),
    field("toolNumber"),
    lit(" Z"),
    kSafeHeight,
    lit(" M08{&}#1="),
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
    lit("{&}Z3.{&}#8=#1{&}#9=[#3/2]-#14{&}#10=[#4/2]-#14{&}#11=[#6/2]{&}N130 #7=[#9/2]"
        "{&}G01 Z-#1 F"),
    field("feedRate"),
    // Both half circles of a turn carry Z-#1, so the climb is a uniform helix.
    // The retract to Z30. is fixed and does not follow the safe height.
    lit("{&}G16{&}G01 X0.001 Y300.{&}G15{&}G03 X#9 Y0 R#7{&}N131 #1=#1-#11"
        "{&}G03 X-#9 Y0 Z-#1 R#9{&}#1=#1-#11{&}G03 X#9 Y0 Z-#1 R#9{&}IF[#1GE#2] GOTO131"
        "{&}G40 G01 X0 Y0{&}#1=#8{&}#9=#9+#5{&}IF[#9LE#10] GOTO130{&}#9=#9-#5"
        "{&}IF[#9EQ#10] GOTO132{&}#9=#10{&}GOTO130{&}N132 G0 Z30.{&}G52 X0 Y0{&}M05{&}M09"
        "{&}G91 G28 Z0{&}"),
    kTrailer,
};

}  // namespace

constinit const Operation kThread{
    .id = "thread",
    .title = "螺纹铣（单）",
    .launcher = {"按钮_螺纹铣_单", Button, "", "螺纹铣（单）", {192, 8, 80, 32}},
    .mode = WindowMode::Modal,
    .window = {50, 50, 467, 567},
    .controls = kControls,
    .fields = kFields,
    .coordinateRule = CoordinateRule::EmptyToZeroPoint,
    .generateButton = "按钮_生成程序",
    .saveButton = "按钮_直接出程序",
    .appendButton = "按钮_程序连接",
    .program = kProgram,
};

}  // namespace tesmara
