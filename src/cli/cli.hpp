#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tesmara::cli {

// Exit statuses of tesmara-cli.
constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

// Runs one command line (without the program name); program bytes go to `out`
// unchanged, messages to `err`.
int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

int listCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int generateCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int checkCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int expandCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int plotCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// Flushes `out`, standard output, after the command and tells on `err` why
// it failed, once: a command whose output was lost fails, whatever it found.
int finishOutput(int status, std::ostream& out, std::ostream& err);

// Writes bytes to `path`, or to `out` when the path is empty; failures are told on `err`.
int emit(std::string_view bytes, std::string_view path, std::ostream& out, std::ostream& err);

}  // namespace tesmara::cli
