#include "platform/combo_box.h"
#include "platform/command_callbacks.h"
#include "platform/command_table.h"
#include "platform/dialog_builder.h"
#include "platform/dialog_units.h"
#include "platform/form.h"
#include "platform/owner_draw_button.h"
#include "res/resources.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tavik {
namespace {

using Kind = res::ControlKind;

constexpr res::ControlTemplate kControls[] = {
    {10, Kind::PushButton, "○", 0, 0, 20, 13, res::kTabStop},
    {1, Kind::DefaultPushButton, "OK", 57, 0, 24, 10, res::kTabStop},
    {11, Kind::OwnerDrawButton, "LNK1", 1, 105, 27, 39},
    {12, Kind::Static, "1/25\n3%", 37, 0, 23, 19, res::kAlignRight},
    {-1, Kind::Static, "A & B", 16, 1, 17, 9, res::kAlignCenter},
    {13, Kind::Icon, "", 11, 17, 20, 20, res::kNone, 99999},
    {14, Kind::Edit, "", 1, 11, 108, 12, res::kAutoHScroll | res::kBorder},
    {15, Kind::Edit, "", 102, 4, 17, 13,
     res::kMultiLine | res::kReadOnly | res::kWantReturn | res::kBorder | res::kVScroll | res::kHidden},
    {16, Kind::ComboBox, "", 60, 0, 67, 96, res::kDropDownList | res::kSort | res::kVScroll},
    {17, Kind::ListView, "List3", 0, 14, 119, 102,
     res::kReportView | res::kSingleSelection | res::kShowSelectionAlways | res::kBorder},
};

constexpr res::DialogTemplate kTemplate{700, "テスト", "Sans Serif", 9, 127, 117, res::kChild, kControls};

// Windows' conversion, worked out here from the font's metrics.
QRect expectedPixels(const QFont& font, int x, int y, int width, int height) {
    const QFontMetrics metrics(font);
    const double alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const long baseX = std::lround(alphabet / 52.0);
    const long baseY = metrics.height();
    auto px = [](long units, long base, long divisor) {
        return static_cast<int>(std::floor(static_cast<double>(units) * base / divisor + 0.5));
    };
    return QRect(px(x, baseX, 4), px(y, baseY, 8), px(width, baseX, 4), px(height, baseY, 8));
}

class DialogBuilderTest : public ::testing::Test {
protected:
    Form form{kTemplate};
};

TEST_F(DialogBuilderTest, FormAndControls_TakeTheirTemplateSizeAndPlaceInPixels) {
    EXPECT_EQ(form.font().pointSize(), 9);
    EXPECT_EQ(form.size(), expectedPixels(form.font(), 0, 0, 127, 117).size());
    for (const int id : {10, 1, 11, 12, 13, 14, 15, 17}) {
        const res::ControlTemplate& control =
            *std::find_if(std::begin(kControls), std::end(kControls), [id](const auto& c) { return c.id == id; });
        QWidget* widget = form.findControl(id);
        ASSERT_TRUE(widget) << "control " << id;
        EXPECT_EQ(widget->geometry(),
                  expectedPixels(form.font(), control.x, control.y, control.width, control.height))
            << "control " << id;
    }
    // The combo box keeps its place and width; its template height is that of the dropped list.
    QWidget* combo = form.findControl(16);
    const QRect comboRect = expectedPixels(form.font(), 60, 0, 67, 96);
    EXPECT_EQ(combo->pos(), comboRect.topLeft());
    EXPECT_EQ(combo->width(), comboRect.width());
    EXPECT_LT(combo->height(), comboRect.height());
}

TEST_F(DialogBuilderTest, EveryKindOfControl_IsCreatedWithItsIdTextAndVisibility) {
    form.show();
    struct Case {
        int id;
        const char* className;
        QString text;
        bool visible;
    };
    const Case cases[] = {
        {10, "QPushButton", "○", true},
        {1, "QPushButton", "OK", true},
        {11, "tavik::OwnerDrawButton", "LNK1", true},
        {12, "QLabel", "1/25\n3%", true},
        {13, "QLabel", "", true},
        {14, "QLineEdit", "", true},
        {15, "QPlainTextEdit", "", false},
        {16, "tavik::ComboBox", "", true},
        {17, "QTreeView", "", true},
    };
    for (const Case& c : cases) {
        QWidget* widget = form.findControl(c.id);
        ASSERT_TRUE(widget) << "control " << c.id;
        EXPECT_STREQ(widget->metaObject()->className(), c.className) << "control " << c.id;
        EXPECT_EQ(widget->objectName(), QStringLiteral("control_%1").arg(c.id));
        EXPECT_EQ(DialogBuilder::controlId(*widget), c.id);
        EXPECT_EQ(widget->isVisible(), c.visible) << "control " << c.id;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), c.text);
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.text);
        }
    }
    EXPECT_TRUE(form.findControl<QPushButton>(1)->isDefault());
    EXPECT_FALSE(form.findControl<QPushButton>(10)->isDefault());
    EXPECT_TRUE(form.findControl<QLabel>(13)->pixmap().isNull()) << "icon 99999 does not exist";
    EXPECT_TRUE(form.findControl<QLineEdit>(14)->hasFrame());
    EXPECT_TRUE(form.findControl<QPlainTextEdit>(15)->isReadOnly());
    EXPECT_EQ(form.findControl<QPlainTextEdit>(15)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(DialogBuilderTest, OverlappingControls_TheEarlierLiesAbove) {
    form.show();
    // The counter (37, 0, 23, 19) reaches down over the list (0, 14, 119, 102).
    const QPoint overlap = expectedPixels(form.font(), 45, 17, 0, 0).topLeft();
    EXPECT_EQ(form.childAt(overlap), form.findControl(12));
}

TEST_F(DialogBuilderTest, Statics_ShowPlainTextAlignedAsTheirStyleSays) {
    const auto* counter = form.findControl<QLabel>(12);
    EXPECT_EQ(counter->textFormat(), Qt::PlainText);
    EXPECT_TRUE(counter->alignment() & Qt::AlignRight);

    const QList<QLabel*> labels = form.findChildren<QLabel*>();
    const auto centred = std::find_if(labels.begin(), labels.end(),
                                      [](const QLabel* label) { return label->text() == QStringLiteral("A & B"); });
    ASSERT_NE(centred, labels.end()) << "the \"&\" stays in the text";
    EXPECT_TRUE((*centred)->alignment() & Qt::AlignHCenter);
    EXPECT_EQ((*centred)->textFormat(), Qt::PlainText);
}

TEST_F(DialogBuilderTest, OwnerDrawButton_CallsTheDrawFunctionWithItsState) {
    auto* button = form.findControl<OwnerDrawButton>(11);
    std::vector<OwnerDrawButton::DrawItem> draws;
    button->setDrawFunction([&draws](QPainter&, const OwnerDrawButton::DrawItem& item) { draws.push_back(item); });

    button->grab();
    button->setDown(true);
    button->grab();
    button->setDown(false);
    button->setEnabled(false);
    button->grab();

    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].controlId, 11);
    EXPECT_EQ(draws[0].rect, button->rect());
    EXPECT_FALSE(draws[0].pressed);
    EXPECT_FALSE(draws[0].disabled);
    EXPECT_TRUE(draws[1].pressed);
    EXPECT_TRUE(draws[2].disabled);
}

class ButtonForm : public Form {
public:
    ButtonForm() : Form(kTemplate) {}
    std::vector<int> clicked;
    void OnMark() { clicked.push_back(10); }
    void OnLink() { clicked.push_back(11); }

protected:
    const CommandMap& commandMap() const override {
        static const CommandTable<ButtonForm> table{
            {10, &ButtonForm::OnMark},
            {11, &ButtonForm::OnLink},
        };
        return table;
    }
};

TEST(FormButtons, AClick_IsACommandToTheFormsOwnTable) {
    ButtonForm buttons;
    buttons.findControl<QPushButton>(10)->click();
    buttons.findControl<QPushButton>(11)->click();
    buttons.findControl<QPushButton>(1)->click();  // no handler: nothing happens
    EXPECT_EQ(buttons.clicked, (std::vector<int>{10, 11}));
}

TEST_F(DialogBuilderTest, ListView_SelectsOneWholeRow_AndShowsItWithoutFocus) {
    auto* list = form.findControl<QTreeView>(17);
    QStandardItemModel model(3, 3);
    list->setModel(&model);

    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_FALSE(list->isHeaderHidden());
    EXPECT_NE(list->frameShape(), QFrame::NoFrame);

    list->setCurrentIndex(model.index(0, 1));
    list->setCurrentIndex(model.index(2, 0));
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    EXPECT_EQ(selected.size(), 3) << "one row, every column";
    for (const QModelIndex& index : selected)
        EXPECT_EQ(index.row(), 2);

    const QPalette& palette = list->palette();
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
              palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText),
              palette.color(QPalette::Active, QPalette::HighlightedText));
}

TEST(DialogBuilderResources, TemplateFonts_ResolveThroughTheProgramsSubstitutions) {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {"IPAPGothic", "Noto Sans CJK JP"});
    QFont::insertSubstitutions(QStringLiteral("System"), {"IPAGothic", "Noto Sans CJK JP"});
    for (const int id : {res::IDD_TAVIK_FORM, res::IDD_ITEM}) {
        const QFont font = DialogBuilder::templateFont(*res::FindDialog(id));
        EXPECT_EQ(font.pointSize(), 9);
        const QString family = QFontInfo(font).family();
        EXPECT_TRUE(family.startsWith(QStringLiteral("IPA")) || family.startsWith(QStringLiteral("Noto Sans CJK")))
            << "template " << id << " got " << family.toStdString();
    }
    QFont::removeSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"));
    QFont::removeSubstitutions(QStringLiteral("System"));
}

TEST(DialogBuilderResources, MainForm_BuildsTemplate101) {
    const res::DialogTemplate* dialog = res::FindDialog(res::IDD_TAVIK_FORM);
    ASSERT_TRUE(dialog);
    Form view(*dialog);
    view.show();

    EXPECT_EQ(view.findControl<QPushButton>(res::IDC_MARK_BUTTON)->text(), QStringLiteral("○"));
    EXPECT_EQ(view.findControl<QLabel>(res::IDC_COUNTER)->text(), QStringLiteral("1/25\n3%"));
    EXPECT_EQ(view.findControl<ComboBox>(res::IDC_FILE_COMBO)->order(), ComboBox::Order::Sorted);
    EXPECT_TRUE(view.findControl<QTreeView>(res::IDC_LIST)->isVisible());
    EXPECT_TRUE(view.findControl<QPlainTextEdit>(res::IDC_COMMENT_PANE)->isHidden());
    EXPECT_EQ(view.units().toPixels(0, 14, 119, 102), view.findControl(res::IDC_LIST)->geometry());
}

}  // namespace
}  // namespace tavik
