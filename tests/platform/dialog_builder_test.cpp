#include "platform/form.h"
#include "platform/resource_types.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace tavik {
namespace {

using enum ControlKind;

// IPAPGothic 9 pt, which the setup installs: "A".."Z" and "a".."z" are 369 pixels wide,
// so the average character is (369 / 26 + 1) / 2 = 7 pixels, and a character is 13
// pixels high. A horizontal dialog unit is 7/4 pixel, a vertical one 13/8, and each
// conversion rounds to the nearest pixel with halves away from zero, as Windows does.
constexpr ControlTemplate kControls[] = {
    {1, DefaultPushButton, "OK", 57, 0, 24, 10},  // 99.75, 0, 42, 16.25
    {12, Static, "1/25\n3%", 37, 3, 23, 19, kAlignRight},  // 64.75, 4.875, 40.25, 30.875
    {17, ListView, "List3", 1, 14, 119, 102, kReportView | kBorder},  // 1.75, 22.75, 208.25, 165.75
    {18, Static, "", 2, 4, 6, 12},  // halves: 3.5, 6.5, 10.5, 19.5
};
constexpr DialogTemplate kDialog{700, "テスト", "IPAPGothic", 9, 127, 117, kChild, kControls};  // 222.25 x 190.125

TEST(DialogBuilder, FormAndControls_GetTheirTemplatePlacesInPixelsOfTheTemplateFont)
{
    Form form(kDialog);
    ASSERT_EQ(QFontInfo(form.font()).family(), QStringLiteral("IPAPGothic")) << "fonts-ipafont-gothic is missing";
    ASSERT_EQ(QFontMetrics(form.font()).horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 369);
    ASSERT_EQ(QFontMetrics(form.font()).height(), 13);

    EXPECT_EQ(form.size(), QSize(222, 190));
    const std::pair<int, QRect> expected[] = {{1, QRect(100, 0, 42, 16)}, {12, QRect(65, 5, 40, 31)},
        {17, QRect(2, 23, 208, 166)}, {18, QRect(4, 7, 11, 20)}};
    for (const auto& [id, rect] : expected)
        EXPECT_EQ(form.findControl(id)->geometry(), rect) << id;
}

// The list keeps showing its selected row when another control has the focus, so the
// user still sees which item the commands will work on.
TEST(DialogBuilder, ListWithShowSelectionAlways_KeepsTheHighlightWithoutFocus)
{
    static constexpr ControlTemplate controls[] = {
        {20, ListView, "", 0, 0, 100, 60, kReportView | kSingleSelection | kShowSelectionAlways},
        {21, Edit, "", 0, 62, 100, 12},
    };
    static constexpr DialogTemplate dialog{701, "", "IPAPGothic", 9, 100, 80, kChild, controls};
    // A desktop theme that greys the selection of inactive windows, as many do.
    const QPalette original = QApplication::palette();
    QPalette themed = original;
    themed.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
    QApplication::setPalette(themed);
    Form form(dialog);
    auto* list = form.findControl<QTableView>(20);
    QStandardItemModel model(2, 1);
    model.setItem(0, 0, new QStandardItem(QString()));
    list->setModel(&model);
    form.show();
    list->setCurrentIndex(model.index(0, 0));
    form.findControl<QLineEdit>(21)->setFocus();
    // Another window in front: the list is drawn as inactive.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_FALSE(list->hasFocus());
    ASSERT_FALSE(list->isActiveWindow());

    const QImage shown = list->viewport()->grab().toImage();
    const QRect row = list->visualRect(model.index(0, 0));
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(shown.pixelColor(row.center()), highlight);
    EXPECT_NE(shown.pixelColor(list->visualRect(model.index(1, 0)).center()), highlight);
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace tavik
