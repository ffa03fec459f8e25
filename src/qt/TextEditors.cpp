// The text editors behind the model's text boxes: a QLineEdit or a QPlainTextEdit.
#include "qt/TextEditors.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

namespace tavrolin::qt {

QString ToDisplay(const std::string& text, bool multiLine) {
    QString s = QString::fromStdString(text);
    if (multiLine) s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string FromDisplay(const QString& text, bool multiLine) {
    if (!multiLine) return text.toStdString();
    QString s = text;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s.toStdString();
}

int ToModelOffset(const QString& display, int index, bool multiLine) {
    return static_cast<int>(FromDisplay(display.left(index), multiLine).size());
}

int ToDisplayIndex(const std::string& model, int offset, bool multiLine) {
    offset = std::clamp(offset, 0, static_cast<int>(model.size()));
    return static_cast<int>(ToDisplay(model.substr(0, static_cast<std::size_t>(offset)), multiLine).size());
}

QString DisplayedText(const QWidget* w) {
    if (auto* line = qobject_cast<const QLineEdit*>(w)) return line->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return plain->toPlainText();
    return {};
}

std::pair<int, int> DisplayedSelection(const QWidget* w) {
    if (auto* line = qobject_cast<const QLineEdit*>(w)) {
        if (line->hasSelectedText()) {
            return {line->selectionStart(), static_cast<int>(line->selectedText().size())};
        }
        return {line->cursorPosition(), 0};
    }
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) {
        const QTextCursor c = plain->textCursor();
        return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
    }
    return {0, 0};
}

void ShowSelection(QWidget* w, int start, int length) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (length > 0) {
            line->setSelection(start, length);
        } else {
            line->setCursorPosition(start);
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        QTextCursor c = plain->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        plain->setTextCursor(c);
    }
}

bool IsEditingShortcut(const QKeyEvent& e) {
    for (const QKeySequence::StandardKey key :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Deselect}) {
        if (e.matches(key)) return true;
    }
    return false;
}

}  // namespace tavrolin::qt
