// Reading "SystemRoot": the registry accessor on a key of its own, and FormCreate on the real
// key that the installer reads.
#include <gtest/gtest.h>

#include <string>

#include "forms/Registry.h"
#include "mainUnit.h"
#include "support/Driver.h"

namespace {

const char kScratch[] = "Software\\QuorvaneTests";

struct Value {
    DWORD type;
    std::string bytes;  // exactly the stored bytes
};

Value Text(const std::string& s, DWORD type = REG_SZ) { return Value{type, s + std::string(1, '\0')}; }

// The result of ReadString: the text, or "!" and the exception's message.
std::string Read(const Value* value) {
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegDeleteValueA(key, "V");
    if (value)
        RegSetValueExA(key, "V", 0, value->type, reinterpret_cast<const BYTE*>(value->bytes.data()),
                       static_cast<DWORD>(value->bytes.size()));
    RegCloseKey(key);
    forms::TRegistry registry;
    registry.RootKey = HKEY_CURRENT_USER;
    EXPECT_TRUE(registry.OpenKey(kScratch, false));
    try {
        return registry.ReadString("V");
    } catch (const forms::ERegistryException& e) {
        return "!" + e.Message();
    }
}

TEST(Registry, ReadsTextValuesByTheSizeAndTypeRules) {
    const std::string big(65536, 'x');
    const struct { const char* what; Value value; std::string expected; } cases[] = {
        {"plain", Text("D:\\Win"), "D:\\Win"},
        {"expand string, left unexpanded", Text("%SystemDrive%\\Win", REG_EXPAND_SZ), "%SystemDrive%\\Win"},
        {"empty string", Text(""), ""},
        {"zero-length binary", Value{REG_BINARY, ""}, ""},
        {"zero-length number type", Value{REG_DWORD, ""}, ""},
        {"four-byte number", Value{REG_DWORD, std::string("\x01\x00\x00\x00", 4)},
         "!Invalid data type for 'V'"},
        {"bytes", Value{REG_BINARY, "abc"}, "!Invalid data type for 'V'"},
        {"multi-string", Value{REG_MULTI_SZ, std::string("a\0b\0\0", 5)}, "!Invalid data type for 'V'"},
        {"no terminating zero", Value{REG_SZ, "C:\\NoZero"}, "C:\\NoZero"},
        {"embedded zero", Value{REG_SZ, std::string("C:\\A\0B\0", 7)}, "C:\\A"},
        {"64 KiB", Text(big), big},
        {"high bytes", Text("C:\\Caf\xE9"), "C:\\Caf\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(&c.value), c.expected) << c.what;
    EXPECT_EQ(Read(nullptr), "") << "missing value";
}

TEST(Registry, OpensOnlyAnExistingKey) {
    forms::TRegistry registry;
    registry.RootKey = HKEY_CURRENT_USER;
    EXPECT_FALSE(registry.OpenKey("Software\\QuorvaneTests\\Missing\\Key", false));
    HKEY probe;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QuorvaneTests\\Missing", 0, KEY_READ, &probe), ERROR_SUCCESS);
}

// FormCreate against the real key; the form is constructed but not built, so only the handler runs.
struct FormCreateCase {
    const char* what;
    bool present;
    Value value;
    std::string baseDir;    // expected afterwards
    std::string exception;  // expected message, or ""
};

TEST(FormCreate, ResolvesBaseDirFromSystemRoot) {
    const FormCreateCase cases[] = {
        {"plain path", true, Text("D:\\Win"), "D:\\Win\\", ""},
        {"ends in a backslash", true, Text("D:\\Win\\"), "D:\\Win\\\\", ""},
        {"missing", false, {}, "\\", ""},
        {"empty", true, Text(""), "\\", ""},
        {"zero-length binary", true, Value{REG_BINARY, ""}, "\\", ""},
        {"expand string", true, Text("%WINDIR%", REG_EXPAND_SZ), "%WINDIR%\\", ""},
        {"four-byte number", true, Value{REG_DWORD, std::string(4, '\0')}, "C:\\Windows\\System\\",
         "Invalid data type for 'SystemRoot'"},
    };
    driver::SystemRoot systemRoot;
    for (const auto& c : cases) {
        if (c.present) systemRoot.Set(c.value.type, c.value.bytes.data(), static_cast<DWORD>(c.value.bytes.size()));
        else systemRoot.Remove();
        BaseDir = "C:\\Windows\\System\\";
        TForm1 form(forms::Application);
        std::string raised;
        try {
            form.FormCreate(&form);
        } catch (const forms::ERegistryException& e) {
            raised = e.Message();
        }
        EXPECT_EQ(BaseDir, c.baseDir) << c.what;
        EXPECT_EQ(raised, c.exception) << c.what;
    }
    BaseDir = "C:\\Windows\\System\\";
}

}  // namespace
