// The control window's texts: the version line of the about page, the help texts of the two
// modes and of both, and the about text.
#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "control/MainWindow.h"

namespace tavrolin {

namespace {

// Pieces of a help text, each ending in a line feed; an empty piece is the blank line between
// paragraphs.
std::string Join(std::initializer_list<const char*> pieces) {
    std::string text;
    for (const char* piece : pieces) {
        text += piece;
        text += '\n';
    }
    return text;
}

}  // namespace

std::string MainWindow::VersionCaption(int major, int minor, int revision) {
    char text[64];
    std::snprintf(text, sizeof text, "Tavrolin.exe v%d.%d.%03d", major, minor, revision);
    return text;
}

std::array<std::string, 3> MainWindow::HelpTexts() {
    return {
        Join({"For SEM Optimization Mode:", "",
              "Use the Ruler as a guide when adjusting Focus, X Stig, and ",
              "Y Stig to get equally degraded images ",
              "at equal distances on each side of center.", "", "Drag Ruler Background to move",
              "or Right Click to hide control window.", "", "Drag Green 'W' to change size. ",
              "Drag any Tick Mark to change scale.", "", "Double Click on Background or any ",
              "Tick Mark to change color.", "", "Click Ruler and hit Esc to exit without",
              " saving any changes."}),
        Join({"For Measurement Mode:  ", "",
              "Position ruler Markers to get the Horizontal/Vertical distance in the ",
              "selected units or move Crosshairs to measure ", "along arbitrary angles.", "",
              "For User-Units, position Green ",
              "Markers on a known feature (scale bar) and enter the distance.", "",
              "Use Shift && Arrow Keys to fine tune the position of the marks ",
              "or Space to toggle between Horizontal/Vertical.", "",
              "Drag Ruler Background to move.", "Drag Green 'W' to change length. ",
              "Right Click to hide control window.", "", "Double Click to change color."}),
        Join({"For Either Mode:  ", "",
              "Launch with no command line argument to use an existing Tavrolin.cfg ",
              "file or to create one with default values.", "",
              "Use a shortcut to Tavrolin.exe with a command line argument 'ABCD' (up to 4 "
              "chars) to ",
              "use or create TavrolinABCD.cfg.", "",
              "If run multiple times, each additional instance will use ",
              "or create TavrolinX.cfg where X is an integer starting ",
              "with one and incrementing for each instance.", "",
              "The config file in use is displayed on the Settings page."}),
    };
}

std::string MainWindow::AboutText() {
    return Join({"Two modes are available:", "",
                 "Measurement Mode: Allows features on the screen to be ",
                 "measured.  The User-Units option is especially useful ",
                 "when measuring features on an image with a scale bar, since ",
                 "this mode can easily be calibrated to the scale bar.", "",
                 "SEM Optimization Mode: Displays a ruler with user-adjustable ",
                 "tick marks which can be used to systematically optimize the ",
                 "Focus, X Stig, and Y Stig of many mouse-controlled microscopes."});
}

}  // namespace tavrolin
