#include "res/resources.h"

#include "app/language_setup.h"
#include "platform/form.h"
#include "platform/modal_dialog.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <set>

namespace tavik::res {
namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The characters of `text` that `font` has no glyph for: a user would see empty boxes.
QString MissingGlyphs(const QFont& font, const QString& text)
{
    QString missing;
    for (const char32_t c : text.toUcs4())
        if (c > ' ' && !QFontMetrics(font).inFontUcs4(c))
            missing += QString::fromUcs4(&c, 1);
    return missing;
}

QString MenuTexts(std::span<const MenuItem> items)
{
    QString texts;
    for (const MenuItem& item : items)
        texts += Text(item.text) + MenuTexts(item.children);
    return texts;
}

// Every window is built from its template in the fonts the program registers at start: a control
// the program binds by id is there once, every character has its glyph (the menus' too), and a
// one-line text fits the control it is shown in.
TEST(Resources, EveryWindow_HasEachControlOnce_AndShowsEveryText)
{
    LanguageSetup::installFontSubstitutions();
    for (const int id : {IDD_TAVIK_FORM, IDD_SAVE_AS, IDD_ITEM, IDD_ABOUTBOX}) {
        const DialogTemplate& dialog = *FindDialog(id);
        const std::unique_ptr<QWidget> window(
            id == IDD_TAVIK_FORM ? static_cast<QWidget*>(new Form(dialog)) : new ModalDialog(dialog));
        EXPECT_TRUE(QFontInfo(window->font()).family().startsWith(QStringLiteral("IPA"))) << id;
        QString texts = Text(dialog.caption);
        std::set<int> ids;
        for (const ControlTemplate& control : dialog.controls) {
            texts += Text(control.text);
            EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second) << id << ": " << control.id;
        }
        EXPECT_EQ(MissingGlyphs(window->font(), texts), QString()) << id;
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            const QString text = control->property("text").toString();
            const auto* label = qobject_cast<const QLabel*>(control);
            const bool wraps = text.contains('\n') || (label && label->wordWrap());
            EXPECT_TRUE(wraps || control->fontMetrics().horizontalAdvance(text) <= control->width())
                << id << " " << text.toStdString();
        }
    }
    for (int id : {IDR_MAINFRAME, IDM_LIST_POPUP, IDM_EDIT_POPUP, IDM_POPUP2})
        EXPECT_EQ(MissingGlyphs(QFont(QStringLiteral("ＭＳ Ｐゴシック")), MenuTexts(FindMenu(id)->items)), QString())
            << id;
}

// Linking tavik_res_icons alone must be enough for the icons to be found.
TEST(Resources, Icons_LoadAtTheirSizeWithTransparentCorners)
{
    const std::pair<const char*, int> icons[] = {{"128", 32}, {"128-16", 16}, {"130", 32}, {"tavik-256", 256}};
    for (const auto& [name, px] : icons) {
        const QImage icon(QStringLiteral(":/icons/%1.png").arg(name));
        EXPECT_TRUE(icon.size() == QSize(px, px) && icon.hasAlphaChannel() && qAlpha(icon.pixel(0, 0)) == 0) << name;
    }
}

}  // namespace
}  // namespace tavik::res
