#include "res/resources.h"

#include "app/language_setup.h"
#include "platform/form.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tavik::res {
namespace {

constexpr int kMenus[] = {IDR_MAINFRAME, IDM_LIST_POPUP, IDM_EDIT_POPUP, IDM_POPUP2};
constexpr int kDialogs[] = {IDD_ABOUTBOX, IDD_TAVIK_FORM, IDD_ITEM, IDD_SAVE_AS};

void CollectCommands(std::span<const MenuItem> items, std::vector<int>& commands, std::vector<std::string_view>& texts)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command)
            commands.push_back(item.id);
        texts.push_back(item.text);
        CollectCommands(item.children, commands, texts);
    }
}

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A menu entry, key or bar button that sends an id nobody defined would do nothing.
TEST(Resources, EveryCommandAMenuBarOrKeySends_IsANamedIdentifier)
{
    std::vector<int> commands;
    std::vector<std::string_view> texts;
    for (int id : kMenus) {
        ASSERT_NE(FindMenu(id), nullptr) << id;
        CollectCommands(FindMenu(id)->items, commands, texts);
    }
    for (int id : {IDR_MAINFRAME, IDM_LIST_POPUP}) {
        const MenuBar* bar = FindMenuBar(id);
        ASSERT_NE(bar, nullptr) << id;
        EXPECT_NE(FindMenu(bar->menuId), nullptr) << id;
        EXPECT_FALSE(LoadString(bar->labelStringId).empty()) << id;
        commands.push_back(bar->buttonCommand);
    }
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_TRUE(accelerator.key >= 'A' && accelerator.key <= 'Z') << accelerator.key;
        commands.push_back(accelerator.command);
    }
    for (int command : commands)
        EXPECT_FALSE(CommandNameOf(command).empty()) << command;

    std::set<std::string_view> names;
    for (const CommandName& entry : CommandNames())
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " names two ids";
    for (const StringEntry& entry : Strings())
        EXPECT_FALSE(entry.text.empty()) << entry.id;
}

// Every window is built from its template; a control the program binds by id must be there once.
TEST(Resources, EveryTemplate_BuildsWithEachControlIdOnce)
{
    for (int dialogId : kDialogs) {
        const DialogTemplate* dialog = FindDialog(dialogId);
        ASSERT_NE(dialog, nullptr) << dialogId;
        Form form(*dialog);
        std::set<int> ids;
        for (const ControlTemplate& control : dialog->controls) {
            if (control.id == IDC_STATIC)
                continue;
            EXPECT_TRUE(ids.insert(control.id).second) << dialogId << ": control " << control.id << " twice";
            EXPECT_NE(form.findControl(control.id), nullptr) << dialogId << ": control " << control.id;
            EXPECT_EQ(FindControl(*dialog, control.id), &control);
        }
    }
}

// Japanese texts show in the fonts the program registers at start: every character has a
// glyph there (no empty boxes), and a one-line text fits the control it is shown in.
TEST(Resources, EveryText_HasItsGlyphsAndFitsItsControlInTheProgramsFonts)
{
    LanguageSetup::installFontSubstitutions();
    const auto missingGlyphs = [](const QFont& font, const QString& text) {
        QString missing;
        const QFontMetrics metrics(font);
        for (const char32_t c : text.toUcs4())
            if (c > ' ' && !metrics.inFontUcs4(c))
                missing += QString::fromUcs4(&c, 1);
        return missing;
    };
    const QStringList japaneseFonts{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    for (int dialogId : kDialogs) {
        const DialogTemplate& dialog = *FindDialog(dialogId);
        Form form(dialog);
        EXPECT_TRUE(japaneseFonts.contains(QFontInfo(form.font()).family())) << dialogId;
        EXPECT_EQ(missingGlyphs(form.font(), Text(dialog.caption)), QString()) << dialogId;
        for (const ControlTemplate& control : dialog.controls) {
            const QString text = Text(control.text);
            EXPECT_EQ(missingGlyphs(form.font(), text), QString()) << dialogId << ": " << control.text;
        }
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            if (label->text().contains('\n') || label->wordWrap())
                continue;
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
                << dialogId << ": " << label->text().toStdString();
        }
        for (const QPushButton* button : form.findChildren<QPushButton*>())
            EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
                << dialogId << ": " << button->text().toStdString();
    }
    const QFont menuFont(QStringLiteral("ＭＳ Ｐゴシック"));
    for (int id : kMenus) {
        std::vector<int> commands;
        std::vector<std::string_view> texts;
        CollectCommands(FindMenu(id)->items, commands, texts);
        for (std::string_view text : texts)
            EXPECT_EQ(missingGlyphs(menuFont, Text(text)), QString()) << id << ": " << text;
    }
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
