#include "app/session.hpp"

#include <algorithm>

#include "app/output.hpp"
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
    if (auto reason = writeFileAtomically(path, bytes)) {
        return fileFailure("无法写入", path, *reason);
    }
    return std::nullopt;
}

// A multi-hole window adds its subprogram, with the workspace ending, on every
// "出程序" and "多出".
void appendSubprogramOf(AppState& state, const Operation& op, const FieldValues& fields,
                        std::vector<std::string>& errors) {
    if (op.multiHole != nullptr) {
        collect(errors, state.workspace.appendSubprogram(
                            fileBytes(workspaceSubprogram(op, fields, state.settings))));
    }
}

}  // namespace

std::vector<std::string> startRun(AppState& state) {
    std::vector<std::string> errors = state.workspace.reset();
    state.settings = GlobalSettings{};
    return errors;
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

std::optional<SlotCheck> checkProgramSlot(AppState& state, const Operation& op) {
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
    return SlotCheck{check::checkProgram(text), lines};
}

std::string nextHole(AppState& state, const Operation& op, const FieldValues& fields) {
    return addHole(state.window(op).holes, *op.multiHole, fields);
}

std::vector<std::string> saveProgram(AppState& state, const Operation& op, const fs::path& path,
                                     const FieldValues& fields) {
    std::vector<std::string> errors;
    appendSubprogramOf(state, op, fields, errors);
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
    // The latch stays raised when the append fails: one try per opening.
    return state.workspace.appendMain(fileBytes(window.programSlot));
}

std::vector<std::string> appendToWorkspace(AppState& state, const Operation& op,
                                           std::string_view outputBox, const FieldValues& fields) {
    std::vector<std::string> errors;
    collect(errors, appendMainOnce(state, op, outputBox));
    appendSubprogramOf(state, op, fields, errors);
    return errors;
}

void readForExport(AppState& state) {
    state.exported = state.workspace.read();
}

// The workspace files hold file bytes already; the export copies them as they are.
std::optional<std::string> writeExport(const AppState& state, const fs::path& path) {
    return writeFile(path, consolidatedFile(state.exported.main, state.exported.subprograms));
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
