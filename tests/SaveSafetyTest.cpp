// Saving the settings when the machine works against it: a kill at any moment of a save, a full
// disk and a folder that cannot be written. The old file always stays whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "RulerFixture.h"

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
};

TEST_F(SaveSafety, AKillAtAnyMomentOfASaveLeavesTheOldOrTheNewFileWhole) {
    StartSem();
    const std::string a = SavedWith(238);
    const std::string b = SavedWith(300);
    ASSERT_NE(a, b);
    std::mt19937 rng(8);
    int torn = 0, olds = 0, news = 0;
    const std::string errPath = folder.File("children.txt");
    constexpr int kKills = 1000;
    for (int i = 0; i < kKills; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            ::dup2(fd, 2);
            // Save the two versions in turn until killed.
            for (int spacing = 238;; spacing = spacing == 238 ? 300 : 238) {
                G().TickSpacing = spacing;
                TheRuler().ValuesToFile("To");
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(rng)));
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
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
        if (entry.path().filename().string().rfind("Tavrolin.cfg.new", 0) == 0) ++leftovers;
    }
    std::printf("%d kills: %d torn, %d old, %d new files, %d unfinished temporary files\n", kKills,
                torn, olds, news, leftovers);
    EXPECT_EQ(torn, 0);
    // A temporary file left by a killed save never stops a later save.
    EXPECT_EQ(Slurp(errPath), "");
    // Both versions were caught, so the kills did land inside saves.
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
}

TEST_F(SaveSafety, AFullDiskKeepsTheOldFileAndSaysSoOnOneLine) {
    StartSem();
    const std::string old = SavedWith(300);
    G().TickSpacing = 250;
    std::string err;
    const int status = InChild(
        [&] {
            // A file size limit makes every write past it fail as a full disk does.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{512, 512};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            program->Exit();
        },
        err);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), old);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("settings could not be saved"), std::string::npos) << err;
}

TEST_F(SaveSafety, AFolderThatCannotBeWrittenKeepsTheOldFileAndSaysSoOnOneLine) {
    StartSem();
    const std::string old = SavedWith(300);
    G().TickSpacing = 250;
    std::string err;
    const int status = InChild(
        [&] {
            // Another user may not write into this folder (root may write anywhere).
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
            program->Exit();
        },
        err);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot change the user";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), old);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("settings could not be saved"), std::string::npos) << err;
}

}  // namespace
}  // namespace tavrolin::testing
