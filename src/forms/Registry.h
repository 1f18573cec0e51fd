// Reads text values from the registry.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Classes.h"

namespace forms {

class TRegistry : public TObject {
public:
    TRegistry() = default;
    ~TRegistry() override { CloseKey(); }

    HKEY RootKey = HKEY_CURRENT_USER;

    // Opens an existing key with full access (KEY_ALL_ACCESS); never creates one.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey() { key_.Reset(); }
    HKEY CurrentKey() const { return key_.Get(); }

    // The value as text: empty when it is missing or holds no bytes; raises ERegistryException
    // when the data cannot be read or its type is not REG_SZ or REG_EXPAND_SZ. Expansion strings
    // are returned as stored.
    std::string ReadString(const std::string& name);

private:
    UniqueKey key_;
};

}  // namespace forms
