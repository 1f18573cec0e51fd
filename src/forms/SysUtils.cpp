#include "forms/SysUtils.h"

#include <windows.h>

#include <utility>

namespace forms {

Exception::Exception(std::string message)
    : message_(std::move(message)),
      address_(__builtin_extract_return_addr(__builtin_return_address(0))) {}

namespace {
std::string FormatList(const char* pattern, const std::string* args, int count) {
    std::string out;
    int next = 0;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && next < count) {
            out += args[next++];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
}  // namespace

std::string Format(const char* pattern, const std::string& a) { return FormatList(pattern, &a, 1); }

std::string Format(const char* pattern, const std::string& a, const std::string& b) {
    const std::string args[] = {a, b};
    return FormatList(pattern, args, 2);
}

std::string WithFullStop(const std::string& text) {
    if (text.empty()) return text;
    // The last character's first byte: for a double-byte character, its lead byte.
    const char* begin = text.c_str();
    const char* last = CharPrevExA(CP_ACP, begin, begin + text.size(), 0);
    if (last < begin || last >= begin + text.size()) last = begin + text.size() - 1;
    if (static_cast<unsigned char>(*last) > '.') return text + ".";
    return text;
}

std::string ApplicationTitleFromPath(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    if (name.size() > 1) CharLowerBuffA(&name[1], static_cast<DWORD>(name.size() - 1));
    return name;
}

char AnsiUpperChar(char c) {
    char buffer[2] = {c, 0};
    CharUpperBuffA(buffer, 1);
    return buffer[0];
}

}  // namespace forms
