// Bringing the program up and taking it down: the instance and its lock, and the nine windows
// around the control window, each step in the order the program has always taken it.
#pragma once

namespace tavrolin {

class Program;

// Claims the instance's settings file and its lock, and says on standard error when this
// session's changes cannot be saved.
void ClaimInstanceAndLock(Program& p);

// Loads the ruler with its grip and read-out and the measurement windows, brings them and the
// control window onto today's monitors, and shows those the mode set by the settings calls for.
void BringUpWindows(Program& p);

// Unloads every window but the control window, then lets the lock go.
void TakeDownWindows(Program& p);

// Lets the instance's lock go; safe to call twice.
void ReleaseInstanceLock(Program& p);

}  // namespace tavrolin
