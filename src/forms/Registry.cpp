#include "forms/Registry.h"

#include <cstring>
#include <vector>

namespace forms {

bool TRegistry::OpenKey(const std::string& key, bool /*canCreate*/) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RootKey, key.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return false;
    key_.Reset(opened);
    return true;
}

std::string TRegistry::ReadString(const std::string& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    long long length = -1;
    if (RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS)
        length = size;
    if (length <= 0) return std::string();

    std::vector<char> buffer(static_cast<std::size_t>(length));
    size = static_cast<DWORD>(length);
    if (RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        throw ERegistryException(Format("Failed to get data for '%s'", name));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    // Up to the first zero byte, or the whole buffer when the value holds none. Only the bytes
    // the second read reported are looked at.
    std::size_t got = size < buffer.size() ? size : buffer.size();
    const void* zero = std::memchr(buffer.data(), 0, got);
    std::size_t textLength = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer.data()) : got;
    return std::string(buffer.data(), textLength);
}

}  // namespace forms
