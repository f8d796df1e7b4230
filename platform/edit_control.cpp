#include "platform/edit_control.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace tavik {

QString EditControl::text(const QWidget& edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(&edit))
        return line->text();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&edit))
        return toCrLf(plain->toPlainText());
    return {};
}

void EditControl::setText(QWidget& edit, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(&edit))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&edit))
        plain->setPlainText(fromCrLf(text));
}

QString EditControl::selectedText(const QWidget& edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(&edit))
        return line->selectedText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&edit))
        return toCrLf(plain->textCursor().selectedText());
    return {};
}

bool EditControl::hasSelection(const QWidget& edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(&edit))
        return line->hasSelectedText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&edit))
        return plain->textCursor().hasSelection();
    return false;
}

void EditControl::replaceSelection(QWidget& edit, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(&edit))
        line->insert(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&edit))
        plain->insertPlainText(fromCrLf(text));
}

namespace {

// Runs the same editing action on whichever kind of edit control `edit` is.
template <class Action>
void OnEitherKind(QWidget& edit, Action action)
{
    if (auto* line = qobject_cast<QLineEdit*>(&edit))
        action(*line);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&edit))
        action(*plain);
}

}  // namespace

void EditControl::copy(QWidget& edit)
{
    OnEitherKind(edit, [](auto& control) { control.copy(); });
}

void EditControl::cut(QWidget& edit)
{
    OnEitherKind(edit, [](auto& control) { control.cut(); });
}

void EditControl::paste(QWidget& edit)
{
    OnEitherKind(edit, [](auto& control) { control.paste(); });
}

void EditControl::undo(QWidget& edit)
{
    OnEitherKind(edit, [](auto& control) { control.undo(); });
}

bool EditControl::canUndo(const QWidget& edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(&edit))
        return line->isUndoAvailable();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&edit))
        return plain->document()->isUndoAvailable();
    return false;
}

QString EditControl::toCrLf(const QString& text)
{
    QString converted;
    converted.reserve(text.size() + text.size() / 16);
    QChar previous;
    for (const QChar c : text) {
        const bool lineEnd = c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
        // A CR LF that is there already stays one.
        if (lineEnd && previous != QLatin1Char('\r'))
            converted += QLatin1String("\r\n");
        else
            converted += c;
        previous = c;
    }
    return converted;
}

QString EditControl::fromCrLf(const QString& text)
{
    QString converted = text;
    converted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return converted;
}

}  // namespace tavik
