// Builds without the DXF library read no drawings and say so.
#include "holes/dxf_circles.hpp"

namespace tesmara {

DxfCircles readDxfCircles(const std::string&) {
    return {{}, {{0, ImportError::DxfNotBuiltIn, {}}}};
}

}  // namespace tesmara
