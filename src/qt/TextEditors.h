// What the editors behind the model's text boxes hold, in the model's terms: a QLineEdit for a
// single-line box, a QPlainTextEdit for a multi-line one.
#pragma once

#include <QString>
#include <string>
#include <utility>

class QKeyEvent;
class QWidget;

namespace tavrolin::qt {

// A text box shows line ends as the editor knows them; the model keeps CR LF.
QString ToDisplay(const std::string& text, bool multiLine);
std::string FromDisplay(const QString& text, bool multiLine);

// The model counts selections in bytes of its UTF-8 text, the editors in UTF-16 units.
int ToModelOffset(const QString& display, int index, bool multiLine);
int ToDisplayIndex(const std::string& model, int offset, bool multiLine);

// The editor's text, and its selection as (start, length) in UTF-16 units.
QString DisplayedText(const QWidget* w);
std::pair<int, int> DisplayedSelection(const QWidget* w);
// Selects `length` units from `start` (or puts the cursor there).
void ShowSelection(QWidget* w, int start, int length);

// The desktop's editing keys (select all, copy, cut, paste, undo, redo, deselect), which
// belong to the editor.
bool IsEditingShortcut(const QKeyEvent& e);

}  // namespace tavrolin::qt
