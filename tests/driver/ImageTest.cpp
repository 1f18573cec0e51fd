// The built images themselves: kind, hardening, imports, and the kit carried whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "support/Driver.h"

namespace driver {
namespace {

struct Image {
    std::string bytes;
    WORD machine = 0, magic = 0, subsystem = 0, dllCharacteristics = 0;
    std::vector<IMAGE_SECTION_HEADER> sections;
    std::vector<std::string> imports;
    DWORD relocSize = 0;
};

DWORD RvaToOffset(const Image& image, DWORD rva) {
    for (const auto& s : image.sections)
        if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
            return rva - s.VirtualAddress + s.PointerToRawData;
    return 0;
}

// Reads the optional header's fields of interest; returns the import directory's address.
template <class Header>
DWORD ReadOptional(const std::string& b, std::size_t at, Image& image) {
    Header h;
    std::memcpy(&h, &b[at], sizeof h);
    image.subsystem = h.Subsystem;
    image.dllCharacteristics = h.DllCharacteristics;
    image.relocSize = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;
    return h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
}

Image Read(const std::string& path) {
    Image image;
    image.bytes = ReadFileBytes(path);
    const std::string& b = image.bytes;
    if (b.size() < 0x40 || b.compare(0, 2, "MZ") != 0) return image;
    DWORD pe;
    std::memcpy(&pe, &b[0x3C], 4);
    IMAGE_FILE_HEADER file;
    std::memcpy(&file, &b[pe + 4], sizeof file);
    image.machine = file.Machine;
    std::size_t optional = pe + 4 + sizeof file;
    std::memcpy(&image.magic, &b[optional], 2);
    DWORD importRva = 0;
    if (image.magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) importRva = ReadOptional<IMAGE_OPTIONAL_HEADER64>(b, optional, image);
    else importRva = ReadOptional<IMAGE_OPTIONAL_HEADER32>(b, optional, image);
    std::size_t sections = optional + file.SizeOfOptionalHeader;
    for (WORD i = 0; i < file.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER s;
        std::memcpy(&s, &b[sections + i * sizeof s], sizeof s);
        image.sections.push_back(s);
    }
    for (DWORD at = RvaToOffset(image, importRva); at; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR d;
        std::memcpy(&d, &b[at], sizeof d);
        if (!d.Name) break;
        image.imports.push_back(b.c_str() + RvaToOffset(image, d.Name));
    }
    return image;
}

void ExpectHardenedGuiImage(const Image& image, WORD machine, bool wide) {
    EXPECT_EQ(image.machine, machine);
    EXPECT_EQ(image.magic, wide ? IMAGE_NT_OPTIONAL_HDR64_MAGIC : IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(image.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_TRUE(image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "ASLR";
    EXPECT_TRUE(image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "DEP";
    if (wide) {
        EXPECT_TRUE(image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
    }
    EXPECT_GT(image.relocSize, 0u) << "a relocatable image keeps its relocations";
    for (const auto& s : image.sections) {
        bool writableCode = (s.Characteristics & IMAGE_SCN_MEM_WRITE) && (s.Characteristics & IMAGE_SCN_MEM_EXECUTE);
        EXPECT_FALSE(writableCode) << std::string(reinterpret_cast<const char*>(s.Name), 8) << " is writable and executable";
    }
    const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL",
                                          "SHELL32.DLL",  "MSIMG32.DLL", "MSVCRT.DLL"};
    EXPECT_FALSE(image.imports.empty());
    for (std::string dll : image.imports) {
        std::transform(dll.begin(), dll.end(), dll.begin(), [](char c) { return static_cast<char>(toupper(c)); });
        EXPECT_TRUE(system.count(dll)) << dll << " is not a system DLL";
    }
}

TEST(Image, TheTestedBuildIsAHardenedPe32PlusGuiImage) {
    Image image = Read(InstallExe());
    ASSERT_FALSE(image.bytes.empty());
    ExpectHardenedGuiImage(image, IMAGE_FILE_MACHINE_AMD64, true);
}

TEST(Image, TheProductIsAHardenedPe32GuiImageCarryingTheKitWhole) {
    Image image = Read(I686InstallExe());
    if (image.bytes == "<missing>") GTEST_SKIP() << "build/i686 has not been built";
    ExpectHardenedGuiImage(image, IMAGE_FILE_MACHINE_I386, false);
    std::size_t kit = 0;
    for (const char* name : {"_inst32i.ex_", "_isdel.exe", "_setup.1", "_setup.dll", "_setup.lib", "Disk1.id",
                             "Setup.exe", "Setup.ini", "Setup.ins", "Setup.pkg"}) {
        std::string file = ReadFileBytes(KitDir() + "\\" + name);
        kit += file.size();
        EXPECT_NE(image.bytes.find(file), std::string::npos) << name << " is not in the image byte for byte";
    }
    EXPECT_EQ(kit, 1185792u);
    ::testing::Test::RecordProperty("image_overhead_bytes", static_cast<int>(image.bytes.size() - kit));
    EXPECT_LT(image.bytes.size(), kit + 512 * 1024) << "the program around the kit stays small";
}

}  // namespace
}  // namespace driver
