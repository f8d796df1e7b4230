#include "platform/form.h"
#include "res/resources.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>

namespace tavik {

// Windows' conversion: a horizontal unit is a quarter of the average width of "A".."Z" and
// "a".."z" (rounded), a vertical unit an eighth of the character height.
static QRect windowsPixels(const QFont& font, const res::ControlTemplate& c)
{
    const QFontMetrics fm(font);
    const double x = std::lround(fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0);
    const double y = fm.height();
    const auto px = [](int units, double base, int divisor) { return int(std::floor(units * base / divisor + 0.5)); };
    return QRect(px(c.x, x, 4), px(c.y, y, 8), px(c.width, x, 4), px(c.height, y, 8));
}

TEST(DialogBuilder, FormAndControls_GetTheirTemplatePlacesAndSizesInPixels)
{
    using enum res::ControlKind;
    static constexpr res::ControlTemplate controls[] = {
        {1, DefaultPushButton, "OK", 57, 0, 24, 10},
        {12, Static, "1/25\n3%", 37, 3, 23, 19, res::kAlignRight},
        {17, ListView, "List3", 1, 14, 119, 102, res::kReportView | res::kBorder},
    };
    static constexpr res::DialogTemplate dialog{700, "テスト", "Sans Serif", 9, 127, 117, res::kChild, controls};
    Form form(dialog);
    EXPECT_EQ(form.size(), windowsPixels(form.font(), {0, Static, "", 0, 0, 127, 117}).size());
    for (const res::ControlTemplate& control : controls)
        EXPECT_EQ(form.findControl(control.id)->geometry(), windowsPixels(form.font(), control)) << control.id;
}

}  // namespace tavik
