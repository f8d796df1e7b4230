#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tavik {

// The program keeps its texts as UTF-16 strings; Qt's widgets take QString, which
// is UTF-16 too, so the two convert without decoding.
inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// The program's resource texts (menus, templates, strings) are UTF-8.
inline QString ResourceText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavik
