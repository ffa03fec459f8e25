// The program-wide values every form reads and writes: the settings record and the run-time
// state of the ruler, the crosshairs and the units.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"

namespace tavrolin {

constexpr std::int32_t kHighlightColor = RGB(192, 255, 192);
// The normal back colour of the control window's buttons.
constexpr std::int32_t kButtonFaceColor = RGB(240, 240, 240);

struct GeneralCode : Settings {
    // Instance.
    std::string ConfigBaseName;
    std::string ConfigPath;
    std::string LockPath;
    bool LockHeld = false;  // this instance holds its lock, and removes it at the end
    // Where the settings are read from: ConfigPath, or the file beside a read-only program.
    std::string ConfigReadPath;
    // Why this session's changes cannot be saved (the file is read-only, unreadable...), or
    // empty when they are saved at the end.
    std::string NotSavedReason;
    std::int32_t VirtualScreenWidth = 0;   // twips
    std::int32_t VirtualScreenHeight = 0;  // twips
    bool StartingUp = false;
    bool SettingsLoading = false;
    bool SettingsInitialized = false;  // the defaults were set once; later loads keep values

    // The switches of the settings page. The control window's check boxes show them and a click
    // on a box changes them; everything else reads them here. The settings file keeps them in
    // its own fields (MeasureMode, IsHorizontal, StartControlMin), taken in at a load and
    // written from these at a save.
    bool MeasurementModeOn = false;  // Measurement Mode, else SEM Optimization Mode
    bool PositionLocked = false;     // "Lock": the ruler ignores the mouse in SEM Optimization Mode
    // "Horizontal": the orientation chosen. IsHorizontal is the one the ruler is laid out in,
    // which follows the choice when the ruler turns.
    bool HorizontalRuler = false;
    bool StartMinimized = false;     // "Minimize on Start": the control window starts minimised

    // Ruler.
    int GrabUnit = 45;  // three pixels, twips
    int CenterIndex = 0;
    int TicksBuilt = 0;
    int LastTick = 0;
    bool ResizeEnabled = false;
    // The orientation switch lays the turned ruler out even while it is locked against the mouse.
    bool RulerTurning = false;
    // While the ruler rebuilds itself, its settings pass through this text instead of the file,
    // so that only leaving the program writes the configuration.
    bool RulerRebuilding = false;
    std::string RebuildConfig;

    // Crosshairs.
    bool CrossActive = false;
    bool ScaleCrossActive = false;
    std::array<std::int32_t, 2> CrossX{};
    std::array<std::int32_t, 2> CrossY{};
    std::array<std::int32_t, 2> ScaleX{};
    std::array<std::int32_t, 2> ScaleY{};
    std::int32_t StepOffset = 0;

    // Units.
    int UnitsCode = 0;
    double PixelsPerUnit = 1;
    // Pixels per 100 mm the user set for a monitor, by its place and size ("1920x1080+0+0").
    std::vector<std::pair<std::string, double>> MonitorScales;
    // The last scale-bar length the box took (the one saved) and its text, which the box shows
    // again when a text is refused.
    double ScaleValue = 100;
    std::string LastScaleText = "100";
    // The scale-bar length the box shows, as a number: 0 while it is empty or zero (a new length
    // being typed), which no unit can be calibrated on.
    double ScaleBarLength = 0;
    // The uncertainty the box shows, percent.
    double UncertaintyPct = 0;
    // The kept calibration user units read with (Ctrl+1 to Ctrl+9), empty for none, and where
    // the green marks and scale crosshairs stood when it was brought back.
    std::string CalibrationName;
    std::string CalibrationUnit;
    std::array<std::int32_t, 7> CalibratedOn{};
    // The library's damaged lines were reported (once a run).
    bool CalibrationDamageTold = false;

    // The help texts: 0 SEM Optimization Mode, 1 Measurement Mode, 2 either mode.
    std::array<std::string, 3> HelpText;
};

}  // namespace tavrolin
