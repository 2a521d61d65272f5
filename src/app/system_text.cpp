#include "app/system_text.hpp"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tesmara {

#ifdef _WIN32

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::wstring wideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), units);
    return wide;
}

std::string toCodePage(std::string_view utf8, unsigned codePage) {
    const std::wstring wide = wideFromUtf8(utf8);
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::string fileBytes(std::string_view utf8) {
    return toCodePage(utf8, GetACP());
}

std::optional<std::string> environmentText(const char* name) {
    const wchar_t* value = _wgetenv(wideFromUtf8(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return utf8FromWide(value);
}

std::string systemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0) {
        return "error " + std::to_string(code);
    }
    std::string text = utf8FromWide(std::wstring_view(buffer, length));
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

#else

std::string fileBytes(std::string_view utf8) {
    return std::string(utf8);
}

std::optional<std::string> environmentText(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string systemErrorText(unsigned long code) {
    return std::strerror(static_cast<int>(code));
}

#endif

std::string errorText(const std::error_code& error) {
#ifdef _WIN32
    if (error.category() == std::system_category()) {
        return systemErrorText(static_cast<unsigned long>(error.value()));
    }
#endif
    return error.message();
}

}  // namespace tesmara
