#include "operations/operation.hpp"

#include "program/text.hpp"

namespace tesmara {

void applyCoordinateRule(CoordinateRule rule, FieldValues& fields) {
    if (rule == CoordinateRule::None) {
        return;
    }
    for (std::string_view name : {kCoordX, kCoordY}) {
        std::string& text = fields[std::string(name)];
        if (text.empty()) {
            text = "0";
        }
        if (rule == CoordinateRule::EmptyToZeroPoint) {
            text = ensureDecimalPoint(text);
        }
    }
}

std::string generateOperation(const Operation& op, FieldValues& fields,
                              const GlobalSettings& settings, bool header, bool trailer,
                              HoleValues holes) {
    applyCoordinateRule(op.coordinateRule, fields);
    return generateProgram(op.program, {fields, settings, header, trailer, holes});
}

const Field* findField(const Operation& op, std::string_view name) {
    for (const Field& f : op.fields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

const Control* findControl(const Operation& op, std::string_view name) {
    for (const Control& c : op.controls) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace tesmara
