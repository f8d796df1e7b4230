#include "platform/profile_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace tavik {
namespace {

QString expectedFile() {
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Vantra/tavik.conf"));
}

TEST(ProfileStore, Settings_LiveInVantraTavikConfUnderTheConfigHome) {
    EXPECT_EQ(ProfileStore::fileName(), expectedFile());
}

TEST(ProfileStore, WriteString_ReadsBackExactly) {
    const QString values[] = {
        QString(),
        QStringLiteral("\\"),
        QStringLiteral("\\My Documents\\"),
        QStringLiteral("買い物リスト.lst"),
        QStringLiteral("a, b"),
        QStringLiteral("  spaced  "),
        QStringLiteral("=;#[x]\"q\""),
        QStringLiteral("@Variant(x)"),
    };
    for (const QString& value : values) {
        SCOPED_TRACE(value.toStdString());
        ASSERT_TRUE(ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("Folder"), value));
        EXPECT_EQ(ProfileStore::readString(QStringLiteral("MRU"), QStringLiteral("Folder")), value);
    }
}

TEST(ProfileStore, Write_ReachesTheFileAtOnce) {
    ASSERT_TRUE(ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("FileName"), QStringLiteral("a.lst")));
    ASSERT_TRUE(ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 11));

    // Another reader of the file, as the next run of the program would be.
    QFile file(expectedFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(content.contains("[MRU]"));
    EXPECT_TRUE(content.contains("FileName=a.lst"));
    EXPECT_TRUE(content.contains("[ListView]"));
    EXPECT_TRUE(content.contains("Font=11"));
}

TEST(ProfileStore, MissingEntry_GivesTheDefault) {
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("Nowhere"), QStringLiteral("Nothing")), QString());
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("Nowhere"), QStringLiteral("Nothing"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ProfileStore::readInt(QStringLiteral("Nowhere"), QStringLiteral("Nothing"), 9), 9);
}

TEST(ProfileStore, ReadInt_NumbersReadBackOthersGiveTheDefault) {
    const struct {
        QString stored;
        int expected;
    } cases[] = {
        {QStringLiteral("15"), 15},
        {QStringLiteral("-3"), -3},
        {QStringLiteral("0"), 0},
        {QStringLiteral("abc"), 9},
        {QStringLiteral("12abc"), 9},
        {QStringLiteral(""), 9},
        {QStringLiteral("99999999999"), 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        ProfileStore::writeString(QStringLiteral("ListView"), QStringLiteral("Font"), c.stored);
        EXPECT_EQ(ProfileStore::readInt(QStringLiteral("ListView"), QStringLiteral("Font"), 9), c.expected);
    }
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), -7);
    EXPECT_EQ(ProfileStore::readInt(QStringLiteral("ListView"), QStringLiteral("Font"), 9), -7);
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("ListView"), QStringLiteral("Font")), QStringLiteral("-7"));
}

TEST(ProfileStore, ValuesWrittenBySomeoneElse_AreSeen) {
    // The file changed behind the program's back (another copy of it, or the user).
    {
        QSettings other(expectedFile(), QSettings::IniFormat);
        other.setValue(QStringLiteral("MRU/Folder"), QStringLiteral("\\Other"));
    }
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("MRU"), QStringLiteral("Folder")), QStringLiteral("\\Other"));

    QFile file(expectedFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\n[Typed]\nFolder=a, b\nFont= 12\n");
    file.close();
    EXPECT_EQ(ProfileStore::readString(QStringLiteral("Typed"), QStringLiteral("Folder")), QStringLiteral("a, b"));
    EXPECT_EQ(ProfileStore::readInt(QStringLiteral("Typed"), QStringLiteral("Font"), 9), 12);
}

}  // namespace
}  // namespace tavik
