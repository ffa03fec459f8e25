// The loupe: a small window beside the active crosshair that shows the screen's pixels around
// the crosshair's centre magnified. It follows the crosshair moved or focused last, refreshes a
// few times a second while nothing moves, and never takes the keyboard focus.
#pragma once

#include <optional>
#include <vector>

#include "crosshair/Crosshair.h"
#include "crosshair/EdgeWalk.h"
#include "forms/Form.h"

namespace tavrolin {

class Program;

// How often the loupe reads the screen again while nothing moves, milliseconds.
inline constexpr int kLoupeRefreshMs = 250;
// Pixels between the crosshair's window and the loupe, each way.
inline constexpr int kLoupeGap = 8;
// The caption line under the picture, pixels.
inline constexpr int kLoupeCaptionHeight = 20;

// Where the loupe's top-left corner goes, desktop pixels: `offset` from the crosshair's centre
// (the user's choice, else beside its lower right corner), moved where it would cover the
// crosshair (`reach` pixels round its centre) or the row or column through its centre to the
// nearer side, and mirrored to the other side of the centre where it would leave the monitor
// under the centre while the other side keeps it on.
[[nodiscard]] PixelPoint LoupePlace(PixelPoint centre, int reach, int width, int height,
                                    std::optional<PixelPoint> offset,
                                    const std::vector<PixelBounds>& monitors);

class LoupeWindow : public Form {
public:
    explicit LoupeWindow(Program& program);

    void Form_Load() override;
    void Form_Unload() override;
    void Form_MouseDown(int button, int shift, double x, double y) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_MouseUp(int button, int shift, double x, double y) override;
    void Form_MouseWheel(int delta, int shift) override;
    void Form_KeyPress(int& keyAscii) override;

    // The crosshair the loupe shows from now on; it is shown, placed beside it and repainted.
    void Follow(const Crosshair& crosshair);
    // Shows, places and repaints the loupe as the switch and the crosshairs now are, or hides
    // it; hidden, it reads no pixels.
    void Update();
    // Zooms in (`steps` above 0) or out, within kLoupeZoomMin..kLoupeZoomMax, and repaints.
    void Zoom(int steps);
    // Reads the screen no more (the display has gone).
    void StopRefreshing();

    Picture& View;
    Label& Info;

private:
    Crosshair* Target();
    void Place(PixelPoint centre, const Form& crosshair);
    void Repaint(PixelPoint centre);

    Program& p_;
    Crosshair::Kind kind_ = Crosshair::Kind::Cross;
    int index_ = 0;
    bool chosen_ = false;
    int timer_ = 0;
    bool dragging_ = false;
    double pressX_ = 0, pressY_ = 0;
    int wheelRest_ = 0;  // a wheel's turn short of a notch
    // Where the user put the loupe, from the crosshair's centre; none until dragged.
    std::optional<PixelPoint> offset_;
};

// The loupe switch of the measurement panel and of the L key: shapes the active crosshairs
// with an open centre and shows the loupe, or takes both back.
void SetLoupe(Program& program, bool on);
// A crosshair moved or took the focus: the loupe, when it is on, shows it from now on.
void LoupeFollows(Program& program, const Crosshair& crosshair);

}  // namespace tavrolin
