#include "operations/catalog.hpp"

namespace tesmara {

namespace {

constexpr const Operation* kCatalog[] = {
    &kCircleHole,
    &kFace,
    &kThread,
    &kRingGroove,
    &kMultiHole,
    &kLongFace,
    &kMultiThread,
    &kMultiRingGroove,
    &kAngledHole,
    &kMultiAngled,
};

}  // namespace

std::span<const Operation* const> catalog() { return kCatalog; }

const Operation* findOperation(std::string_view id) {
    for (const Operation* op : kCatalog) {
        if (op->id == id) {
            return op;
        }
    }
    return nullptr;
}

}  // namespace tesmara
