#include "base/text.h"

#include <cstdarg>
#include <cwchar>

namespace {

int FormatArguments(wchar_t* buffer, std::size_t size, const wchar_t* format, va_list arguments) {
    if (size == 0) {
        return 0;
    }
    // _vsnwprintf keeps the platform's meaning of %s (a wide string), unlike
    // the ISO vswprintf that MinGW's C++ mode selects.
    int written = _vsnwprintf(buffer, size - 1, format, arguments);
    if (written < 0 || static_cast<std::size_t>(written) >= size - 1) {
        written = static_cast<int>(size - 1);
    }
    buffer[written] = L'\0';
    return written;
}

}  // namespace

std::wstring LoadText(UINT id) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return std::wstring(text, static_cast<std::size_t>(length));
}

int FormatTextInto(wchar_t* buffer, std::size_t size, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int written = FormatArguments(buffer, size, format, arguments);
    va_end(arguments);
    return written;
}

std::wstring FormatText(const wchar_t* format, ...) {
    wchar_t buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    int written = FormatArguments(buffer, 1024, format, arguments);
    va_end(arguments);
    return std::wstring(buffer, static_cast<std::size_t>(written));
}

int ShowMessage(HWND owner, UINT id, UINT flags, const wchar_t* argument) {
    std::wstring text = LoadText(id);
    if (argument != nullptr) {
        text = FormatText(text.c_str(), argument);
    }
    return MessageBoxW(owner, text.c_str(), nullptr, flags);
}
