#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "app/Instance.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <map>
#include <vector>

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
    // Four characters, not four bytes: a multi-byte character is kept whole, and only ASCII
    // letters change case, whatever the locale (a Latin-1 one would turn UTF-8 bytes into
    // other characters).
    EXPECT_EQ(CleanArgument("\xc3\xa9t\xc3\xa9s"), "\xc3\xa9T\xc3\xa9S");
    EXPECT_EQ(CleanArgument("\xd0\xb4\xce\xb1\xc3\x9f"), "\xd0\xb4\xce\xb1\xc3\x9f");
    // Overlong forms, surrogates, C1 controls, the right-to-left override and zero-width or
    // private characters show nothing a user could read, or something else than is there.
    EXPECT_EQ(CleanArgument("a\xc0\xaf" "b\xe0\x80\xaf" "c"), "ABC");
    EXPECT_EQ(CleanArgument("a\xed\xa0\x80" "b\xf4\x90\x80\x80" "c"), "ABC");
    EXPECT_EQ(CleanArgument("a\xc2\x85" "b\xe2\x80\xae" "c\xe2\x80\x8b" "d\xee\x80\x80" "e"), "ABCD");
    EXPECT_EQ(CleanArgument("\xe2\x81\xa6x\xef\xbb\xbf"), "X");
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
    std::string Claim() { return ClaimInstance(platform, folder.str(), "").configBaseName; }
    std::string FreshLock(const std::string& base) {
        return LockFileContent(platform.today, folder.File(base + ".cfg"));
    }
};

TEST_F(LockTest, WhereLocksAreNotKeptTheDateTellsALiveLockFromAStaleOne) {
    platform.today = {2027, 1, 3};
    const std::pair<const char*, Date> dated[] = {
        {"a.tmp", {2026, 12, 28}},  // 6 days, across the new year
        {"b.tmp", {2026, 12, 27}},  // 7 days
        {"c.tmp", {1989, 12, 8}},
        {"d.tmp", {2028, 1, 1}},
        {"e.tmp", {2027, 1, 3}},
    };
    for (const auto& [name, date] : dated) WriteLock(name, date);
    Spit(folder.File("f.tmp"), "");
    Spit(folder.File("g.tmp"), "garbage here\r\n");
    Spit(folder.File("h.tmp"), "2027 1\r\n");
    EXPECT_FALSE(IsLockStale(platform, folder.File("a.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("b.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("c.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("d.tmp"), 6));
    EXPECT_FALSE(IsLockStale(platform, folder.File("e.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("f.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("g.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("h.tmp"), 6));
    EXPECT_TRUE(IsLockStale(platform, folder.File("missing.tmp"), 6));
    EXPECT_FALSE(FileExists(platform, ""));
    EXPECT_FALSE(FileExists(platform, folder.File("missing.tmp")));
    EXPECT_TRUE(FileExists(platform, folder.File("g.tmp") + platform.PathSeparator()));
}

TEST_F(LockTest, ALockNoRunningInstanceHoldsIsTakenOverAtOnceWhateverItHolds) {
    // Left by a crash today, eight days ago, half written, or empty on a full disk.
    const std::string left[] = {LockFileContent(platform.today, "x"),
                                LockFileContent({2026, 11, 30}, "x"), "garbage\r\n", "2026 12",
                                ""};
    for (const std::string& content : left) {
        Spit(folder.File("Tavrolin.tmp"), content);
        const InstanceFiles files = ClaimInstance(platform, folder.str(), "");
        EXPECT_EQ(files.configBaseName, "Tavrolin") << content;
        EXPECT_TRUE(files.lockHeld);
        EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")), FreshLock("Tavrolin")) << content;
        ReleaseInstance(platform, files);
        EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
    }
}

TEST_F(LockTest, InstancesTakeTheFirstFreeSuffixAndAnEleventhRunsWithoutSaving) {
    std::vector<InstanceFiles> running;
    for (int n = 0; n <= 9; ++n) {
        running.push_back(ClaimInstance(platform, folder.str(), ""));
        EXPECT_EQ(running.back().configBaseName, n == 0 ? "Tavrolin" : "Tavrolin" + std::to_string(n));
        EXPECT_TRUE(running.back().lockHeld);
    }
    EXPECT_EQ(running[1].configPath, folder.File("Tavrolin1.cfg"));
    EXPECT_EQ(running[1].lockPath, folder.File("Tavrolin1.tmp"));
    // All ten names are held: an eleventh reads the tenth's file, never writes it, and leaves
    // the lock alone.
    const InstanceFiles sharer = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(sharer.configBaseName, "Tavrolin9");
    EXPECT_FALSE(sharer.lockHeld);
    EXPECT_NE(sharer.notSaved, "");
    EXPECT_EQ(running[9].notSaved, "");
    ReleaseInstance(platform, sharer);
    EXPECT_EQ(Slurp(folder.File("Tavrolin9.tmp")), FreshLock("Tavrolin9"));
    EXPECT_EQ(ClaimInstance(platform, folder.str(), "AB").configBaseName, "TavrolinAB");
    // A name given back is the first free one again.
    ReleaseInstance(platform, running[3]);
    EXPECT_EQ(Claim(), "Tavrolin3");
}

#ifndef _WIN32
TEST_F(LockTest, ALockHeldByARunningProcessKeepsItsNameWhateverItsDateUntilThatProcessDies) {
    int ready[2], finish[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(finish), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(finish[1]);
        RecordingPlatform own;
        own.today = platform.today;
        const bool held = ClaimInstance(own, folder.str(), "").lockHeld;
        // A week-old date and a damaged one: neither frees a lock that is held.
        Spit(folder.File("Tavrolin.tmp"), LockFileContent({2026, 11, 30}, "x"));
        [[maybe_unused]] auto n = ::write(ready[1], held ? "h" : "-", 1);
        char byte;
        n = ::read(finish[0], &byte, 1);
        ::_exit(0);  // as a crash: nothing is let go on purpose
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'h');
    EXPECT_EQ(Claim(), "Tavrolin1");
    Spit(folder.File("Tavrolin.tmp"), "garbage");
    EXPECT_EQ(Claim(), "Tavrolin2");
    ::close(finish[1]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(Claim(), "Tavrolin");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")), FreshLock("Tavrolin"));
    for (int fd : {ready[0], ready[1], finish[0]}) ::close(fd);
}

TEST_F(LockTest, LinksFifosFoldersAndHardLinksAreSkippedLikeHeldLocksAndNothingIsWrittenThroughThem) {
    Spit(folder.File("target"), "someone else's file");
    Spit(folder.File("notes.txt"), "the user's notes");
    ASSERT_EQ(::symlink(folder.File("target").c_str(), folder.File("Tavrolin.tmp").c_str()), 0);
    ASSERT_EQ(::symlink(folder.File("nothing").c_str(), folder.File("Tavrolin1.tmp").c_str()), 0);
    ASSERT_EQ(::mkfifo(folder.File("Tavrolin2.tmp").c_str(), 0644), 0);
    std::filesystem::create_directory(folder.File("Tavrolin3.tmp"));
    // A second name of a file of the user's own: writing the lock would write the file.
    ASSERT_EQ(::link(folder.File("notes.txt").c_str(), folder.File("Tavrolin4.tmp").c_str()), 0);
    // Were the FIFO opened for writing the claim would wait for ever.
    const InstanceFiles files = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(files.configBaseName, "Tavrolin5");
    ReleaseInstance(platform, files);
    EXPECT_EQ(Slurp(folder.File("target")), "someone else's file");
    EXPECT_EQ(Slurp(folder.File("notes.txt")), "the user's notes");
    EXPECT_TRUE(Exists(folder.File("Tavrolin4.tmp")));
    EXPECT_FALSE(Exists(folder.File("nothing")));
    EXPECT_TRUE(std::filesystem::is_fifo(folder.File("Tavrolin2.tmp")));
    // As the tenth name a link is never written, and the instance saves nothing.
    for (int n = 5; n <= 8; ++n) Claim();
    ASSERT_EQ(::symlink(folder.File("target").c_str(), folder.File("Tavrolin9.tmp").c_str()), 0);
    const InstanceFiles tenth = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(tenth.configBaseName, "Tavrolin9");
    EXPECT_FALSE(tenth.lockHeld);
    EXPECT_NE(tenth.notSaved, "");
    ReleaseInstance(platform, tenth);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("Tavrolin9.tmp")));
    EXPECT_EQ(Slurp(folder.File("target")), "someone else's file");
}

TEST_F(LockTest, LocksPlantedByAnotherUserInASharedFolderNeverPutTheUserOnThePlantersFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs two users";
    ::chmod(folder.str().c_str(), 01777);
    // The planter's ten empty locks, which nobody else may write, and a settings file for all.
    for (int n = 0; n <= 9; ++n) {
        const std::string lock = folder.File("Tavrolin" + (n ? std::to_string(n) : "") + ".tmp");
        Spit(lock, "");
        ASSERT_EQ(::chown(lock.c_str(), 4242, 4242), 0);
    }
    const std::string planted = folder.File("Tavrolin9.cfg");
    Spit(planted, "planted");
    ASSERT_EQ(::chown(planted.c_str(), 4242, 4242), 0);
    ::chmod(planted.c_str(), 0666);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(4343) != 0 || ::setuid(4343) != 0) ::_exit(3);
        HeadlessBackend own;
        own.screen() = backend.screen();
        Program victim(own, platform, "");
        victim.Start();
        const bool told = victim.mainWindow().SysFile.Caption() == "Using: Tavrolin9.cfg (not saved)";
        victim.g().TickSpacing = 300;
        victim.Exit();
        ::_exit(told ? 0 : 4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Slurp(planted), "planted");
    for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        EXPECT_EQ(st.st_uid, 4242u) << entry.path();
    }
}

TEST_F(LockTest, OnAFullDiskTheFirstNameIsTakenWithAnEmptyLockAndNoTrailIsLeft) {
    const pid_t child = ::fork();
    if (child == 0) {
        // Every write fails as on a full disk; creating a file still works.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordingPlatform own;
        const InstanceFiles files = ClaimInstance(own, folder.str(), "");
        ::_exit(files.configBaseName == "Tavrolin" && files.lockHeld ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"Tavrolin.tmp"});
    // Once there is room again, the empty lock nobody holds is the first name again.
    EXPECT_EQ(Claim(), "Tavrolin");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")), FreshLock("Tavrolin"));
}

TEST_F(LockTest, TwelveProcessesStartingAtOnceAmongStaleLocksNeverShareANameBelowTheTenth) {
    for (int round = 0; round < 3; ++round) {
        // Ten names left behind: old, damaged, empty and dated today.
        for (int n = 0; n <= 9; ++n) {
            const std::string name = folder.File("Tavrolin" + (n ? std::to_string(n) : "") + ".tmp");
            Spit(name, n % 3 == 0 ? LockFileContent({2000, 1, 1}, "x")
                       : n % 3 == 1 ? std::string("junk")
                                    : LockFileContent(platform.today, "x"));
        }
        int names[2], finish[2];
        ASSERT_EQ(::pipe(names), 0);
        ASSERT_EQ(::pipe(finish), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < 12; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(finish[1]);
                RecordingPlatform own;
                own.today = platform.today;
                const InstanceFiles files = ClaimInstance(own, folder.str(), "");
                const std::string line = files.configBaseName + "\n";
                [[maybe_unused]] auto n = ::write(names[1], line.data(), line.size());
                char byte;
                n = ::read(finish[0], &byte, 1);
                ReleaseInstance(own, files);
                ::_exit(0);
            }
            children.push_back(child);
        }
        ::close(names[1]);
        std::string all;
        char buffer[256];
        for (int got = 0; std::count(all.begin(), all.end(), '\n') < 12 &&
                          (got = static_cast<int>(::read(names[0], buffer, sizeof buffer))) > 0;) {
            all.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(finish[1]);
        for (pid_t child : children) ::waitpid(child, nullptr, 0);
        ::close(names[0]);
        ::close(finish[0]);
        std::map<std::string, int> count;
        std::istringstream lines(all);
        for (std::string line; std::getline(lines, line);) ++count[line];
        for (int n = 0; n <= 8; ++n) {
            EXPECT_EQ(count["Tavrolin" + (n ? std::to_string(n) : "")], 1) << "round " << round;
        }
        EXPECT_EQ(count["Tavrolin9"], 3) << "round " << round;
        // The sharers of the tenth left its holder's lock alone, and the holder removed it.
        for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
        }
    }
}
#endif

TEST_F(LockTest, SettingsGoToTheUserFolderWhenTheProgramFolderCannotBeWritten) {
    EXPECT_EQ(SettingsFolder(platform), folder.str());
    platform.programFolder = folder.File("no-such-folder");
    EXPECT_EQ(SettingsFolder(platform), platform.userConfigFolder);
    EXPECT_TRUE(Exists(platform.userConfigFolder));
}

}  // namespace
}  // namespace tavrolin::testing
