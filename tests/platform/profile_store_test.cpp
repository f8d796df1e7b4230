#include "platform/profile_store.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace tavik {

TEST(ProfileStore, Values_PersistInVantraTavikConfUnderTheConfigHome)
{
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Vantra/tavik.conf");
    EXPECT_EQ(ProfileStore::fileName(), file);
    const QString folder = QStringLiteral("\\My Documents\\買い物, 2");
    ASSERT_TRUE(ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("Folder"), folder));
    ASSERT_TRUE(ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 11));

    const QSettings nextRun(file, QSettings::IniFormat);
    EXPECT_EQ(nextRun.value(QStringLiteral("MRU/Folder")).toString(), folder);
    EXPECT_EQ(nextRun.value(QStringLiteral("ListView/Font")).toInt(), 11);
    EXPECT_EQ(ProfileStore::readInt(QStringLiteral("ListView"), QStringLiteral("Font"), 9), 11);
    EXPECT_EQ(ProfileStore::readInt(QStringLiteral("MRU"), QStringLiteral("Folder"), 9), 9) << "not a number";
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("MRU"), QStringLiteral("None"), QStringLiteral("d")), "d");
}

}  // namespace tavik
