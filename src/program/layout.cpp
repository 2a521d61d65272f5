#include "program/layout.hpp"

namespace tesmara {

namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts) {
        size += part.size();
    }
    std::string out;
    out.reserve(size);
    for (std::string_view part : parts) {
        out.append(part);
    }
    return out;
}

}  // namespace

std::string singleProgramFile(std::string_view programSlot) {
    return concat({kProgramFileStart, programSlot, "%"});
}

std::string fileWithSubprogram(std::string_view programSlot, std::string_view subprogram) {
    return concat({kProgramFileStart, programSlot, subprogram});
}

std::string consolidatedFile(std::string_view workspaceMain,
                             std::string_view workspaceSubprograms) {
    return concat({"%\r\n", workspaceMain, workspaceSubprograms, "%"});
}

}  // namespace tesmara
