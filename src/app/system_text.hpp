#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Texts where the program meets the system. Inside, every text is UTF-8; the
// system may speak another encoding at the edges (Windows: UTF-16 arguments,
// environment and messages, and the ANSI code page in files).
namespace tesmara {

// The bytes a program text is stored as in the operator's files: the ANSI code
// page on Windows (a character it lacks becomes "?"), UTF-8 elsewhere.
std::string fileBytes(std::string_view utf8);

// An environment variable as UTF-8; nothing when it is unset.
std::optional<std::string> environmentText(const char* name);

// The system's own text for an error number (GetLastError on Windows, errno
// elsewhere), as UTF-8 and without a line break at the end.
std::string systemErrorText(unsigned long code);

// The text of an error code in UTF-8: Windows' own text for its system errors.
std::string errorText(const std::error_code& error);

#ifdef _WIN32
std::string utf8FromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);
// UTF-8 text in the given Windows code page.
std::string toCodePage(std::string_view utf8, unsigned codePage);
#endif

}  // namespace tesmara
