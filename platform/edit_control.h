#pragma once

#include <QString>

class QWidget;

namespace tavik {

// What the program asks of an edit control, single-line (QLineEdit) or multi-line
// (QPlainTextEdit), with its texts in CR LF line ends as the program keeps them.
// Every function takes either kind; on any other widget it does nothing and
// reads as empty.
class EditControl {
public:
    static QString text(const QWidget& edit);
    // Accepts CR LF or LF line ends.
    static void setText(QWidget& edit, const QString& text);

    static QString selectedText(const QWidget& edit);
    static bool hasSelection(const QWidget& edit);
    // Replaces the selection, or inserts at the caret when nothing is selected; undoable.
    static void replaceSelection(QWidget& edit, const QString& text);

    static void copy(QWidget& edit);
    static void cut(QWidget& edit);
    static void paste(QWidget& edit);
    static void undo(QWidget& edit);
    static bool canUndo(const QWidget& edit);

    // LF line ends (and the paragraph separators of a text selection) as CR LF.
    static QString toCrLf(const QString& text);
    // CR LF line ends as LF.
    static QString fromCrLf(const QString& text);
};

}  // namespace tavik
