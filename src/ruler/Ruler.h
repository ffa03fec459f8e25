// The ruler window: tick lines laid on a plain coloured window, the four markers of Measurement
// Mode; the settings are taken in at its load and stored at its unload (app/SettingsStore).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "settings/Settings.h"

namespace tavrolin {

class Program;

// Ticks on each side of the centre that a ruler `length` twips long is built with at `spacing`:
// those that fill half its length, and four more so that it can grow a little before rebuilding.
int HalfTicksFor(double length, std::int32_t spacing);
// The spacing at which a ruler `length` twips long is built with `halfTicks` ticks on each side,
// or with the nearest count it can have: the spacing stays between `minSpacing` and the widest a
// drag of the ticks allows, half the length less 100 twips.
std::int32_t SpacingForHalfTicks(int halfTicks, double length, std::int32_t minSpacing);

class Ruler : public Form {
public:
    explicit Ruler(Program& program);

    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void Form_MouseDown(int button, int shift, double x, double y) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_MouseUp(int button, int shift, double x, double y) override;
    void Form_DblClick() override;
    void Form_KeyDown(int& keyCode, int& shift) override;

    // Lays out every tick from the window size, spacing, lengths, widths and colours.
    void ReDrawTicks();
    // Shows the ticks (SEM Optimization Mode) or the markers (Measurement Mode).
    void ShowTicks(bool measMode);
    // Places a marker, snapping `pos` to a whole pixel and writing the snapped value back.
    void SetMarker(int markId, std::int32_t& pos, bool resetCross);
    void GetMarker(int markId, std::int32_t& pos);
    // Chooses marker colours that stand out on the background.
    void SetMarkerColors();
    // "From" reads the configuration file into the settings; anything else writes it.
    void ValuesToFile(const std::string& direction);
    // Lays the ruler out across the other way when `horizontal` is not the way it lies: it keeps
    // the length and thickness it has now, within the screen, the grip and the marker read-out
    // follow it, and the settings' orientation becomes the one asked for.
    void TurnTo(bool horizontal);
    // Moves the window by whole twips.
    void Step(std::int32_t& dx, std::int32_t& dy);
    void GetKey(int& keyCode, int& shift);

    // Tick lines, 0 to LastTick, made at load.
    std::vector<Line*> Tick;
    std::array<Line*, 2> Line1{};       // full-thickness measurement marker lines
    std::array<Line*, 2> Line2{};       // short measurement marks
    std::array<Line*, 2> ScaleLine1{};  // full-thickness scale marker lines
    std::array<Line*, 2> ScaleLine2{};  // short scale marks

    // Marker colours that the keyboard flash restores.
    std::int32_t MarkerColor = 0;
    std::int32_t ScaleMarkerColor = 0;

    // Mouse state of the last press.
    std::int32_t StartX = 0;
    std::int32_t StartY = 0;
    int GrabTick = -999;
    int GrabMarker = -999;
    int SelMarker = 0;
    bool KeyUsed = false;

    // The tick class of tick i: 1 center, 2 primary, 3 secondary, 4 other.
    int TickClass(int i) const;

    // The first tick (lowest index) whose line lies under the pointer, or -999.
    int HitTick(double x, double y) const;
    // The marker a press at (x, y) takes: 0, 1 measurement, 2, 3 scale, or -999.
    int HitMarker(double x, double y) const;
    // The pointer shape a hover at (x, y) shows.
    int HoverPointer(double x, double y) const;
    // True when presses and drags are ignored: "Lock" checked in SEM Optimization Mode.
    bool Locked() const;
    // Rebuilds the ruler (after the running handler) when its ticks no longer fill it.
    void CheckTickSupply();
    // Moves the ruler and everything docked on it, then re-places the grip and the read-out.
    void MoveWithDocked(std::int32_t dx, std::int32_t dy);
    // The window's extent along the ticks, twips.
    double Length() const { return Horizontal() ? Width() : Height(); }

private:
    bool MeasModeOn() const;
    int SizingPointer() const;
    void FlashMarker(int marker);
    void RepaintMarkerLines(bool scale);
    bool Horizontal() const;
    double Thickness() const { return Horizontal() ? Height() : Width(); }
    void CreateTicks();
    // The window's rectangle as the settings file keeps it.
    RulerRect Placement() const;
    void PlaceMarkerLines(int markId, double pos);

    Program& p_;
};

}  // namespace tavrolin
