#pragma once

#include <string>
#include <string_view>

namespace tesmara {

// Templates write every line break as this marker; it becomes CR LF before a
// program is stored, shown or written.
constexpr std::string_view kLineMarker = "{&}";
constexpr std::string_view kLineBreak = "\r\n";

// Put first or last in a program when the window's "头部" or "尾部" box is ticked.
constexpr std::string_view kHeaderBlock = "G40 G17 G49 G80\r\nG91 G28 Z0\r\n";
constexpr std::string_view kTrailerBlock = "G28 Y0\r\nM30\r\n";

// Every "{&}" becomes CR LF, left to right, without overlap. UTF-8 never uses
// the byte '{' inside a multi-byte character, so a plain byte search is exact.
std::string replaceLineMarkers(std::string_view text);
// The same in place: CR LF is shorter than the marker, so the text only shrinks.
void replaceLineMarkersInPlace(std::string& text);

// A text without any "." gets one appended; any other text is returned as is.
std::string ensureDecimalPoint(std::string_view text);

}  // namespace tesmara
