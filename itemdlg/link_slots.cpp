#include "itemdlg/link_slots.h"

#include <QStringList>

namespace tavik {

namespace {

bool IsLinkLine(const QString& lowerCaseLine)
{
    static const QStringList markers{QStringLiteral("\\my documents\\"), QStringLiteral("\\windows\\"),
        QStringLiteral("\\program files\\"), QStringLiteral("http://")};
    for (const QString& marker : markers) {
        if (lowerCaseLine.contains(marker))
            return true;
    }
    return false;
}

}  // namespace

QString SanitizeText(const QString& text)
{
    QString cleaned = text;
    for (QChar& c : cleaned) {
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return cleaned.trimmed();
}

LinkSlots LinkSlots::find(const QString& comment)
{
    LinkSlots found;
    int filled = 0;
    for (const QString& line : comment.split(QLatin1Char('\n'), Qt::KeepEmptyParts)) {
        if (filled == kCount)
            break;
        const QString cleaned = SanitizeText(line);
        // Case only decides whether the line is a link: the name is kept as written, so
        // that it opens the very file the user wrote rather than a twin differing in case.
        if (!IsLinkLine(cleaned.toLower()))
            continue;
        const qsizetype lastBackslash = cleaned.lastIndexOf(QLatin1Char('\\'));
        found.labels[filled] = lastBackslash > 0 ? cleaned.mid(lastBackslash + 1) : cleaned;
        found.paths[filled] = cleaned;
        ++filled;
    }
    return found;
}

}  // namespace tavik
