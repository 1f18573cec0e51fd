// The kit carried in the image: names, order, sizes and bytes against the kit folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dumpUnit.h"
#include "support/Driver.h"

namespace {

TEST(Payload, HoldsTheTenKitFilesInWriteOrderEachOfItsArraysLength) {
    const char* names[] = {"_inst32i.ex_", "_isdel.exe", "_setup.1", "_setup.dll", "_setup.lib",
                           "Disk1.id", "Setup.exe", "Setup.ini", "Setup.ins", "Setup.pkg"};
    std::size_t total = 0;
    for (std::size_t i = 0; i < PayloadFileCount; ++i) {
        const TPayloadFile& entry = PayloadFiles[i];
        EXPECT_STREQ(entry.Name, names[i]);
        std::string file = driver::ReadFileBytes(driver::KitDir() + "\\" + entry.Name);
        ASSERT_EQ(entry.Size, file.size()) << entry.Name;
        EXPECT_EQ(std::memcmp(entry.Bytes, file.data(), entry.Size), 0) << entry.Name;
        total += entry.Size;
    }
    EXPECT_EQ(total, 1185792u);
}

TEST(Payload, KitFilesHaveTheirKindsLeadingBytes) {
    auto bytes = [](const char* name) {
        for (const auto& e : PayloadFiles)
            if (std::strcmp(e.Name, name) == 0) return std::string(reinterpret_cast<const char*>(e.Bytes), e.Size);
        return std::string();
    };
    for (const char* ne : {"_isdel.exe", "_setup.dll", "Setup.exe"}) {
        std::string b = bytes(ne);
        ASSERT_GT(b.size(), 0x40u);
        EXPECT_EQ(b.substr(0, 2), "MZ") << ne;
        std::uint32_t lfanew;
        std::memcpy(&lfanew, b.data() + 0x3C, 4);
        EXPECT_EQ(b.substr(lfanew, 2), "NE") << ne;
        EXPECT_EQ(b[lfanew + 0x36], 2) << ne << " targets Windows";
        bool library = (static_cast<unsigned char>(b[lfanew + 0x0D]) & 0x80) != 0;
        EXPECT_EQ(library, std::string(ne) == "_setup.dll") << ne;
    }
    for (const char* z : {"_setup.1", "_setup.lib", "Setup.ins"}) EXPECT_EQ(bytes(z).substr(0, 4), "\x13\x5D\x65\x8C") << z;
    EXPECT_EQ(bytes("_inst32i.ex_").substr(0, 4), "\x2A\xAB\x79\xD8");
    EXPECT_EQ(bytes("Setup.pkg").substr(0, 4), std::string("\x4A\xA3\x8D\x00", 4));
    EXPECT_EQ(bytes("Setup.ini"), "[Startup]\r\nAppName=Quorvane\r\n");
    std::string id = bytes("Disk1.id");
    ASSERT_EQ(id.size(), 5u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(id[i] >= 'A' && id[i] <= 'Z');
    EXPECT_EQ(id.substr(3), "\r\n");
}

}  // namespace
