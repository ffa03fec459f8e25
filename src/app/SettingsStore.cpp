#include "app/SettingsStore.h"

#include <iostream>
#include <string>

#include "app/Instance.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "platform/Platform.h"
#include "settings/ConfigFile.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// Reading stops at this size: a real file is about 2 KB.
constexpr std::size_t kMaxFileBytes = 64 * 1024;

// Takes settings text (nullptr: none) over the values in use.
void TakeSettings(Program& program, const std::string* text) {
    auto& g = program.g();
    MainWindow& mw = program.mainWindow();
    // The first load starts from the defaults, a later one (the ruler rebuilding itself) from
    // the values in use; a file then replaces what it holds, a damaged line keeping its value.
    if (!g.SettingsInitialized) {
        static_cast<Settings&>(g) =
            Settings::Defaults(program.TwipsPerPixelX(), program.TwipsPerPixelY(), mw.Height());
        g.SettingsInitialized = true;
    }
    if (text != nullptr) {
        ParseConfig(*text, g);
        ClampSettings(g, program.TwipsPerPixelX());
    }
    mw.Label1[9]->SetCaption(g.ConvertLengthToDisplay != 1440 ? "Length\nMM" : "Length\nInches");
    g.SettingsLoading = true;
    mw.Check1.SetValue(g.StartControlMin);
    if (g.MeasureMode == -1) {
        mw.PosLock.SetValue(1);
        mw.MeasureMode.SetValue(0);
    } else {
        mw.MeasureMode.SetValue(g.MeasureMode != 0 ? 1 : 0);
    }
    mw.UseHRuler.SetValue(g.IsHorizontal);
    g.SettingsLoading = false;
}

// The file's text for the present state.
std::string SettingsText(Program& program, const RulerRect& ruler) {
    auto& g = program.g();
    MainWindow& mw = program.mainWindow();
    // A minimised window's place is not where the user left it: keep the stored one.
    if (mw.GetWindowState() == WindowState::Normal) {
        if (mw.Top() >= 100) g.ControlTop = RoundHalfEven(mw.Top());
        if (mw.Left() >= 100) g.ControlLeft = RoundHalfEven(mw.Left());
    }
    Settings record = g;
    record.StartControlMin = mw.Check1.Value();
    record.MeasureMode = (mw.PosLock.Value() == 1 && mw.MeasureMode.Value() == 0)
                             ? -1
                             : mw.MeasureMode.Value();
    record.IsHorizontal = mw.UseHRuler.Value();
    return FormatConfig(record, ruler);
}

}  // namespace

void LoadSettings(Program& program) {
    auto& g = program.g();
    if (g.RulerRebuilding && !g.RebuildConfig.empty()) {
        TakeSettings(program, &g.RebuildConfig);
        g.RebuildConfig.clear();
    } else if (FileExists(program.platform(), g.ConfigReadPath)) {
        ReadSettingsFile(program);
    } else {
        TakeSettings(program, nullptr);
    }
}

void StoreSettings(Program& program, const RulerRect& ruler) {
    if (program.g().RulerRebuilding) {
        program.g().RebuildConfig = SettingsText(program, ruler);
    } else if (program.SaveOnUnload()) {
        SaveSettingsFile(program, ruler);
    }
}

void ReadSettingsFile(Program& program) {
    const auto text = program.platform().ReadFile(program.g().ConfigReadPath, kMaxFileBytes);
    TakeSettings(program, text ? &*text : nullptr);
}

void SaveSettingsFile(Program& program, const RulerRect& ruler) {
    auto& g = program.g();
    // A file the user made read-only, or that could not be read, keeps what it holds.
    if (!g.NotSavedReason.empty()) return;
    if (!program.platform().WriteFileAtomic(g.ConfigPath, SettingsText(program, ruler))) {
        std::cerr << "tavrolin: the settings could not be saved to " << g.ConfigPath << "\n";
    }
}

}  // namespace tavrolin
