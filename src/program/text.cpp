#include "program/text.hpp"

#include <cstring>

namespace tesmara {

std::string replaceLineMarkers(std::string_view text) {
    std::string out(text);
    replaceLineMarkersInPlace(out);
    return out;
}

void replaceLineMarkersInPlace(std::string& text) {
    char* const bytes = text.data();
    const std::string_view view = text;
    std::size_t write = 0;
    std::size_t from = 0;
    for (std::size_t at = view.find(kLineMarker); at != std::string_view::npos;
         at = view.find(kLineMarker, from)) {
        std::memmove(bytes + write, bytes + from, at - from);
        write += at - from;
        std::memcpy(bytes + write, kLineBreak.data(), kLineBreak.size());
        write += kLineBreak.size();
        from = at + kLineMarker.size();
    }
    std::memmove(bytes + write, bytes + from, view.size() - from);
    text.resize(write + view.size() - from);
}

std::string ensureDecimalPoint(std::string_view text) {
    std::string out(text);
    if (text.find('.') == std::string_view::npos) {
        out.push_back('.');
    }
    return out;
}

}  // namespace tesmara
