#include "app/Program.h"

#include "app/Startup.h"

#include "control/KeepDialog.h"
#include "control/MainWindow.h"
#include "control/MeasurementsWindow.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/LoupeWindow.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "picker/PickColor.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"

namespace tavrolin {

Program::Program(Backend& backend, Platform& platform, std::string commandLine)
    : backend_(backend), platform_(platform), commandLine_(std::move(commandLine)) {}

Program::~Program() {
    // Forms unregister from the backend as they go; the control window last, as it started first.
    pickColor_.form.reset();
    loupe_.form.reset();
    keepDialog_.form.reset();
    measurements_.form.reset();
    scale0_.form.reset();
    scale1_.form.reset();
    cross0_.form.reset();
    cross1_.form.reset();
    scaleDistance_.form.reset();
    crossDistance_.form.reset();
    distanceWindow_.form.reset();
    wexoIcon_.form.reset();
    ruler_.form.reset();
    mainWindow_.form.reset();
    retired_.clear();
}

double Program::TwipsPerPixelX() const { return backend_.screen().TwipsPerPixelX; }
double Program::TwipsPerPixelY() const { return backend_.screen().TwipsPerPixelY; }

template <class T, class... Args>
T& Program::Get(Slot<T>& slot, Args&&... args) {
    if (!slot.form) slot.form = std::make_unique<T>(*this, std::forward<Args>(args)...);
    return *slot.form;
}

MainWindow& Program::mainWindow() { return Get(mainWindow_); }
Ruler& Program::ruler() { return Get(ruler_); }
WexoIcon& Program::wexoIcon() { return Get(wexoIcon_); }
DistanceWindow& Program::distanceWindow() { return Get(distanceWindow_); }
CrossDistance& Program::crossDistance() { return Get(crossDistance_); }
ScaleDistance& Program::scaleDistance() { return Get(scaleDistance_); }
Crosshair& Program::cross0() { return Get(cross0_, Crosshair::Kind::Cross, 0); }
Crosshair& Program::cross1() { return Get(cross1_, Crosshair::Kind::Cross, 1); }
Crosshair& Program::scale0() { return Get(scale0_, Crosshair::Kind::Scale, 0); }
Crosshair& Program::scale1() { return Get(scale1_, Crosshair::Kind::Scale, 1); }
PickColor& Program::pickColor() { return Get(pickColor_); }
LoupeWindow& Program::loupe() { return Get(loupe_); }
KeepDialog& Program::keepDialog() { return Get(keepDialog_); }
MeasurementsWindow& Program::measurements() { return Get(measurements_); }
void Program::UnloadMeasurements() {
    if (measurements_.form && measurements_.form->Loaded()) Unload(*measurements_.form);
}
bool Program::MeasurementsShown() const {
    return measurements_.form && measurements_.form->Loaded() && measurements_.form->Visible();
}

void Program::UpdateLoupe() {
    if (g_.LoupeOn == 0 && !(loupe_.form && loupe_.form->Loaded())) return;
    loupe().Update();
}

void Program::UnloadLoupe() {
    if (loupe_.form && loupe_.form->Loaded()) Unload(*loupe_.form);
}

std::array<Form*, 6> Program::MeasurementWindows() {
    return {&crossDistance(), &cross1(), &cross0(), &scaleDistance(), &scale1(), &scale0()};
}

void Program::Start() {
    if (started_) return;
    started_ = true;
    backend_.Deliver([this] { mainWindow().Show(); });
}

bool Program::Running() const {
    return started_ && !ended_ && mainWindow_.form && mainWindow_.form->Loaded();
}

void Program::EndWithoutDisplay() {
    if (!Running()) return;
    ended_ = true;
    if (loupe_.form) loupe_.form->StopRefreshing();
    if (ruler_.form && ruler_.form->Loaded()) ruler_.form->ValuesToFile("To");
    ReleaseInstanceLock(*this);
}

void Program::Exit(bool save) {
    if (!Running()) return;
    saveOnUnload_ = save;
    backend_.Deliver([this] { Unload(mainWindow()); });
    saveOnUnload_ = true;
}

template <class T>
void Program::Retire(Slot<T>& slot, Form& form) {
    if (slot.form.get() != &form) return;
    retired_.push_back(std::move(slot.form));
}

void Program::Unload(Form& form) {
    form.Unload();
    Retire(mainWindow_, form);
    Retire(ruler_, form);
    Retire(wexoIcon_, form);
    Retire(distanceWindow_, form);
    Retire(crossDistance_, form);
    Retire(scaleDistance_, form);
    Retire(cross0_, form);
    Retire(cross1_, form);
    Retire(scale0_, form);
    Retire(scale1_, form);
    Retire(pickColor_, form);
    Retire(loupe_, form);
    Retire(keepDialog_, form);
    Retire(measurements_, form);
    // The retired object may be the one whose handler is running: free it once that has ended.
    backend_.Post([this] { retired_.clear(); });
    if (!mainWindow_.form && started_) backend_.Quit();
}

void Program::RebuildRulerLater() {
    if (rebuildPosted_) return;
    rebuildPosted_ = true;
    backend_.Post([this] {
        rebuildPosted_ = false;
        if (!Running()) return;
        g_.RulerRebuilding = true;
        Unload(ruler());
        ruler().Show();
        g_.RulerRebuilding = false;
    });
}

}  // namespace tavrolin
