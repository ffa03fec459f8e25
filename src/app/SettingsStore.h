// Moving the settings between the settings file and the running program: the file (or the
// defaults of a first start) taken in when the ruler loads, the present state written when it
// unloads. The file's bytes are settings/ConfigFile's; where they are kept safe is the platform's.
#pragma once

#include "settings/Settings.h"

namespace tavrolin {

class Program;

// At the ruler's load: the text kept while the ruler rebuilt itself, else the settings file
// where there is one, else the defaults of a first start. The control window's mode, lock,
// orientation and start-minimised boxes then show what was taken in.
void LoadSettings(Program& program);
// At the ruler's unload, `ruler` being its window's rectangle: the state is kept in memory while
// the ruler rebuilds itself, otherwise written to the file unless the program leaves unsaved.
void StoreSettings(Program& program, const RulerRect& ruler);

// Reads the settings file over the values in use; one that cannot be read leaves them.
void ReadSettingsFile(Program& program);
// Writes the present state to the settings file, unless this session's changes are not saved.
void SaveSettingsFile(Program& program, const RulerRect& ruler);

}  // namespace tavrolin
