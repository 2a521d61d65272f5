// Every operation's tables agree with each other: the templates name only the
// window's fields, every field is an edit box of its form, and every control
// the shared behaviour looks up by name is there.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "operations/catalog.hpp"

namespace tesmara {
namespace {

std::set<std::string_view> templateFields(Template pieces) {
    std::set<std::string_view> names;
    for (const Piece& p : pieces) {
        if (p.kind == PieceKind::Field || p.kind == PieceKind::FieldPoint) {
            names.insert(p.text);
        }
    }
    return names;
}

void expectControl(const Operation& op, std::string_view name, ControlKind kind) {
    const Control* c = findControl(op, name);
    ASSERT_NE(c, nullptr) << op.id << " has no control " << name;
    EXPECT_EQ(c->kind, kind) << op.id << ": " << name;
}

class Forms : public testing::TestWithParam<const Operation*> {};

TEST_P(Forms, TemplatesNameOnlyEditBoxesOfTheForm) {
    const Operation& op = *GetParam();
    std::set<std::string_view> used = templateFields(op.program);
    if (op.multiHole != nullptr) {
        used.merge(templateFields(op.multiHole->holeBlock));
        used.merge(templateFields(op.multiHole->subprogramBody));
        used.insert(kSubprogramNumber);
    }
    for (std::string_view name : used) {
        const Field* f = findField(op, name);
        ASSERT_NE(f, nullptr) << op.id << ": template names unknown field " << name;
        expectControl(op, f->control, ControlKind::EditBox);
    }
    std::set<std::string_view> controls;
    for (const Field& f : op.fields) {
        EXPECT_TRUE(used.contains(f.name)) << op.id << ": field " << f.name << " is never used";
        EXPECT_TRUE(controls.insert(f.control).second) << op.id << ": " << f.control << " twice";
    }
}

TEST_P(Forms, SharedControlsAreThereAndParentsAreGroupBoxes) {
    const Operation& op = *GetParam();
    expectControl(op, op.generateButton, ControlKind::Button);
    expectControl(op, op.saveButton, ControlKind::Button);
    expectControl(op, op.appendButton, ControlKind::Button);
    expectControl(op, kOutputBox, ControlKind::OutputBox);
    expectControl(op, kHeaderBox, ControlKind::CheckBox);
    expectControl(op, kTrailerBox, ControlKind::CheckBox);
    expectControl(op, kSaveDialog, ControlKind::SaveDialog);
    if (op.coordinateRule != CoordinateRule::None) {
        ASSERT_NE(findField(op, kCoordX), nullptr);
        ASSERT_NE(findField(op, kCoordY), nullptr);
    }
    if (op.multiHole != nullptr) {
        expectControl(op, kNextHoleButton, ControlKind::Button);
        expectControl(op, op.multiHole->countLabel, ControlKind::Label);
        EXPECT_EQ(findControl(op, op.multiHole->countLabel)->caption, "0");
    }
    std::set<std::string_view> names;
    for (const Control& c : op.controls) {
        EXPECT_TRUE(names.insert(c.name).second) << op.id << ": " << c.name << " twice";
        if (!c.parent.empty()) {
            const Control* parent = findControl(op, c.parent);
            ASSERT_NE(parent, nullptr) << op.id << ": " << c.name << " lies in a missing "
                                       << c.parent;
            EXPECT_EQ(parent->kind, ControlKind::GroupBox) << op.id << ": " << c.parent;
        }
    }
    EXPECT_EQ(op.program.front().kind, PieceKind::Header) << op.id;
    EXPECT_EQ(op.program.back().kind, PieceKind::Trailer) << op.id;
}

std::string opName(const testing::TestParamInfo<const Operation*>& info) {
    std::string name(info.param->id);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Catalog, Forms, testing::ValuesIn(catalog().begin(), catalog().end()),
                         opName);

TEST(Catalog, ListsEveryOperationOnceWithItsOwnLauncher) {
    std::set<std::string_view> ids, titles, launchers;
    for (const Operation* op : catalog()) {
        EXPECT_TRUE(ids.insert(op->id).second) << op->id;
        EXPECT_TRUE(titles.insert(op->title).second) << op->title;
        EXPECT_TRUE(launchers.insert(op->launcher.name).second) << op->launcher.name;
        EXPECT_EQ(findOperation(op->id), op);
    }
    EXPECT_EQ(findOperation("no-such-operation"), nullptr);
}

}  // namespace
}  // namespace tesmara
