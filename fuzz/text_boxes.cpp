// Any keys and texts in every text box of the control window and the colour picker, with the
// buttons that take them in (Apply, the unit options, the length unit), on a whole program:
// after each step the program's invariants hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "StormInvariants.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "forms/HeadlessBackend.h"
#include "forms/UserInput.h"
#include "picker/PickColor.h"
#include "platform/RecordingPlatform.h"
#include "settings/ConfigFile.h"

using namespace tavrolin;

namespace {

// Files in memory: a run touches no disk, so each input can start a whole program afresh.
class MemoryPlatform : public RecordingPlatform {
public:
    std::map<std::string, std::string> files;
    std::optional<std::int64_t> ModificationTime(const std::string& path) override {
        if (files.count(path) == 0) return std::nullopt;
        return 0;
    }
    bool IsDirectory(const std::string& path) override { return path == programFolder; }
    std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.substr(0, maxBytes);
    }
    bool WriteFileAtomic(const std::string& path, const std::string& content) override {
        files[path] = content;
        return true;
    }
    FileFacts Inspect(const std::string& path) override {
        FileFacts facts;
        facts.exists = facts.regular = facts.readable = facts.writable = files.count(path) > 0;
        return facts;
    }
    LockResult TakeLock(const std::string& path, const std::string& content) override {
        return {files.emplace(path, content).second ? LockState::Taken : LockState::Held, true};
    }
    void ReleaseLock(const std::string& path, bool remove) override {
        if (remove) files.erase(path);
    }
    bool FolderWritable(const std::string& folder) override { return folder == programFolder; }
    bool MakeFolders(const std::string&) override { return true; }
};

TextBox* Box(Program& p, int which) {
    MainWindow& mw = p.mainWindow();
    if (which < 11) return mw.Text1[static_cast<std::size_t>(which)];
    if (which == 11) return &mw.ScaleDist;
    if (which == 12) return &mw.Uncertainty;
    PickColor& picker = p.pickColor();
    return picker.Channel[static_cast<std::size_t>(which - 13)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Settings s = Settings::Defaults(15, 15, 6210);
    s.MeasureMode = data[0] & 1;
    s.IsHorizontal = (data[0] >> 1) & 1;
    s.MeasUnitsIndex = 1 + ((data[0] >> 2) & 3);
    HeadlessBackend backend;
    backend.screen().TwipsPerPixelX = 15;
    backend.screen().TwipsPerPixelY = 15;
    MemoryPlatform platform;
    platform.programFolder = "/tavrolin";
    platform.userConfigFolder = "/home/user/.config/tavrolin";
    platform.files[platform.Join(platform.programFolder, "Tavrolin.cfg")] =
        FormatConfig(s, {1500, 7500, 150, 750});
    auto program = std::make_unique<Program>(backend, platform, "");
    program->Start();
    MainWindow& mw = program->mainWindow();
    // The settings page (or the measurement panel) first, so that its boxes can be reached.
    user::Click(mw.Settings);

    std::size_t i = 1;
    while (i + 2 <= size && program->Running()) {
        const int which = data[i] % 16;
        const int op = data[i + 1] % 8;
        const std::size_t len = std::min<std::size_t>(data[i + 1] / 8, size - i - 2);
        const std::string text(reinterpret_cast<const char*>(data + i + 2), len);
        i += 2 + len;
        if (which >= 13 && !program->pickColor().Visible()) {
            program->pickColor().Init_PickColor(data[i - 1] % 7);
            program->pickColor().Show();
        }
        TextBox& box = *Box(*program, which);
        switch (op) {
            case 0: case 1: case 2: user::Type(box, text); break;
            case 3: user::Edit(box, text); break;
            case 4: user::Click(mw.Settings); break;
            case 5: user::Click(mw.MeasureMode); break;
            case 6: {
                OptionButton* options[] = {&mw.Option1, &mw.Option2, &mw.Option3, &mw.Option4};
                user::Click(*options[which % 4]);
                break;
            }
            default:
                if (which == 13) {
                    user::Click(program->pickColor().ApplyBtn);
                } else {
                    user::Click(*mw.Label1[9]);
                }
                break;
        }
        const std::string broken = testing::CheckInvariants(*program);
        if (!broken.empty()) {
            std::fprintf(stderr, "invariant broken: %s\n", broken.c_str());
            std::abort();
        }
    }
    program->Exit(false);
    return 0;
}
