// The staging folder's handlers on real folders: creation, listing and clean-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mainUnit.h"
#include "support/Driver.h"

namespace {

using driver::Exists;
using driver::IsDir;
using driver::ListNames;
using driver::MakeDir;
using driver::WriteFileBytes;

class StagingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        base = MakeDir(driver::TestRoot() + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        BaseDir = base + "\\";
        staging = base + "\\QuorvaneTemp";
    }
    void TearDown() override {
        driver::RemoveTree(base);
        BaseDir = "C:\\Windows\\System\\";
    }
    std::string base, staging;
    TForm1 form{forms::Application};
};

std::vector<std::string> Sorted(const TStringList& list) {
    std::vector<std::string> v(list.begin(), list.end());
    std::sort(v.begin(), v.end());
    return v;
}

TEST_F(StagingFolder, ShowCreatesTheFolderOrTakesUpAnExistingOneUnchanged) {
    form.FormShow(&form);
    EXPECT_TRUE(IsDir(staging));
    WriteFileBytes(staging + "\\left.txt", "from an earlier run");
    form.FormShow(&form);
    EXPECT_EQ(ListNames(staging), (std::vector<std::string>{"left.txt"}));
}

TEST_F(StagingFolder, ListsEveryEntryBracketingFoldersAndDropsOnlyDotAndDotDot) {
    MakeDir(staging);
    WriteFileBytes(staging + "\\a.txt", "a");
    WriteFileBytes(staging + "\\hidden.sys", "h", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFileBytes(staging + "\\[x]", "x");
    WriteFileBytes(staging + "\\[..]", "dots");
    MakeDir(staging + "\\x");
    TStringList list;
    list.Add("stale entry");
    form.ListDirectory(staging, list);  // no trailing backslash
    EXPECT_EQ(Sorted(list), (std::vector<std::string>{"[..]", "[x]", "[x]", "a.txt", "hidden.sys"}));
    form.ListDirectory(staging + "\\", list);  // with one: the same
    EXPECT_EQ(list.Count(), 5);
    form.ListDirectory(base + "\\Missing", list);
    EXPECT_EQ(list.Count(), 0);
}

struct CleanupCase {
    const char* what;
    std::vector<std::pair<std::string, DWORD>> files;  // name, attributes
    std::vector<std::string> folders;
    std::vector<std::string> left;                     // what stays; empty: the folder is gone
};

TEST_F(StagingFolder, CloseDeletesWhatItMayAndRemovesTheFolderOnlyWhenEmpty) {
    const CleanupCase cases[] = {
        {"empty", {}, {}, {}},
        {"plain, hidden and system files", {{"_setup.1", 0}, {"h", FILE_ATTRIBUTE_HIDDEN}, {"s", FILE_ATTRIBUTE_SYSTEM}}, {}, {}},
        {"a read-only file stays", {{"Setup.ini", FILE_ATTRIBUTE_READONLY}, {"Setup.ins", 0}}, {}, {"Setup.ini"}},
        {"a sub-folder stays, and what is in it", {{"f", 0}, {"sub\\inner.txt", 0}}, {"sub"}, {"sub"}},
        {"a file [x] beside a folder x", {{"[x]", 0}}, {"x"}, {"x"}},
        {"a file named [..]", {{"[..]", 0}}, {}, {}},
    };
    for (const auto& c : cases) {
        MakeDir(staging);
        for (const auto& d : c.folders) MakeDir(staging + "\\" + d);
        for (const auto& f : c.files) WriteFileBytes(staging + "\\" + f.first, "data", f.second ? f.second : FILE_ATTRIBUTE_NORMAL);
        TCloseAction action = forms::caHide;
        form.FormClose(&form, action);
        EXPECT_EQ(action, forms::caHide) << c.what;
        if (c.left.empty()) {
            EXPECT_FALSE(Exists(staging)) << c.what;
        } else {
            EXPECT_EQ(ListNames(staging), c.left) << c.what;
        }
        if (IsDir(staging + "\\sub")) {
            EXPECT_TRUE(Exists(staging + "\\sub\\inner.txt")) << "nothing is emptied below the folder";
        }
        driver::RemoveTree(staging);
    }
}

TEST_F(StagingFolder, CloseLeavesAFileHeldOpenByAnotherProgramAndTheFolder) {
    MakeDir(staging);
    WriteFileBytes(staging + "\\_setup.1", "held");
    WriteFileBytes(staging + "\\Setup.ini", "free");
    HANDLE held = CreateFileA((staging + "\\_setup.1").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TCloseAction action = forms::caHide;
    form.FormClose(&form, action);
    CloseHandle(held);
    EXPECT_EQ(ListNames(staging), (std::vector<std::string>{"_setup.1"}));
}

TEST_F(StagingFolder, CloseWithoutAFolderDoesNothing) {
    WriteFileBytes(base + "\\QuorvaneTempX", "near miss");
    TCloseAction action = forms::caHide;
    form.FormClose(&form, action);
    EXPECT_TRUE(Exists(base + "\\QuorvaneTempX"));
    // A plain file in the folder's place is no folder: it is left alone.
    WriteFileBytes(staging, "a file, not a folder");
    form.FormClose(&form, action);
    EXPECT_EQ(driver::ReadFileBytes(staging), "a file, not a folder");
}

}  // namespace
