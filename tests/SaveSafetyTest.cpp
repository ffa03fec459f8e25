// Saving the settings when the machine works against it: a kill at any moment of a save, a full
// disk and a folder that cannot be written. The old file always stays whole.
// The children that are killed, starved of disk or made another user are POSIX processes.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/xattr.h>
#include <grp.h>
#include <climits>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "RulerFixture.h"
#include "control/MainWindow.h"
#include "control/MeasurementLog.h"
#include "control/MeasurementsWindow.h"

namespace tavrolin::testing {
namespace {

class SaveSafety : public RulerTest {
protected:
    // The file the program writes with the spacing set to `spacing`.
    std::string SavedWith(int spacing) {
        G().TickSpacing = spacing;
        TheRuler().ValuesToFile("To");
        return Slurp(folder.File("Tavrolin.cfg"));
    }

    // Runs `child` in a forked process with stderr going to a file; returns its exit status.
    int InChild(const std::function<void()>& child, std::string& err) {
        const std::string errPath = folder.File("stderr.txt");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 2);
            child();
            std::fflush(nullptr);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        err = Slurp(errPath);
        return status;
    }

    // A saved file, then a changed setting that `prepare` keeps the child's exit from saving:
    // the child exits cleanly, the old file stays, and one line on stderr says why.
    void ExpectAFailedSaveToKeepTheOldFile(const std::function<void()>& prepare) {
        const std::string old = SavedWith(300);
        G().TickSpacing = 250;
        std::string err;
        const int status = InChild(
            [&] {
                prepare();
                program->Exit();
            },
            err);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot change the user";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), old);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("settings could not be saved"), std::string::npos) << err;
    }
};

TEST_F(SaveSafety, AKillAtAnyMomentOfASaveLeavesTheOldOrTheNewFileWhole) {
    StartSem();
    const std::string a = SavedWith(238);
    const std::string b = SavedWith(300);
    ASSERT_NE(a, b);
    // The kills land anywhere in the first few saves of each child, however long a save takes.
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) SavedWith(300);
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - t0).count() / 5;
    const int maxDelayUs = static_cast<int>(std::min<long long>(3000 + 6 * saveUs, 50000));
    std::mt19937 rng(8);
    int torn = 0, olds = 0, news = 0;
    const std::string errPath = folder.File("children.txt");
    // Fewer under the sanitizers, where each fork copies a large shadow memory.
    const char* env = std::getenv("TAVROLIN_SAVE_KILLS");
    const int kKills = env != nullptr ? std::atoi(env) : 1000;
    for (int i = 0; i < kKills; ++i) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            ::dup2(fd, 2);
            [[maybe_unused]] const auto n = ::write(ready[1], "r", 1);
            // Save the two versions in turn until killed.
            for (int spacing = 238;; spacing = spacing == 238 ? 300 : 238) {
                G().TickSpacing = spacing;
                TheRuler().ValuesToFile("To");
            }
        }
        char byte = 0;
        [[maybe_unused]] const auto n = ::read(ready[0], &byte, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, maxDelayUs)(rng)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string now = Slurp(folder.File("Tavrolin.cfg"));
        if (now == a) {
            ++olds;
        } else if (now == b) {
            ++news;
        } else {
            ++torn;
        }
    }
    auto unfinished = [&] {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
            if (entry.path().filename().string().rfind("Tavrolin.cfg.new", 0) == 0) ++n;
        }
        return n;
    };
    const int leftovers = unfinished();
    std::printf("%d kills: %d torn, %d old, %d new files, %d unfinished temporary files\n", kKills,
                torn, olds, news, leftovers);
    EXPECT_EQ(torn, 0);
    // The next save clears what the killed ones left.
    SavedWith(238);
    EXPECT_EQ(unfinished(), 0);
    // A temporary file left by a killed save never stops a later save.
    EXPECT_EQ(Slurp(errPath), "");
    // Both versions were caught, so the kills did land inside saves.
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
}

TEST_F(SaveSafety, AFullDiskKeepsTheOldFileAndSaysSoOnOneLine) {
    StartSem();
    ExpectAFailedSaveToKeepTheOldFile([] {
        // A file size limit makes every write past it fail as a full disk does.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
}

TEST_F(SaveSafety, AFolderThatCannotBeWrittenKeepsTheOldFileAndSaysSoOnOneLine) {
    StartSem();
    ExpectAFailedSaveToKeepTheOldFile([] {
        // Another user may not write into this folder (root may write anywhere).
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    });
}

TEST_F(SaveSafety, ASaveKeepsTheFilesModeAndALinkedFileStaysALinkToTheNewValues) {
    // The settings kept in a folder of the user's own, linked beside the program.
    const std::string kept = folder.File("dotfiles");
    std::filesystem::create_directory(kept);
    Settings s = Settings::Defaults(15, 15, 6210);
    Spit(kept + "/Tavrolin.cfg", FormatConfig(s, {1500, 7500, 150, 750}));
    ::chmod((kept + "/Tavrolin.cfg").c_str(), 0600);
    ASSERT_EQ(::symlink("dotfiles/Tavrolin.cfg", folder.File("Tavrolin.cfg").c_str()), 0);
    Start();
    EXPECT_EQ(Main().SysFile.Caption(), "Using: Tavrolin.cfg");
    G().TickSpacing = 300;
    program->Exit();
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("Tavrolin.cfg")));
    EXPECT_EQ(ConfigValue("dotfiles/Tavrolin.cfg", "TickSpacing"), "300");
    struct stat st {};
    ASSERT_EQ(::stat((kept + "/Tavrolin.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    for (const std::string& where : {folder.str(), kept}) {
        for (const auto& entry : std::filesystem::directory_iterator(where)) {
            EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();
        }
    }

    // A link another user planted is neither read nor written through.
    ASSERT_EQ(::lchown(folder.File("Tavrolin.cfg").c_str(), 65534, 65534), 0);
    const std::string target = Slurp(kept + "/Tavrolin.cfg");
    Start();
    EXPECT_EQ(Main().SysFile.Caption(), "Using: Tavrolin.cfg (not saved)");
    EXPECT_EQ(G().TickSpacing, 238);
    program->Exit();
    EXPECT_EQ(Slurp(kept + "/Tavrolin.cfg"), target);
}

TEST_F(SaveSafety, AColleaguesSaveKeepsTheFilesGroupModeAccessListAndAttributes) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs two users";
    const std::string cfg = folder.File("Tavrolin.cfg");
    const auto facts = [&] {
        struct stat st {};
        ::stat(cfg.c_str(), &st);
        char acl[256] = {}, note[64] = {};
        ::getxattr(cfg.c_str(), "system.posix_acl_access", acl, sizeof acl);
        const ssize_t n = ::getxattr(cfg.c_str(), "user.note", note, sizeof note);
        return std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " " +
               std::to_string(st.st_mode & 07777) + " acl " +
               std::to_string(::getxattr(cfg.c_str(), "system.posix_acl_access", acl, sizeof acl)) +
               " note " + std::string(note, n > 0 ? static_cast<std::size_t>(n) : 0);
    };
    // Alice's file in the lab's folder, shared with the group and with one more user by its
    // access list: bob, of the lab, saves it; then root, and bob again in a folder where only
    // a file's owner may replace it.
    for (const mode_t folderMode : {02770, 03770}) {
        ::chown(folder.str().c_str(), 0, 5151);
        ::chmod(folder.str().c_str(), folderMode);
        StartSem();
        G().TickSpacing = 300;
        program->Exit();
        ASSERT_EQ(::chown(cfg.c_str(), 5001, 5151), 0);
        ::chmod(cfg.c_str(), 0660);
        // The list "user::rw-, user:5003:rw-, group::rw-, mask::rw-, other::---" as the kernel
        // keeps it.
        const std::string acl = std::string("\x02\0\0\0\x01\0\x06\0\xff\xff\xff\xff\x02\0\x06\0\x8b\x13\0\0"
                                "\x04\0\x06\0\xff\xff\xff\xff\x10\0\x06\0\xff\xff\xff\xff"
                                "\x20\0\0\0\xff\xff\xff\xff", 44);
        if (::setxattr(cfg.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
            ::setxattr(cfg.c_str(), "user.note", "kept", 4, 0) != 0) {
            GTEST_SKIP() << "no access lists or attributes on this file system";
        }
        const std::string before = facts();
        for (const bool asBob : {true, false}) {
            std::string err;
            const int status = InChild(
                [&] {
                    const gid_t lab = 5151;
                    if (asBob && (::setgroups(1, &lab) != 0 || ::setgid(5002) != 0 ||
                                  ::setuid(5002) != 0)) {
                        ::_exit(3);
                    }
                    StartSem();
                    G().TickSpacing = asBob ? 250 : 270;
                    program->Exit();
                },
                err);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
            EXPECT_EQ(ConfigValue("Tavrolin.cfg", "TickSpacing"), asBob ? "250" : "270") << err;
            std::string now = facts();
            // Bob may not give the file to alice: it stays the lab's, with everything else kept,
            // and is his from then on, unless the folder let him write it only in place.
            if (folderMode == 02770) now.replace(0, 4, "5001");
            EXPECT_EQ(now, before) << "folder " << folderMode << (asBob ? " bob" : " root");
        }
        std::filesystem::remove(cfg);
    }
}

TEST_F(SaveSafety, AHardLinkedFileIsReplacedAtItsOwnNameOnlyAndALongFolderPathStillSaves) {
    StartSem();
    const std::string old = SavedWith(300);
    ASSERT_EQ(::link(folder.File("Tavrolin.cfg").c_str(), folder.File("copy.cfg").c_str()), 0);
    SavedWith(250);
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "TickSpacing"), "250");
    EXPECT_EQ(Slurp(folder.File("copy.cfg")), old);
    program.reset();

    // A folder whose path leaves room for the settings file's name but not for a longer one.
    std::string deep = folder.str();
    const std::size_t room = PATH_MAX - 1 - std::string("/Tavrolin.cfg").size();
    while (deep.size() + 201 + 50 <= room) deep += "/" + std::string(200, 'd');
    deep += "/" + std::string(room - deep.size() - 1, 'e');
    ASSERT_EQ(deep.size() + std::string("/Tavrolin.cfg").size(), static_cast<std::size_t>(PATH_MAX - 1));
    std::filesystem::create_directories(deep);
    platform.programFolder = deep;
    Start();
    ASSERT_TRUE(G().LockHeld);
    G().TickSpacing = 320;
    std::string err;
    const int status = InChild([&] { program->Exit(); }, err);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(err, "");
    EXPECT_NE(Slurp(deep + "/Tavrolin.cfg").find("320"), std::string::npos);
}

TEST_F(SaveSafety, AFileMadeReadOnlyOrThatCannotBeReadIsLeftByteForByteAndTheUserIsTold) {
    // An ordinary user's files: root could read and write them all.
    ::chmod(folder.str().c_str(), 0777);
    for (const mode_t mode : {0444, 0200, 0000}) {
        Settings s = Settings::Defaults(15, 15, 6210);
        s.TickSpacing = 300;
        const std::string cfg = folder.File("Tavrolin.cfg");
        Spit(cfg, FormatConfig(s, {1500, 7500, 150, 750}));
        const std::string before = Slurp(cfg);
        ASSERT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
        ::chmod(cfg.c_str(), mode);
        std::string err;
        const int status = InChild(
            [&] {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
                Start();
                if (Main().SysFile.Caption() != "Using: Tavrolin.cfg (not saved)") ::_exit(4);
                if (mode == 0444 && G().TickSpacing != 300) ::_exit(5);
                G().TickSpacing = 250;
                program->Exit();
            },
            err);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot change the user";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "mode " << mode << ": " << status;
        ::chmod(cfg.c_str(), 0600);
        EXPECT_EQ(Slurp(cfg), before) << "mode " << mode;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("will not be saved"), std::string::npos) << err;
        struct stat st {};
        ::chmod(cfg.c_str(), mode);
        ASSERT_EQ(::stat(cfg.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        std::filesystem::remove(cfg);
    }
}

TEST_F(SaveSafety, TheMeasurementLogOnlyGrowsAndNeverWritesThroughALinkAFifoOrAnotherFile) {
    StartMeasurement();
    const std::string log = folder.File("Tavrolin-measurements.csv");
    EXPECT_EQ(LogFileOf(G().ConfigPath), log);
    auto rows = [&]() -> const std::vector<LogRow>& { return program->log().Rows(); };
    auto record = [&](const LogRow& row) { return CsvRecord(LogFields(row)); };
    const std::string header = CsvRecord(LogColumns());
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    ASSERT_EQ(rows().size(), 2u);
    std::string text = header + record(rows()[0]) + record(rows()[1]);
    EXPECT_EQ(Slurp(log), text);
    // Rows deleted in the program leave the file as it is; the next one is added to it.
    program->log().Remove({0});
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    text += record(rows().back());
    EXPECT_EQ(Slurp(log), text);

    // A record cut short by a kill is passed over; the next start lists the rows the file holds
    // and numbers on from the highest.
    {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        out << "7,2026-12-08,14:05:09,\"Tavrolin,Black Marks,0,2";
    }
    program->Exit();
    Start();
    ASSERT_EQ(rows().size(), 3u);
    EXPECT_EQ(header + record(rows()[0]) + record(rows()[1]) + record(rows()[2]), text);
    EXPECT_EQ(program->log().NextNumber(), 4);
    Spit(log, text);

    // What is not such a log is refused and left as it is: another program's file, a link, a
    // file of two links, a FIFO (without blocking). A new name gets the header first.
    const std::string row = "x\r\n";
    const std::string other = folder.File("other.csv");
    Spit(other, "name,value\r\n");
    EXPECT_EQ(platform.AppendToLog(other, header, row), AppendResult::Refused);
    ASSERT_EQ(::symlink(log.c_str(), folder.File("link.csv").c_str()), 0);
    EXPECT_EQ(platform.AppendToLog(folder.File("link.csv"), header, row), AppendResult::Refused);
    ASSERT_EQ(::link(log.c_str(), folder.File("hard.csv").c_str()), 0);
    EXPECT_EQ(platform.AppendToLog(log, header, row), AppendResult::Refused);
    ::unlink(folder.File("hard.csv").c_str());
    ASSERT_EQ(::mkfifo(folder.File("fifo.csv").c_str(), 0600), 0);
    EXPECT_EQ(platform.AppendToLog(folder.File("fifo.csv"), header, row), AppendResult::Refused);
    EXPECT_EQ(Slurp(other), "name,value\r\n");
    EXPECT_EQ(Slurp(log), text);
    EXPECT_EQ(platform.AppendToLog(folder.File("new.csv"), header, row), AppendResult::Created);
    EXPECT_EQ(platform.AppendToLog(folder.File("new.csv"), header, row), AppendResult::Appended);
    EXPECT_EQ(Slurp(folder.File("new.csv")), header + row + row);

    // A log set aside moves as itself, and never over what is at the new name.
    EXPECT_FALSE(platform.RenameAside(folder.File("new.csv"), other));
    EXPECT_TRUE(platform.RenameAside(folder.File("link.csv"), folder.File("old-link.csv")));
    struct stat st{};
    ASSERT_EQ(::lstat(folder.File("old-link.csv").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Slurp(other), "name,value\r\n");
    EXPECT_EQ(Slurp(log), text);

    // The program's log replaced by a link to another file: the readings go on in memory, the
    // user is told once, and the other file is untouched.
    ::unlink(log.c_str());
    ASSERT_EQ(::symlink(other.c_str(), log.c_str()), 0);
    ::testing::internal::CaptureStderr();
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("Tavrolin-measurements.csv"), std::string::npos) << err;
    EXPECT_EQ(Slurp(other), "name,value\r\n");
    // ...and shown in the Measurements window, which opened for it.
    ASSERT_TRUE(program->MeasurementsShown());
    MeasurementsWindow& window = program->measurements();
    EXPECT_EQ(window.List.RowCount(), 5u);
    EXPECT_NE(window.Info.Caption().find("Tavrolin-measurements.csv"), std::string::npos);
    EXPECT_NE(window.Info.ForeColor(), 0);
    // Deleting rows there leaves the link and the file it names alone.
    user::SelectRows(window.List, {0});
    user::KeyDown(window.List, kKeyDelete, 0);
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_EQ(Slurp(other), "name,value\r\n");
    ASSERT_EQ(::lstat(log.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(SaveSafety, TheMeasurementsWindowDeletesAndClearsRowsWithoutRewritingTheLog) {
    StartMeasurement();
    const std::string log = folder.File("Tavrolin-measurements.csv");
    const std::string header = CsvRecord(LogColumns());
    auto record = [&](const LogRow& row) { return CsvRecord(LogFields(row)); };
    for (int i = 0; i < 3; ++i) user::KeyDown(TheRuler(), kKeyReturn, 0);
    const std::string three = Slurp(log);
    // The control window in the right half of the screen: the window opens on its left,
    // wholly on the monitor.
    backend.screen().Monitors = {{0, 0, 1920 * 15, 1080 * 15}};
    program->mainWindow().Move(1000 * 15, 100 * 15);
    OpenMeasurements(*program);  // the panel's Measurements... button
    ASSERT_TRUE(program->MeasurementsShown());
    MeasurementsWindow& window = program->measurements();
    EXPECT_GE(window.Left(), 0);
    EXPECT_LE(window.Left() + window.Width(), program->mainWindow().Left());
    EXPECT_EQ(window.List.RowCount(), 3u);
    EXPECT_EQ(window.List.ScrollRow(), 2u);  // the newest in sight
    EXPECT_EQ(window.List.Cell(1, 0), "2");
    // A reading recorded while the window is open shows at once.
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    EXPECT_EQ(window.List.RowCount(), 4u);
    EXPECT_EQ(window.List.ScrollRow(), 3u);

    // Ctrl+C: the selected rows under a header, figures with the user's decimal separator;
    // with nothing selected, every row.
    platform.decimalSeparator = ',';
    user::SelectRows(window.List, {1, 3});
    user::KeyDown(window.List, 'C', kCtrlMask);
    const auto& rows = program->log().Rows();
    EXPECT_EQ(platform.clipboard, ClipboardRows({rows[1], rows[3]}, ','));
    EXPECT_EQ(platform.clipboard.substr(0, 3), "No\t");
    user::SelectRows(window.List, {});
    user::Click(window.CopyBtn);
    EXPECT_EQ(std::count(platform.clipboard.begin(), platform.clipboard.end(), '\n'), 5);

    // Delete: the file is set aside under a dated name, whole, and a new one holds the rest.
    const std::string aside = folder.File("Tavrolin-measurements-2026-12-08-140509.csv");
    const std::string four = Slurp(log);
    user::SelectRows(window.List, {0, 2});
    user::KeyDown(window.List, kKeyDelete, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(window.List.RowCount(), 2u);
    EXPECT_EQ(Slurp(aside), four);
    EXPECT_EQ(four.substr(0, three.size()), three);
    EXPECT_EQ(Slurp(log), header + record(rows[0]) + record(rows[1]));
    EXPECT_NE(window.Info.Caption().find("Tavrolin-measurements-2026-12-08-140509.csv"),
              std::string::npos);
    // The same second again: the next free name. Clearing starts numbers again at 1.
    const std::string two = Slurp(log);
    user::Click(window.ClearBtn);
    EXPECT_EQ(Slurp(aside), four);
    EXPECT_EQ(Slurp(folder.File("Tavrolin-measurements-2026-12-08-140509-2.csv")), two);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(window.List.RowCount(), 0u);
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    EXPECT_EQ(rows.front().number, 1);
    EXPECT_EQ(Slurp(log), header + record(rows[0]));

    // Save As writes every row where the user chose, never over the log itself.
    platform.savePath = log;
    user::Click(window.SaveBtn);
    EXPECT_EQ(Slurp(log), header + record(rows[0]));
    EXPECT_NE(window.Info.ForeColor(), 0);
    platform.savePath = folder.File("saved.csv");
    user::Click(window.SaveBtn);
    EXPECT_EQ(Slurp(platform.savePath), header + record(rows[0]));
    ASSERT_EQ(platform.askedSave.size(), 2u);
    EXPECT_NE(platform.askedSave[0].find("Tavrolin measurements 2026-12-08.csv|CSV files|csv"),
              std::string::npos);
    user::KeyDown(window, kKeyEscape, 0);
    EXPECT_FALSE(program->MeasurementsShown());
}

}  // namespace
}  // namespace tavrolin::testing
#endif  // _WIN32
