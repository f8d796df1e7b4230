#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tavik {

QString Clipboard::text()
{
    return QGuiApplication::clipboard()->text();
}

void Clipboard::setText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

bool Clipboard::hasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace tavik
