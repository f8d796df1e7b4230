#pragma once

#include <memory>

class QTranslator;

namespace tavik {

// Makes the program Japanese throughout: Qt's own Japanese translations for the
// standard buttons and dialogs, and font substitutions so that the Windows font
// names of the dialog templates show Japanese glyphs.
class LanguageSetup {
public:
    LanguageSetup();
    ~LanguageSetup();

    // Registers the font substitutions; needed before any template is built.
    static void installFontSubstitutions();

private:
    std::unique_ptr<QTranslator> m_qtTranslator;
};

}  // namespace tavik
