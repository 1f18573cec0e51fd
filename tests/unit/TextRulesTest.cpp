// The small text rules: the error box's full stop, the application title, list look-ups.
#include <gtest/gtest.h>

#include "forms/Classes.h"
#include "forms/SysUtils.h"

namespace {

using forms::ApplicationTitleFromPath;
using forms::WithFullStop;

TEST(FullStopRule, AppendsOnlyAfterACharacterAboveTheDot) {
    const struct { const char* in; const char* out; } cases[] = {
        {"", ""},
        {"Cannot create file C:\\x\\Setup.ini", "Cannot create file C:\\x\\Setup.ini."},
        {"ends in a digit 7", "ends in a digit 7."},
        {"ends_", "ends_."},
        {"C:\\dir\\", "C:\\dir\\."},
        {"a/b/", "a/b/."},
        {"Invalid data type for 'SystemRoot'", "Invalid data type for 'SystemRoot'"},
        {"already.", "already."},
        {"space ", "space "},
        {"bang!", "bang!"},
        {"say \"x\"", "say \"x\""},
        {"(paren)", "(paren)"},
        {"comma,", "comma,"},
        {"dash-", "dash-"},
        {"caf\xE9", "caf\xE9."},  // a high byte is above the dot too
    };
    for (const auto& c : cases) EXPECT_EQ(WithFullStop(c.in), c.out) << "for \"" << c.in << "\"";
}

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithTheRestInLowerCase) {
    const struct { const char* path; const char* title; } cases[] = {
        {"C:\\Program Files\\INSTALL.EXE", "Install"},
        {"C:\\setup.exe", "setup"},
        {"Setup.Kit.exe", "Setup"},
        {"D:\\kits\\SETUP.KIT.EXE", "Setup"},
        {"C:\\a.b\\QUORVANE", "Quorvane"},
        {"Z:\\x\\iNSTALL.exe", "install"},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplicationTitleFromPath(c.path), c.title) << c.path;
}

TEST(StringList, FindsTheFirstEntryEqualWithoutRegardToCase) {
    forms::TStringList list;
    for (const char* s : {"Setup.exe", "[sub]", "[..]", "[.]", "[..]", "setup.EXE"}) list.Add(s);
    EXPECT_EQ(list.IndexOf("SETUP.exe"), 0);
    EXPECT_EQ(list.IndexOf("[..]"), 2);
    EXPECT_EQ(list.IndexOf("[SUB]"), 1);
    EXPECT_EQ(list.IndexOf("[sub"), -1);
    list.Delete(2);
    EXPECT_EQ(list.IndexOf("[..]"), 3);
    EXPECT_EQ(list.Count(), 5);
}

}  // namespace
