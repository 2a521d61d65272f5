#pragma once

#include <string_view>

namespace tesmara {

enum class SubprogramFit {
    New,           // append it
    AlreadyThere,  // the same bytes are in the workspace: appending them again adds nothing
    NumberTaken,   // another program of the workspace has its O number
};

// Whether `subprogram` (its first line "O" and its number) may join the
// subprograms collected in `workspaceSubprograms`, so that a consolidated
// file never defines one O number twice. The main program's own number is
// taken from the start.
SubprogramFit fitSubprogram(std::string_view workspaceSubprograms, std::string_view subprogram);

// The number on the first line of a subprogram, after its "O".
std::string_view subprogramNumber(std::string_view subprogram);

}  // namespace tesmara
