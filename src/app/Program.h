// The running program: the shared values, one instance of each form (made on first use and
// afresh after an unload), and the way in and out.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/GeneralCode.h"
#include "control/MeasurementLog.h"

namespace tavrolin {

class Backend;
class Platform;
class Form;
class MainWindow;
class Ruler;
class WexoIcon;
class DistanceWindow;
class CrossDistance;
class ScaleDistance;
class Crosshair;
class PickColor;
class LoupeWindow;
class KeepDialog;
class MeasurementsWindow;

class Program {
public:
    // `commandLine` is the text after the program's name (the instance argument).
    Program(Backend& backend, Platform& platform, std::string commandLine);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Backend& backend() const { return backend_; }
    Platform& platform() const { return platform_; }
    GeneralCode& g() { return g_; }
    // The readings recorded in this session.
    MeasurementLog& log() { return log_; }
    const std::string& CommandLine() const { return commandLine_; }

    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    // Loads the control window, which brings up every other window.
    void Start();
    // True from Start until the control window has been unloaded.
    bool Running() const;
    // Ends the program as the Exit button does: every window unloads, the settings are saved,
    // the lock file goes. With `save` false the configuration file is left as it is.
    void Exit(bool save = true);
    // Saves and lets the lock go as Exit does, without a window being touched: for when the
    // display has gone. The program counts as ended afterwards.
    void EndWithoutDisplay();
    // False while an exit without saving runs.
    bool SaveOnUnload() const { return saveOnUnload_; }

    // Unloads a form; the next access makes a fresh one. Safe from inside the form's own
    // handler: the object lives until the running event has finished.
    void Unload(Form& form);
    // Unloads the ruler, loads it again and shows it, after the running handler has returned.
    void RebuildRulerLater();

    MainWindow& mainWindow();
    Ruler& ruler();
    WexoIcon& wexoIcon();
    DistanceWindow& distanceWindow();
    CrossDistance& crossDistance();
    ScaleDistance& scaleDistance();
    Crosshair& cross0();
    Crosshair& cross1();
    Crosshair& scale0();
    Crosshair& scale1();
    PickColor& pickColor();
    LoupeWindow& loupe();
    KeepDialog& keepDialog();
    MeasurementsWindow& measurements();
    // The Measurements window is loaded and shown.
    bool MeasurementsShown() const;
    void UnloadMeasurements();
    // Shows, moves or hides the loupe as the switch and the crosshairs now are; nothing is
    // made while the loupe is off and was never shown.
    void UpdateLoupe();
    void UnloadLoupe();

    // The six windows that only Measurement Mode shows, in the order they load and unload:
    // the measurement read-out and its crosshairs, then the scale bar's.
    std::array<Form*, 6> MeasurementWindows();

private:
    template <class T>
    struct Slot {
        std::unique_ptr<T> form;
    };
    template <class T, class... Args>
    T& Get(Slot<T>& slot, Args&&... args);
    template <class T>
    void Retire(Slot<T>& slot, Form& form);

    Backend& backend_;
    Platform& platform_;
    std::string commandLine_;
    GeneralCode g_;
    MeasurementLog log_;
    bool started_ = false;
    bool ended_ = false;
    bool saveOnUnload_ = true;
    bool rebuildPosted_ = false;

    Slot<MainWindow> mainWindow_;
    Slot<Ruler> ruler_;
    Slot<WexoIcon> wexoIcon_;
    Slot<DistanceWindow> distanceWindow_;
    Slot<CrossDistance> crossDistance_;
    Slot<ScaleDistance> scaleDistance_;
    Slot<Crosshair> cross0_, cross1_, scale0_, scale1_;
    Slot<PickColor> pickColor_;
    Slot<LoupeWindow> loupe_;
    Slot<KeepDialog> keepDialog_;
    Slot<MeasurementsWindow> measurements_;
    std::vector<std::unique_ptr<Form>> retired_;
};

}  // namespace tavrolin
