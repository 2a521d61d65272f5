#include "app/subprograms.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

#include "program/layout.hpp"

namespace tesmara {

namespace {

// "O0100" and "O100" name one program on the control.
std::string_view numberKey(std::string_view subprogram) {
    std::string_view number = subprogramNumber(subprogram);
    const bool digits = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    while (digits && number.size() > 1 && number.front() == '0') {
        number.remove_prefix(1);
    }
    return number;
}

// Every subprogram begins with the line of its "O" number; no body line does.
std::vector<std::string_view> splitSubprograms(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    std::size_t line = 0;
    while (line < text.size()) {
        const std::size_t end = text.find('\n', line);
        line = end == std::string_view::npos ? text.size() : end + 1;
        if (line == text.size() || text[line] == 'O') {
            parts.push_back(text.substr(start, line - start));
            start = line;
        }
    }
    return parts;
}

}  // namespace

std::string_view subprogramNumber(std::string_view subprogram) {
    const std::string_view first = subprogram.substr(0, subprogram.find_first_of("\r\n"));
    return first.starts_with('O') ? first.substr(1) : first;
}

SubprogramFit fitSubprogram(std::string_view workspaceSubprograms, std::string_view subprogram) {
    const std::string_view key = numberKey(subprogram);
    if (key == numberKey(kWorkspaceMainStart)) {
        return SubprogramFit::NumberTaken;
    }
    for (std::string_view part : splitSubprograms(workspaceSubprograms)) {
        if (part == subprogram) {
            return SubprogramFit::AlreadyThere;
        }
        if (numberKey(part) == key) {
            return SubprogramFit::NumberTaken;
        }
    }
    return SubprogramFit::New;
}

}  // namespace tesmara
