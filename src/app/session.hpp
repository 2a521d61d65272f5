#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.hpp"
#include "check/check.hpp"

// What the windows do, without the windows: they read their widgets into plain
// texts, call these and show what comes back. Every failure comes back as a
// text that names the file and the reason.
namespace tesmara {

struct RunStart {
    std::vector<std::string> errors;
    std::optional<std::string> notice;  // where the last run's unexported programs were kept
};

// The main window is created: the workspace is emptied (after keeping what
// the last run did not export) and the settings are set to their defaults,
// once per run.
RunStart startRun(AppState& state);

// Whether closing now would leave programs of this run unexported.
bool holdsUnexportedPrograms(const AppState& state);

// An operation window is created (a multi-hole window forgets its holes) or is
// about to be destroyed (the next opening may append its program again).
void openWindow(AppState& state, const Operation& op);
void closeWindow(AppState& state, const Operation& op);

// "生成程序": the coordinate rule changes `fields` (the window writes them back),
// the program replaces the window's program slot and is given back.
const std::string& generate(AppState& state, const Operation& op, FieldValues& fields, bool header,
                            bool trailer);

struct SlotCheck {
    check::CheckResult result;
    int slotLines = 0;  // lines of the program slot; later ones are the called subprogram's
};

// The text the preview checks: the program slot followed by the subprogram
// it calls; nothing while the slot is empty.
struct SlotText {
    std::string text;
    int slotLines = 0;
};
std::optional<SlotText> slotText(AppState& state, const Operation& op);

// Reads nothing but its arguments, so the preview runs it beside the window.
// How the preview runs a program: the run's options with the operator's tool table.
check::CheckOptions previewOptions(const AppState& state);
SlotCheck checkSlotText(const SlotText& slot, const check::CheckOptions& options);

// Both at once, with the preview's options.
std::optional<SlotCheck> checkProgramSlot(AppState& state, const Operation& op);

// "下一孔": gives the count label's new caption.
std::string nextHole(AppState& state, const Operation& op, const FieldValues& fields);

// "出程序" once the path is chosen: the program slot (and a multi-hole window's
// subprogram, which also goes to the workspace) written to `path`.
std::vector<std::string> saveProgram(AppState& state, const Operation& op,
                                     const std::filesystem::path& path, const FieldValues& fields);

// Appends the program slot to the workspace main file at most once per
// opening of the window, and only when the output box shows something; a
// failed append may be tried again.
std::optional<std::string> appendMainOnce(AppState& state, const Operation& op,
                                          std::string_view outputBox);

// "多出": appendMainOnce, and for a multi-hole window its subprogram unless
// the same one is there already; nothing at all when another program of the
// workspace has the subprogram's number.
std::vector<std::string> appendToWorkspace(AppState& state, const Operation& op,
                                           std::string_view outputBox, const FieldValues& fields);

// "汇出": the workspace is read before the operator is asked for a path, so the
// file holds exactly what was added up to the click. Once written, the
// workspace is emptied: what was exported needs no backup at the next start.
std::vector<std::string> readForExport(AppState& state);
std::optional<std::string> writeExport(const AppState& state, const std::filesystem::path& path);

// The safe height as the settings window shows it: without its decimal point
// when that point is the only one and the last character.
std::string shownSafeHeight(std::string_view stored);

// "确定" in the settings window.
void applySettings(AppState& state, std::string_view safeHeight, std::string_view workOffset);

}  // namespace tesmara
