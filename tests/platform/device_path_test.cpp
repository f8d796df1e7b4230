#include "platform/device_path.h"

#include "tests/support/temporary_device_root.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavik {

TEST(DevicePath, ToHost_IgnoresCaseAndDoubledSeparators_RefusesDotPartsAndUnreachableNames)
{
    TemporaryDeviceRoot root;
    const QString list = root.writeFile(QStringLiteral("My Documents/List.LST"), "x");
    root.writeFile(QStringLiteral("back\\slash.lst"), "x");
    const std::optional<QString> none;
    const struct {
        const char* device;
        std::optional<QString> host;
    } cases[] = {
        {"\\MY DOCUMENTS\\list.lst", list},
        {"\\\\My Documents\\\\\\List.LST", list},
        {"\\my documents\\new.lst", root.hostPath(QStringLiteral("My Documents/new.lst"))},  // a file to be made
        {"\\Missing\\new.lst", none},
        {"\\My Documents\\..\\My Documents\\List.LST", none},
        {"\\My Documents\\.\\List.LST", none},
        {"\\..\\..\\etc\\passwd", none},
        {"\\My Documents/List.LST", none},
        {"\\back\\slash.lst", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DevicePath::toHost(QString::fromUtf8(c.device)), c.host) << c.device;
    EXPECT_EQ(DevicePath::fromHost(root.hostPath(QStringLiteral("back\\slash.lst"))), none);
}

// A host path (a file given on the command line) names the entry the host finds, links
// followed: the device path given for it leads back to that very entry, or there is none.
TEST(DevicePath, FromHost_NamesTheEntryTheHostFinds_ThroughLinksAndDotDot)
{
    QTemporaryDir outside;
    ASSERT_TRUE(QDir().mkpath(outside.filePath(QStringLiteral("sub"))));
    const QString away = outside.filePath(QStringLiteral("away.lst"));
    QFile awayFile(away);
    ASSERT_TRUE(awayFile.open(QIODevice::WriteOnly));
    TemporaryDeviceRoot root;
    const QString list = root.writeFile(QStringLiteral("Docs/list.lst"), "x");
    root.writeFile(QStringLiteral("Docs/away.lst"), "where the text alone would lead");
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("sub")), root.hostPath(QStringLiteral("Docs/out"))));
    ASSERT_TRUE(QFile::link(away, root.hostPath(QStringLiteral("Docs/linked.lst"))));
    ASSERT_TRUE(QFile::link(list, outside.filePath(QStringLiteral("in.lst"))));

    EXPECT_EQ(DevicePath::fromHost(root.hostPath(QStringLiteral("Docs/../Docs/list.lst"))),
        QStringLiteral("\\Docs\\list.lst"));
    EXPECT_EQ(
        DevicePath::fromHost(root.hostPath(QStringLiteral("Docs/linked.lst"))), QStringLiteral("\\Docs\\linked.lst"));
    EXPECT_EQ(DevicePath::fromHost(outside.filePath(QStringLiteral("in.lst"))), QStringLiteral("\\Docs\\list.lst"));
    // Docs/out/.. is the outside folder, not Docs, whatever the text says.
    EXPECT_EQ(DevicePath::fromHost(root.hostPath(QStringLiteral("Docs/out/../away.lst"))), std::nullopt);
    EXPECT_EQ(DevicePath::fromHost(root.hostPath()), QString());
}

TEST(DevicePath, ProgramFilesMissingUnderTheRoot_ComeFromTheBundledFolder)
{
    TemporaryDeviceRoot bundled;  // made first: the root below is the one in effect
    TemporaryDeviceRoot root;
    const QString speech = bundled.writeFile(QStringLiteral("VELUN-SPEECH/ReadOut.exe"), "");
    bundled.writeFile(QStringLiteral("Vantra/Drawbo.exe"), "");
    const QString own = root.writeFile(QStringLiteral("Program Files/Vantra/Drawbo.exe"), "own copy");
    DevicePath::setBundledProgramFiles(bundled.hostPath());

    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\PROGRAM FILES\\velun-speech\\READOUT.EXE")), speech);
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Program Files\\Vantra\\Drawbo.exe")), own);
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\VELUN-SPEECH\\ReadOut.exe")), std::nullopt);
    DevicePath::setBundledProgramFiles(QString());
}

}  // namespace tavik
