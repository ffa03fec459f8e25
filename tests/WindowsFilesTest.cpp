// Locks and settings files on Windows with real files: links and hard links planted at their
// names, a file another program holds open, what killed saves left, and folders whose path is
// near the old 260-character limit. Under Wine a link is a Unix link, planted with ln.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "RulerFixture.h"
#include "app/Instance.h"
#include "control/MeasurementLog.h"
#include "platform/WideText.h"

// After the program's headers: its colour function has the name of a Windows macro.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <thread>
#include <vector>

namespace tavrolin::testing {
namespace {

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Runs a program to its end; its exit code, or -1.
long RunToEnd(const std::wstring& program, std::wstring commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        return -1;
    }
    ::WaitForSingleObject(pi.hProcess, 10000);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<long>(code);
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Makes `link` a symbolic link to `target` (a name in the same folder); false where this
// system lets the user make none.
bool PlantLink(const std::string& link, const std::string& target) {
    if (UnderWine()) {
        // Wine's own call makes nothing; a Unix link is what Wine shows its programs.
        using UnixName = char* (*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* name = unixName ? unixName(Wide(link).c_str()) : nullptr;
        if (name == nullptr) return false;
        const std::wstring unixLink = Wide(name);
        ::HeapFree(::GetProcessHeap(), 0, name);
        // Wine does not wait for a Unix program's end, and does not show a link that leads
        // nowhere: a file made after the link tells it is there (and stays, as Wine's deletion
        // of it would disturb the sharing of files held open).
        const std::wstring command = L"sh -c \"ln -s " + Wide(target) + L" " + unixLink +
                                     L" && touch " + unixLink + L"-planted\"";
        if (RunToEnd(L"Z:\\bin\\sh", command) != 0) return false;
        const std::string planted = link + "-planted";
        for (int step = 0; step < 100; ++step) {
            if (::GetFileAttributesW(Wide(planted).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            ::Sleep(50);
        }
        return false;
    }
    const std::string full = link.substr(0, link.find_last_of('\\') + 1) + target;
    return ::CreateSymbolicLinkW(Wide(link).c_str(), Wide(full).c_str(),
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
           (::GetFileAttributesW(Wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool HardLink(const std::string& link, const std::string& existing) {
    return ::CreateHardLinkW(Wide(link).c_str(), Wide(existing).c_str(), nullptr) != 0;
}

// Another program holding `path` open the way a backup or a virus scan does, for `ms`
// milliseconds from the moment the constructor returns.
class Holder {
public:
    Holder(const std::string& path, DWORD share, int ms) {
        handle_ = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ms >= 0) {
            thread_ = std::thread([this, ms] {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                Let();
            });
        }
    }
    ~Holder() {
        if (thread_.joinable()) thread_.join();
        Let();
    }
    bool Holds() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    void Let() {
        const HANDLE h = handle_.exchange(INVALID_HANDLE_VALUE);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    std::atomic<HANDLE> handle_;
    std::thread thread_;
};

class WindowsFiles : public RulerTest {
protected:
    void TearDown() override {
        // Wine's deletions follow Unix links: the folder goes from the Unix side.
        if (!UnderWine()) return;
        using UnixName = char* (*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* name = unixName ? unixName(Wide(folder.str()).c_str()) : nullptr;
        if (name == nullptr) return;
        const bool ours = std::string(name).find("tavrolin-test-") != std::string::npos;
        if (ours) RunToEnd(L"Z:\\bin\\rm", L"rm -rf " + Wide(name));
        ::HeapFree(::GetProcessHeap(), 0, name);
        for (int step = 0; ours && step < 100 && Exists(folder.str()); ++step) ::Sleep(50);
    }
    std::string Claim() { return ClaimInstance(platform, folder.str(), "").configBaseName; }
};

TEST_F(WindowsFiles, LockNamesThatAreLinksOrSecondNamesOfAFileAreSkippedAndNothingBehindIsTouched) {
    Spit(folder.File("notes.txt"), "the user's notes");
    Spit(folder.File("target"), "someone else's file");
    Spit(folder.File("Tavrolin.cfg"), "the settings");
    // A second name of the user's document, and one of the settings file beside it: writing
    // either lock would destroy the file.
    ASSERT_TRUE(HardLink(folder.File("Tavrolin.tmp"), folder.File("notes.txt")));
    ASSERT_TRUE(HardLink(folder.File("Tavrolin1.tmp"), folder.File("Tavrolin.cfg")));
    // Planted before any lock is held: under Wine, files made from outside while this process
    // holds others open can make it forget how they are shared.
    const bool links = PlantLink(folder.File("Tavrolin2.tmp"), "target") &&
                       PlantLink(folder.File("Tavrolin3.tmp"), "nothing") &&
                       PlantLink(folder.File("Tavrolin9.tmp"), "target");
    const InstanceFiles files = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(files.configBaseName, links ? "Tavrolin4" : "Tavrolin2");
    EXPECT_TRUE(files.lockHeld);
    EXPECT_EQ(files.notSaved, "");
    // Anyone may read which settings the instance uses while it runs.
    EXPECT_EQ(Slurp(files.lockPath), LockFileContent(platform.today, files.configPath));
    ReleaseInstance(platform, files);
    EXPECT_FALSE(Exists(files.lockPath));
    EXPECT_EQ(Slurp(folder.File("notes.txt")), "the user's notes");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")), "the user's notes");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), "the settings");
    EXPECT_EQ(Slurp(folder.File("target")), "someone else's file");
    EXPECT_FALSE(Exists(folder.File("nothing")));
    if (!links) GTEST_SKIP() << "this system lets the user make no symbolic link";
    EXPECT_EQ(Slurp(folder.File("Tavrolin2.tmp")), "someone else's file");
    // As the last name a link is still never written, and the instance saves nothing.
    for (int n = 4; n <= 8; ++n) Claim();
    const InstanceFiles tenth = ClaimInstance(platform, folder.str(), "");
    EXPECT_EQ(tenth.configBaseName, "Tavrolin9");
    EXPECT_FALSE(tenth.lockHeld);
    EXPECT_NE(tenth.notSaved, "");
    ReleaseInstance(platform, tenth);
    EXPECT_EQ(Slurp(folder.File("target")), "someone else's file");
    EXPECT_EQ(Slurp(folder.File("Tavrolin9.tmp")), "someone else's file");
}

TEST_F(WindowsFiles, ASettingsFileThatIsALinkIsNeitherReadThroughNorWrittenAndSecondNamesKeepTheirContent) {
    Spit(folder.File("kept.cfg"), "the target's content");
    if (!PlantLink(folder.File("Tavrolin.cfg"), "kept.cfg")) {
        GTEST_SKIP() << "this system lets the user make no symbolic link";
    }
    const FileFacts facts = platform.Inspect(folder.File("Tavrolin.cfg"));
    EXPECT_TRUE(facts.exists);
    EXPECT_TRUE(facts.link);
    EXPECT_NE(WhyNotSaved(facts), "");
    EXPECT_FALSE(platform.WriteFileAtomic(folder.File("Tavrolin.cfg"), "new"));
    // The whole program: it runs unsaved, on the defaults, and its exit leaves both names.
    Start();
    EXPECT_NE(G().NotSavedReason, "");
    EXPECT_EQ(G().ConfigReadPath, "");
    program->Exit();
    EXPECT_EQ(Slurp(folder.File("kept.cfg")), "the target's content");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), "the target's content");
    // A picture saved to a link's name replaces the link, never what it leads to.
    EXPECT_TRUE(platform.PutNewFile(folder.File("Tavrolin.cfg"), "a picture"));
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), "a picture");
    EXPECT_EQ(Slurp(folder.File("kept.cfg")), "the target's content");

    // A settings file of two names is replaced at its own name only.
    Spit(folder.File("shared.cfg"), "the other name's content");
    ASSERT_TRUE(HardLink(folder.File("Tavrolin1.cfg"), folder.File("shared.cfg")));
    EXPECT_EQ(WhyNotSaved(platform.Inspect(folder.File("Tavrolin1.cfg"))), "");
    EXPECT_TRUE(platform.WriteFileAtomic(folder.File("Tavrolin1.cfg"), "new settings"));
    EXPECT_EQ(Slurp(folder.File("Tavrolin1.cfg")), "new settings");
    EXPECT_EQ(Slurp(folder.File("shared.cfg")), "the other name's content");
}

TEST_F(WindowsFiles, TheMeasurementLogOnlyGrowsAndIsNeverWrittenThroughALinkOrASecondName) {
    StartMeasurement();
    const std::string log = folder.File("Tavrolin-measurements.csv");
    const std::string header = CsvRecord(LogColumns());
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    const auto& rows = program->log().Rows();
    ASSERT_EQ(rows.size(), 2u);
    const std::string text = header + CsvRecord(LogFields(rows[0])) + CsvRecord(LogFields(rows[1]));
    EXPECT_EQ(Slurp(log), text);

    const std::string row = "x\r\n";
    Spit(folder.File("other.csv"), "name,value\r\n");
    EXPECT_EQ(platform.AppendToLog(folder.File("other.csv"), header, row), AppendResult::Refused);
    ASSERT_TRUE(HardLink(folder.File("second.csv"), log));
    EXPECT_EQ(platform.AppendToLog(log, header, row), AppendResult::Refused);
    ASSERT_TRUE(::DeleteFileW(Wide(folder.File("second.csv")).c_str()));
    if (PlantLink(folder.File("link.csv"), "Tavrolin-measurements.csv")) {
        EXPECT_EQ(platform.AppendToLog(folder.File("link.csv"), header, row), AppendResult::Refused);
    }
    EXPECT_EQ(Slurp(log), text);
    EXPECT_EQ(Slurp(folder.File("other.csv")), "name,value\r\n");
    EXPECT_EQ(platform.AppendToLog(log, header, row), AppendResult::Appended);
    EXPECT_EQ(Slurp(log), text + row);
}

TEST_F(WindowsFiles, AFileHeldOpenForAMomentIsWaitedForAndOneHeldLongerFailsTheSaveLeavingNoTrace) {
    const std::string cfg = folder.File("Tavrolin.cfg");
    StartWith([](Settings& s) { s.TickSpacing = 3000; });
    program->Exit();
    const std::string saved = Slurp(cfg);
    ASSERT_NE(saved, "");
    {
        // A scan holding the file without any sharing as the program starts: it reads the file
        // and saves to it all the same.
        Holder scan(cfg, 0, 200);
        ASSERT_TRUE(scan.Holds());
        Start();
        EXPECT_EQ(G().NotSavedReason, "");
        EXPECT_EQ(G().TickSpacing, 3000);
    }
    G().TickSpacing = 2500;
    {
        Holder scan(cfg, FILE_SHARE_READ, 200);
        ASSERT_TRUE(scan.Holds());
        TheRuler().ValuesToFile("To");
    }
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "TickSpacing"), "2500");
    const std::string before = Slurp(cfg);
    const std::vector<std::string> names = Names(folder.str());
    {
        // Held without delete sharing for longer than the wait: the save fails whole.
        Holder editor(cfg, FILE_SHARE_READ | FILE_SHARE_WRITE, -1);
        ASSERT_TRUE(editor.Holds());
        EXPECT_FALSE(platform.WriteFileAtomic(cfg, "new"));
        EXPECT_FALSE(platform.PutNewFile(cfg, "a picture"));
    }
    EXPECT_EQ(Slurp(cfg), before);
    EXPECT_EQ(Names(folder.str()), names);
    program->Exit(false);
}

TEST_F(WindowsFiles, ASaveRemovesWhatKilledSavesLeftButNotWhatARunningOneIsWriting) {
    // A process that has ended; its handle, kept, keeps its number from being given again.
    wchar_t system[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmd = std::wstring(system, n) + L"\\cmd.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"cmd.exe /c exit";
    ASSERT_TRUE(::CreateProcessW(cmd.c_str(), line.data(), nullptr, nullptr, FALSE,
                                 CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
    ::WaitForSingleObject(pi.hProcess, 10000);
    const std::string dead = std::to_string(pi.dwProcessId);
    const std::string alive = std::to_string(::GetCurrentProcessId());
    Spit(folder.File("doc.txt"), "a document");
    Spit(folder.File("Tavrolin.cfg.new" + dead + "-123456"), "left by a killed save");
    Spit(folder.File("Tavrolin.cfg.new" + alive + "-654321"), "a save under way");
    ASSERT_TRUE(HardLink(folder.File("Tavrolin.cfg.new" + dead + "-7"), folder.File("doc.txt")));
    Spit(folder.File("Tavrolin.cfg.new" + dead + "-x"), "not named as the program names");
    Spit(folder.File("Tavrolin1.cfg.new" + dead + "-1"), "another file's");
    EXPECT_TRUE(platform.WriteFileAtomic(folder.File("Tavrolin.cfg"), "settings"));
    std::vector<std::string> kept = {"Tavrolin.cfg", "Tavrolin.cfg.new" + alive + "-654321",
                                     "Tavrolin.cfg.new" + dead + "-7",
                                     "Tavrolin.cfg.new" + dead + "-x",
                                     "Tavrolin1.cfg.new" + dead + "-1", "doc.txt"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(folder.str()), kept);
    EXPECT_EQ(Slurp(folder.File("doc.txt")), "a document");
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

TEST_F(WindowsFiles, AFolderNearTheOldPathLimitHoldsTheLockAndTheSettingsAlike) {
    // The lock's path just under 260 characters, a temporary file's beyond.
    std::wstring deep = L"\\\\?\\" + Wide(folder.str());
    std::vector<std::wstring> made;
    while (deep.size() - 4 < 200) {
        deep += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
        made.push_back(deep);
    }
    deep += L"\\" + std::wstring(240 - (deep.size() - 4) - 1, L'e');
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    made.push_back(deep);
    const std::string where = Utf8(deep.c_str() + 4);
    ASSERT_EQ(where.size(), 240u);
    const InstanceFiles files = ClaimInstance(platform, where, "");
    EXPECT_TRUE(files.lockHeld);
    EXPECT_LT(files.lockPath.size(), 260u);
    EXPECT_TRUE(platform.WriteFileAtomic(files.configPath, "settings"));
    EXPECT_EQ(platform.ReadFile(files.configPath), "settings");
    EXPECT_EQ(WhyNotSaved(platform.Inspect(files.configPath)), "");
    EXPECT_TRUE(platform.WriteFileAtomic(files.configPath, "settings again"));
    EXPECT_EQ(platform.ReadFile(files.configPath), "settings again");
    ReleaseInstance(platform, files);
    EXPECT_FALSE(platform.ModificationTime(files.lockPath).has_value());
    ::DeleteFileW((deep + L"\\Tavrolin.cfg").c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it) ::RemoveDirectoryW(it->c_str());
}

TEST_F(WindowsFiles, ProgramFilesFoldersAreSystemFoldersWhateverTheirCase) {
    wchar_t value[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableW(L"ProgramFiles", value, MAX_PATH);
    ASSERT_GT(n, 0u);
    const std::string programFiles = Utf8(value, static_cast<int>(n));
    Platform& real = platform;
    EXPECT_TRUE(real.Platform::IsSystemFolder(programFiles));
    EXPECT_TRUE(real.Platform::IsSystemFolder(programFiles + "\\Tavrolin"));
    std::string upper = programFiles;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(real.Platform::IsSystemFolder(upper + "\\TAVROLIN\\"));
    EXPECT_FALSE(real.Platform::IsSystemFolder(programFiles + " Extra\\Tavrolin"));
    EXPECT_FALSE(real.Platform::IsSystemFolder(folder.str()));
}

}  // namespace
}  // namespace tavrolin::testing
#endif  // _WIN32
