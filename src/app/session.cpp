#include "app/session.hpp"

#include <algorithm>

#include "app/output.hpp"
#include "app/subprograms.hpp"
#include "app/system_text.hpp"
#include "program/layout.hpp"
#include "program/text.hpp"

namespace tesmara {

namespace fs = std::filesystem;

namespace {

void collect(std::vector<std::string>& errors, std::optional<std::string> error) {
    if (error) {
        errors.push_back(std::move(*error));
    }
}

// `bytes` are file bytes already (see fileBytes).
std::optional<std::string> writeFile(const fs::path& path, std::string_view bytes) {
    if (const auto failure = writeFileAtomically(path, bytes)) {
        return fileFailure("无法写入", path, chineseReason(*failure));
    }
    return std::nullopt;
}

std::string unusableWorkspace(const std::string& problem) {
    return "工作区不可用，没有加入或汇出任何程序：\n" + problem;
}

std::string numberTaken(const AppState& state, std::string_view subprogram) {
    return "工作区（" + pathText(state.workspace.subprogramFile()) + "）中已有另一个程序 O" +
           std::string(subprogramNumber(subprogram)) +
           "，同一个汇出文件不能两次定义它，所以本次没有加入工作区。请另选“子程序号”。";
}

// A multi-hole window's subprogram for the workspace, with the workspace
// ending: nothing when the same one is there already, an error when its
// number belongs to another program there.
struct SubprogramPlan {
    std::optional<std::string> append;
    std::optional<std::string> error;
};

SubprogramPlan planSubprogram(const AppState& state, const Operation& op,
                              const FieldValues& fields) {
    if (state.workspaceProblem) {
        return {std::nullopt, unusableWorkspace(*state.workspaceProblem)};
    }
    std::string collected;
    if (auto error = state.workspace.readSubprograms(collected)) {
        return {std::nullopt, std::move(error)};
    }
    std::string subprogram = fileBytes(workspaceSubprogram(op, fields, state.settings));
    switch (fitSubprogram(collected, subprogram)) {
        case SubprogramFit::New:
            return {std::move(subprogram), std::nullopt};
        case SubprogramFit::AlreadyThere:
            return {};
        case SubprogramFit::NumberTaken:
            return {std::nullopt, numberTaken(state, subprogram)};
    }
    return {};
}

}  // namespace

RunStart startRun(AppState& state) {
    const WorkspaceStart start = state.workspace.start();
    RunStart report{start.errors, std::nullopt};
    state.workspaceProblem.reset();
    if (!start.errors.empty()) {
        std::string problem;
        for (const std::string& error : start.errors) {
            problem += (problem.empty() ? "" : "\n") + error;
        }
        state.workspaceProblem = problem;
    }
    if (start.backedUp) {
        report.notice = "上次运行结束时，工作区里还有未汇出的程序，已保存为：\n" +
                        pathText(state.workspace.backupMainFile()) + "\n" +
                        pathText(state.workspace.backupSubprogramFile());
    }
    state.settings = GlobalSettings{};
    return report;
}

bool holdsUnexportedPrograms(const AppState& state) {
    if (state.workspaceProblem) {
        return false;  // the files are not this run's
    }
    return holdsPrograms(state.workspace.read().texts);
}

void openWindow(AppState& state, const Operation& op) {
    if (op.multiHole != nullptr) {
        state.window(op).holes.resetOnOpening();
    }
}

void closeWindow(AppState& state, const Operation& op) {
    state.window(op).appendLatch = 0;
}

const std::string& generate(AppState& state, const Operation& op, FieldValues& fields, bool header,
                            bool trailer) {
    WindowState& window = state.window(op);
    window.programSlot =
        generateOperation(op, fields, state.settings, header, trailer, window.holes.values());
    if (op.multiHole != nullptr) {
        window.calledSubprogram = workspaceSubprogram(op, fields, state.settings);
    }
    return window.programSlot;
}

std::optional<SlotText> slotText(AppState& state, const Operation& op) {
    const WindowState& window = state.window(op);
    if (window.programSlot.empty()) {
        return std::nullopt;
    }
    std::string text = window.programSlot;
    if (!text.ends_with('\n')) {
        text += kLineBreak;
    }
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    text += window.calledSubprogram;
    return SlotText{std::move(text), lines};
}

check::CheckOptions previewOptions(const AppState& state) {
    check::CheckOptions options = state.previewOptions;
    options.tools = state.tools;
    return options;
}

SlotCheck checkSlotText(const SlotText& slot, const check::CheckOptions& options) {
    return SlotCheck{check::checkProgram(slot.text, options), slot.slotLines};
}

std::optional<SlotCheck> checkProgramSlot(AppState& state, const Operation& op) {
    const std::optional<SlotText> slot = slotText(state, op);
    if (!slot) {
        return std::nullopt;
    }
    return checkSlotText(*slot, previewOptions(state));
}

std::string nextHole(AppState& state, const Operation& op, const FieldValues& fields) {
    return addHole(state.window(op).holes, *op.multiHole, fields);
}

std::vector<std::string> saveProgram(AppState& state, const Operation& op, const fs::path& path,
                                     const FieldValues& fields) {
    std::vector<std::string> errors;
    if (op.multiHole != nullptr) {
        const SubprogramPlan plan = planSubprogram(state, op, fields);
        collect(errors, plan.error);
        if (plan.append) {
            collect(errors, state.workspace.appendSubprogram(*plan.append));
        }
    }
    const std::string bytes =
        savedFileBytes(op, state.window(op).programSlot, fields, state.settings);
    collect(errors, writeFile(path, fileBytes(bytes)));
    return errors;
}

std::optional<std::string> appendMainOnce(AppState& state, const Operation& op,
                                          std::string_view outputBox) {
    if (outputBox.empty()) {
        return std::nullopt;
    }
    WindowState& window = state.window(op);
    if (++window.appendLatch != 1) {
        return std::nullopt;
    }
    auto error = state.workspace.appendMain(fileBytes(window.programSlot));
    if (error) {
        window.appendLatch = 0;  // once the cause is fixed, "多出" may try again
    }
    return error;
}

std::vector<std::string> appendToWorkspace(AppState& state, const Operation& op,
                                           std::string_view outputBox, const FieldValues& fields) {
    if (state.workspaceProblem) {
        return {unusableWorkspace(*state.workspaceProblem)};
    }
    std::optional<std::string> subprogram;
    if (op.multiHole != nullptr) {
        SubprogramPlan plan = planSubprogram(state, op, fields);
        if (plan.error) {
            return {std::move(*plan.error)};
        }
        subprogram = std::move(plan.append);
    }
    std::vector<std::string> errors;
    collect(errors, appendMainOnce(state, op, outputBox));
    if (subprogram) {
        collect(errors, state.workspace.appendSubprogram(*subprogram));
    }
    return errors;
}

std::vector<std::string> readForExport(AppState& state) {
    if (state.workspaceProblem) {
        return {unusableWorkspace(*state.workspaceProblem)};
    }
    WorkspaceRead read = state.workspace.read();
    state.exported = std::move(read.texts);
    return read.errors;
}

// The workspace files hold file bytes already; the export copies them as they are.
std::optional<std::string> writeExport(const AppState& state, const fs::path& path) {
    auto error = writeFile(path, consolidatedFile(state.exported.main, state.exported.subprograms));
    if (!error) {
        state.workspace.reset();
    }
    return error;
}

std::string shownSafeHeight(std::string_view stored) {
    const std::size_t point = stored.find('.');
    if (point == std::string_view::npos || point + 1 < stored.size()) {
        return std::string(stored);
    }
    return std::string(stored.substr(0, point));
}

void applySettings(AppState& state, std::string_view safeHeight, std::string_view workOffset) {
    state.settings.safeHeight = ensureDecimalPoint(safeHeight);
    state.settings.workOffset = std::string(workOffset);
}

}  // namespace tesmara
