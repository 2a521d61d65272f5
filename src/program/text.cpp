#include "program/text.hpp"

namespace tesmara {

std::string replaceLineMarkers(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(kLineMarker); at != std::string_view::npos;
         at = text.find(kLineMarker, from)) {
        out.append(text.substr(from, at - from));
        out.append(kLineBreak);
        from = at + kLineMarker.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string ensureDecimalPoint(std::string_view text) {
    std::string out(text);
    if (text.find('.') == std::string_view::npos) {
        out.push_back('.');
    }
    return out;
}

}  // namespace tesmara
