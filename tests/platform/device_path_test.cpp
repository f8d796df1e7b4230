#include "platform/device_path.h"

#include "tests/support/temporary_device_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {
namespace {

class DevicePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_root.writeFile(QStringLiteral("My Documents/List.LST"), "x");
        m_root.makeFolder(QStringLiteral("My Documents/sub"));
        m_root.writeFile(QStringLiteral("Data/f.txt"), "upper");
        m_root.writeFile(QStringLiteral("data/f.txt"), "lower");
        m_root.writeFile(QStringLiteral("Äpfel/Σίσυφος.txt"), "x");
        m_root.writeFile(QStringLiteral("back\\slash.lst"), "x");
        m_root.writeFile(QStringLiteral(".hidden/h.lst"), "x");
    }
    void TearDown() override { DevicePath::setBundledProgramFiles(QString()); }

    // The expected host path for a root-relative host path, or nothing.
    std::optional<QString> host(const char* relative) const { return m_root.hostPath(QString::fromUtf8(relative)); }

    TemporaryDeviceRoot m_root;
};

TEST_F(DevicePathTest, ToHost_FindsPartsExactlyOrIgnoringCase) {
    const struct {
        const char* device;
        std::optional<QString> expected;
    } cases[] = {
        {"", host("")},
        {"\\", host("")},
        {"\\My Documents\\List.LST", host("My Documents/List.LST")},
        {"\\MY DOCUMENTS\\list.lst", host("My Documents/List.LST")},
        {"My Documents\\List.LST", host("My Documents/List.LST")},
        {"\\\\My Documents\\\\\\List.LST", host("My Documents/List.LST")},
        {"\\My Documents\\sub\\", host("My Documents/sub")},
        {"\\data\\F.TXT", host("data/f.txt")},   // the exact folder wins over "Data"
        {"\\Data\\f.txt", host("Data/f.txt")},
        {"\\äPFEL\\ΣΊΣΥΦΟΣ.TXT", host("Äpfel/Σίσυφος.txt")},
        {"\\.hidden\\H.LST", host(".hidden/h.lst")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(DevicePath::toHost(QString::fromUtf8(c.device)), c.expected);
    }
}

TEST_F(DevicePathTest, ToHost_NewNameInAnExistingFolder_GivesWhereItWouldBe) {
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\my documents\\new.lst")), host("My Documents/new.lst"));
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\brand new.lst")), host("brand new.lst"));
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Missing\\new.lst")), std::nullopt);
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\My Documents\\List.LST\\inside")), std::nullopt);
}

TEST_F(DevicePathTest, ToHost_RefusesDotPartsAndHostSeparators) {
    const char* refused[] = {
        "\\.",
        "\\..",
        "\\My Documents\\.\\List.LST",
        "\\My Documents\\..\\My Documents\\List.LST",
        "\\My Documents\\..",
        "\\..\\..\\etc\\passwd",
        "\\My Documents/List.LST",
        "\\../x.lst",
        "\\My Documents\\a/../../x.lst",
    };
    for (const char* device : refused) {
        SCOPED_TRACE(device);
        EXPECT_EQ(DevicePath::toHost(QString::fromUtf8(device)), std::nullopt);
    }
}

TEST_F(DevicePathTest, ToHost_NamesHoldingBackslashCannotBeReached) {
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\back\\slash.lst")), std::nullopt);
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\BACK\\SLASH.LST")), std::nullopt);
}

TEST_F(DevicePathTest, ProgramFiles_MissingUnderTheRoot_ComeFromTheBundledFolder) {
    QTemporaryDir bundled;
    ASSERT_TRUE(bundled.isValid());
    ASSERT_TRUE(QDir().mkpath(bundled.filePath(QStringLiteral("VELUN-SPEECH"))));
    QFile(bundled.filePath(QStringLiteral("VELUN-SPEECH/ReadOut.exe"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QDir().mkpath(bundled.filePath(QStringLiteral("Vantra"))));
    QFile(bundled.filePath(QStringLiteral("Vantra/Drawbo.exe"))).open(QIODevice::WriteOnly);
    m_root.writeFile(QStringLiteral("Program Files/Vantra/Drawbo.exe"), "own copy");
    DevicePath::setBundledProgramFiles(bundled.path());

    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Program Files\\VELUN-SPEECH\\ReadOut.exe")),
              bundled.filePath(QStringLiteral("VELUN-SPEECH/ReadOut.exe")));
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\PROGRAM FILES\\velun-speech\\READOUT.EXE")),
              bundled.filePath(QStringLiteral("VELUN-SPEECH/ReadOut.exe")));
    // What the device holds itself comes first.
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Program Files\\Vantra\\Drawbo.exe")),
              host("Program Files/Vantra/Drawbo.exe"));
    // Only under "\Program Files", and never a place for new files.
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\VELUN-SPEECH\\ReadOut.exe")), std::nullopt);
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Program Files\\VELUN-SPEECH\\new.txt")), std::nullopt);

    DevicePath::setBundledProgramFiles(QString());
    EXPECT_EQ(DevicePath::toHost(QStringLiteral("\\Program Files\\VELUN-SPEECH\\ReadOut.exe")), std::nullopt);
}

TEST_F(DevicePathTest, DefaultBundledFolder_BesideTheProgramElseUnderTheInstallPrefix) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(DevicePath::defaultBundledProgramFiles(bin), prefix.filePath(QStringLiteral("lib/tavik/Program Files")));

    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/Program Files")));
    EXPECT_EQ(DevicePath::defaultBundledProgramFiles(bin), bin + QStringLiteral("/Program Files"));
}

TEST_F(DevicePathTest, FromHost_GivesDevicePathsOnlyForReachableEntries) {
    QTemporaryDir bundled;
    DevicePath::setBundledProgramFiles(bundled.path());

    EXPECT_EQ(DevicePath::fromHost(m_root.hostPath(QStringLiteral("My Documents/List.LST"))),
              QStringLiteral("\\My Documents\\List.LST"));
    EXPECT_EQ(DevicePath::fromHost(m_root.hostPath()), QString());
    EXPECT_EQ(DevicePath::fromHost(bundled.filePath(QStringLiteral("Vantra/Drawbo.exe"))),
              QStringLiteral("\\Program Files\\Vantra\\Drawbo.exe"));
    EXPECT_EQ(DevicePath::fromHost(m_root.hostPath(QStringLiteral("back\\slash.lst"))), std::nullopt);
    EXPECT_EQ(DevicePath::fromHost(QStringLiteral("/etc/passwd")), std::nullopt);
    EXPECT_EQ(DevicePath::fromHost(m_root.hostPath(QStringLiteral("../elsewhere.lst"))), std::nullopt);
}

}  // namespace
}  // namespace tavik
