#include "res/resources.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

namespace tavik::res {
namespace {

// Linking tavik_res_icons alone must be enough for the icons to be found.
TEST(Icons, EachIcon_LoadsFromTheResourceAtItsSize) {
    struct Case {
        const char* path;
        int size;
    };
    const Case cases[] = {
        {":/icons/128.png", 32},
        {":/icons/128-16.png", 16},
        {":/icons/130.png", 32},
        {":/icons/tavik-256.png", 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const QImage image(QString::fromLatin1(c.path));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.size, c.size));
        EXPECT_TRUE(image.hasAlphaChannel());
        // Transparent corners: the picture is a shape, not a filled square.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(c.size - 1, c.size - 1)), 0);
    }
}

TEST(Icons, EveryIconControl_NamesAnIconThatExists) {
    int iconControls = 0;
    for (int id : {IDD_ABOUTBOX, IDD_TAVIK_FORM, IDD_ITEM, IDD_SAVE_AS}) {
        for (const ControlTemplate& control : FindDialog(id)->controls) {
            if (control.kind != ControlKind::Icon) {
                continue;
            }
            ++iconControls;
            const QString path = QStringLiteral(":/icons/%1.png").arg(control.iconId);
            EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        }
    }
    EXPECT_EQ(iconControls, 2);
}

}  // namespace
}  // namespace tavik::res
