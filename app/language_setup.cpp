#include "app/language_setup.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavik {

LanguageSetup::LanguageSetup()
    : m_qtTranslator(std::make_unique<QTranslator>())
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (m_qtTranslator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(m_qtTranslator.get());
    }
    installFontSubstitutions();
}

LanguageSetup::~LanguageSetup()
{
    QCoreApplication::removeTranslator(m_qtTranslator.get());
}

void LanguageSetup::installFontSubstitutions()
{
    const QStringList proportional{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList fixed{QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    QFont::insertSubstitutions(QStringLiteral("MS ゴシック"), fixed);
    // The dialogs' "System" font is the device's Japanese system font.
    QFont::insertSubstitutions(QStringLiteral("System"), proportional);
}

}  // namespace tavik
