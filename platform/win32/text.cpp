// Code-page conversions: the Windows converters themselves.
#include <windows.h>

#include <climits>

#include "platform/platform.h"

namespace platform {

namespace {

int clampedSize(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

Text toText(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return Text();
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), clampedSize(bytes.size()), nullptr, 0);
    if (n <= 0) return Text();
    Text out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), clampedSize(bytes.size()), reinterpret_cast<wchar_t*>(&out[0]), n);
    return out;
}

std::string fromText(UINT codePage, DWORD flags, const Text& text) {
    if (text.empty()) return std::string();
    const wchar_t* units = reinterpret_cast<const wchar_t*>(text.data());
    const int n = WideCharToMultiByte(codePage, flags, units, clampedSize(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, units, clampedSize(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

Text utf8ToText(const std::string& bytes) { return toText(CP_UTF8, bytes); }

std::string textToUtf8(const Text& text) { return fromText(CP_UTF8, 0, text); }

Text ansiToText(const std::string& bytes) { return toText(CP_ACP, bytes); }

// Without best-fit mapping a character the code page lacks becomes its
// default character, never a look-alike ("ł" would otherwise become "l").
std::string textToAnsi(const Text& text) { return fromText(CP_ACP, WC_NO_BEST_FIT_CHARS, text); }

}  // namespace platform
