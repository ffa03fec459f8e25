#include "app/Startup.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/Instance.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// The ruler and the control window, if saved wholly beyond every monitor of today's desktop (a
// monitor since unplugged, a file from another machine), come onto the nearest.
void BringOntoMonitors(Program& p) {
    auto& g = p.g();
    MainWindow& control = p.mainWindow();
    std::vector<ScreenRect> monitors = p.backend().screen().Monitors;
    if (monitors.empty()) {
        monitors.push_back({0, 0, static_cast<double>(g.VirtualScreenWidth),
                            static_cast<double>(g.VirtualScreenHeight)});
    }
    // The ruler with the grip and the read-out beside it: none of them is left off the edge.
    Ruler& ruler = p.ruler();
    double left = ruler.Left(), top = ruler.Top();
    double right = left + ruler.Width(), bottom = top + ruler.Height();
    for (const Form* f : {static_cast<const Form*>(&p.wexoIcon()),
                          static_cast<const Form*>(&p.distanceWindow())}) {
        left = std::min(left, f->Left());
        top = std::min(top, f->Top());
        right = std::max(right, f->Left() + f->Width());
        bottom = std::max(bottom, f->Top() + f->Height());
    }
    const auto [groupLeft, groupTop] =
        OntoNearestMonitor({left, top, right - left, bottom - top}, monitors);
    if (groupLeft != left || groupTop != top) {
        ruler.MoveWithDocked(RoundHalfEven(groupLeft - left), RoundHalfEven(groupTop - top));
        p.wexoIcon().Shift();
        p.distanceWindow().Shift();
    }
    // The saved place, which a window minimised at start comes back to.
    const double savedLeft = g.ControlLeft, savedTop = g.ControlTop;
    const auto [controlLeft, controlTop] =
        OntoNearestMonitor({savedLeft, savedTop, control.Width(), control.Height()}, monitors);
    if (controlLeft == savedLeft && controlTop == savedTop) return;
    g.ControlLeft = RoundHalfEven(controlLeft);
    g.ControlTop = RoundHalfEven(controlTop);
    if (control.GetWindowState() != WindowState::Minimized) control.Move(g.ControlLeft, g.ControlTop);
}

}  // namespace

void ClaimInstanceAndLock(Program& p) {
    auto& g = p.g();
    Platform& platform = p.platform();
    const InstanceFiles files =
        ClaimInstance(platform, SettingsFolder(platform), CleanArgument(p.CommandLine()));
    g.ConfigBaseName = files.configBaseName;
    g.ConfigPath = files.configPath;
    g.LockPath = files.lockPath;
    g.LockHeld = files.lockHeld;
    g.ConfigReadPath = SettingsToRead(platform, g.ConfigPath, g.ConfigBaseName);
    g.NotSavedReason = g.ConfigPath.empty() ? std::string() : WhyNotSaved(platform.Inspect(g.ConfigPath));
    if (g.NotSavedReason.empty()) g.NotSavedReason = files.notSaved;
    if (!g.NotSavedReason.empty()) {
        std::cerr << "tavrolin: "
                  << (g.ConfigPath.empty() ? g.ConfigBaseName + ".cfg" : g.ConfigPath)
                  << " will not be saved, as " << g.NotSavedReason
                  << ": this session's changes are kept only while it runs\n";
    }
}

void BringUpWindows(Program& p) {
    auto& g = p.g();
    p.wexoIcon().Load();
    p.distanceWindow().Load();
    p.ruler().Load();
    for (Form* f : p.MeasurementWindows()) {
        f->Load();
        f->Show();
        f->Hide();
    }

    BringOntoMonitors(p);
    p.ruler().Show();
    p.wexoIcon().Show();
    p.distanceWindow().Show();

    // Read only now: the ruler's load has taken the mode from the settings file.
    if (g.MeasurementModeOn) {
        p.distanceWindow().SetVisible(true);
        p.crossDistance().SetVisible(false);
        p.cross1().SetVisible(true);
        p.cross0().SetVisible(true);
        if (g.MeasUnitsIndex == 4) {
            p.scale1().SetVisible(true);
            p.scale0().SetVisible(true);
        }
    } else {
        p.distanceWindow().SetVisible(false);
        for (Form* f : p.MeasurementWindows()) f->SetVisible(false);
    }
}

void TakeDownWindows(Program& p) {
    p.UnloadLoupe();
    p.UnloadMeasurements();
    for (Form* f : p.MeasurementWindows()) {
        if (f->Loaded()) p.Unload(*f);
    }
    for (Form* f : {static_cast<Form*>(&p.wexoIcon()), static_cast<Form*>(&p.distanceWindow()),
                    static_cast<Form*>(&p.ruler())}) {
        if (f->Loaded()) p.Unload(*f);
    }
    ReleaseInstanceLock(p);
}

void ReleaseInstanceLock(Program& p) {
    auto& g = p.g();
    ReleaseInstance(p.platform(), {g.ConfigBaseName, g.ConfigPath, g.LockPath, g.LockHeld, {}});
    g.LockHeld = false;
}

}  // namespace tavrolin
