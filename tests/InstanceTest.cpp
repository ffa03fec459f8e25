#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "app/Instance.h"

namespace tavrolin::testing {
namespace {

TEST(CleanArgument, KeepsFourUpperCaseCharactersWithoutDigitsOrPoints) {
    EXPECT_EQ(CleanArgument(""), "");
    EXPECT_EQ(CleanArgument("ab1.c-d"), "ABC-");
    EXPECT_EQ(CleanArgument("left right"), "LEFT");
    EXPECT_EQ(CleanArgument("x y"), "X");
    // A blank at the very start cuts nothing; the blanks themselves are removed.
    EXPECT_EQ(CleanArgument(" ab cd"), "ABCD");
    EXPECT_EQ(CleanArgument("a%_(b)"), "A%_(");
    EXPECT_EQ(CleanArgument("`~!@#$^&*\\|/?,.<>0123456789"), "");
    EXPECT_EQ(CleanArgument("12345"), "");
}

TEST(CleanArgument, NeverYieldsANameTheFileSystemRefusesOrThatLeadsElsewhere) {
    EXPECT_EQ(CleanArgument("a:b\"c"), "ABC");
    EXPECT_EQ(CleanArgument(std::string("a\tb\nc\x01") + "d\x7f"), "ABCD");
    EXPECT_EQ(CleanArgument("../../etc/passwd"), "ETCP");
    // Four characters, not four bytes: a multi-byte character is kept whole.
    EXPECT_EQ(CleanArgument("\xc3\xa9t\xc3\xa9s"), "\xc3\xa9T\xc3\xa9S");
}

TEST(LockFile, HoldsTheDateInPrintZonesAndTheConfigurationPath) {
    EXPECT_EQ(LockFileContent({2026, 12, 7}, "/opt/t/Tavrolin.cfg"),
              "2026          12            07            Date when launched.\r\n"
              "\r\n"
              "This file exists when Tavrolin is using: /opt/t/Tavrolin.cfg\r\n"
              "\r\n");
}

class LockTest : public ProgramTest {
protected:
    void WriteLock(const std::string& name, Date d) {
        Spit(folder.File(name), LockFileContent(d, "x"));
    }
    bool StaleAfterProbe(const std::string& name) {
        return !FileExists(platform, folder.File(name), true);
    }
};

TEST_F(LockTest, StaleLocksAreRemovedAndFreshOnesHoldTheirName) {
    platform.today = {2026, 12, 8};
    WriteLock("a.tmp", {2026, 12, 2});   // 6 days
    WriteLock("b.tmp", {2026, 12, 1});   // 7 days
    WriteLock("c.tmp", {1989, 12, 8});
    WriteLock("d.tmp", {2027, 1, 1});
    WriteLock("e.tmp", {2026, 12, 8});
    Spit(folder.File("f.tmp"), "");
    EXPECT_FALSE(StaleAfterProbe("a.tmp"));
    EXPECT_TRUE(StaleAfterProbe("b.tmp"));
    EXPECT_TRUE(StaleAfterProbe("c.tmp"));
    EXPECT_TRUE(StaleAfterProbe("d.tmp"));
    EXPECT_FALSE(StaleAfterProbe("e.tmp"));
    EXPECT_TRUE(StaleAfterProbe("f.tmp"));
    EXPECT_TRUE(Exists(folder.File("a.tmp")));
    EXPECT_FALSE(Exists(folder.File("b.tmp")));
    EXPECT_FALSE(Exists(folder.File("c.tmp")));
    EXPECT_FALSE(Exists(folder.File("f.tmp")));
}

TEST_F(LockTest, AgeCountsCalendarDaysAcrossMonthsAndYears) {
    platform.today = {2027, 1, 3};
    WriteLock("a.tmp", {2026, 12, 28});  // 6 days across the new year
    WriteLock("b.tmp", {2026, 12, 27});
    EXPECT_FALSE(StaleAfterProbe("a.tmp"));
    EXPECT_TRUE(StaleAfterProbe("b.tmp"));
}

TEST_F(LockTest, AnUnreadableLockDateMakesTheNameFreeWithoutDeletingAnything) {
    Spit(folder.File("g.tmp"), "garbage here\r\n");
    EXPECT_FALSE(FileExists(platform, folder.File("g.tmp"), true));
    EXPECT_TRUE(Exists(folder.File("g.tmp")));
    EXPECT_FALSE(FileExists(platform, "", true));
    EXPECT_FALSE(FileExists(platform, folder.File("missing.tmp"), false));
    EXPECT_TRUE(FileExists(platform, folder.File("g.tmp") + "/", false));
}

TEST_F(LockTest, InstancesTakeTheFirstFreeSuffixAndTheTenthIsShared) {
    auto first = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(first.configBaseName, "Tavrolin");
    auto second = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(second.configBaseName, "Tavrolin1");
    EXPECT_EQ(second.configPath, folder.File("Tavrolin1.cfg"));
    EXPECT_EQ(second.lockPath, folder.File("Tavrolin1.tmp"));
    for (int n = 2; n <= 9; ++n) {
        EXPECT_EQ(ClaimInstance(platform, folder.str(), "").configBaseName,
                  "Tavrolin" + std::to_string(n));
    }
    // All ten names are taken: the tenth is shared.
    EXPECT_EQ(ClaimInstance(platform, folder.str(), "").configBaseName, "Tavrolin9");
    EXPECT_EQ(ClaimInstance(platform, folder.str(), "AB").configBaseName, "TavrolinAB");
}

TEST_F(LockTest, AStaleLockGivesItsNameBack) {
    WriteLock("Tavrolin.tmp", {2026, 11, 1});
    EXPECT_EQ(ClaimInstance(platform, folder.str(), "").configBaseName, "Tavrolin");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")),
              LockFileContent(platform.today, folder.File("Tavrolin.cfg")));
}

TEST_F(LockTest, SettingsGoToTheUserFolderWhenTheProgramFolderCannotBeWritten) {
    EXPECT_EQ(SettingsFolder(platform), folder.str());
    platform.programFolder = folder.File("no-such-folder");
    EXPECT_EQ(SettingsFolder(platform), platform.userConfigFolder);
    EXPECT_TRUE(Exists(platform.userConfigFolder));
}

}  // namespace
}  // namespace tavrolin::testing
