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
    mw.ShowLengthUnit();
    // The file's fields become the switches; a lock is kept in the mode's field, and only a
    // locked file sets it (a rebuilt ruler keeps the lock the user chose).
    g.StartMinimized = g.StartControlMin != 0;
    if (g.MeasureMode == -1) {
        g.PositionLocked = true;
        g.MeasurementModeOn = false;
    } else {
        g.MeasurementModeOn = g.MeasureMode != 0;
    }
    g.HorizontalRuler = g.IsHorizontal != 0;
    g.SettingsLoading = true;
    mw.ShowSwitches();
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
    record.StartControlMin = g.StartMinimized ? 1 : 0;
    record.MeasureMode = g.MeasurementModeOn ? 1 : g.PositionLocked ? -1 : 0;
    record.IsHorizontal = g.HorizontalRuler ? 1 : 0;
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
