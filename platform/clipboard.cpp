#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tavik {

namespace {

QString WithLineFeeds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

QString Clipboard::text()
{
    return WithLineFeeds(QGuiApplication::clipboard()->text()).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void Clipboard::setText(const QString& text)
{
    QGuiApplication::clipboard()->setText(WithLineFeeds(text));
}

bool Clipboard::hasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace tavik
