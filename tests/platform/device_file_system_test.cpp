#include "platform/device_file_system.h"

#include "tests/support/temporary_device_root.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tavik {
namespace {

QStringList names(const DirectoryListing& listing) {
    QStringList result;
    for (const DirectoryEntry& entry : listing.entries)
        result.append(entry.isFolder ? QLatin1Char('[') + entry.name + QLatin1Char(']') : entry.name);
    return result;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

class DeviceFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }
    TemporaryDeviceRoot m_root;
};

TEST(DeviceFileSystemPattern, MatchesWildcardsIgnoringCase) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"a.lst", "*.lst", true},         {"B.LST", "*.lst", true},       {"c.Lst", "*.lst", true},
        {".lst", "*.lst", true},          {"a.lst.bak", "*.lst", false},  {"a.lstx", "*.lst", false},
        {"lst", "*.lst", false},          {"メモ.TXT", "*.txt", true},    {"noext", "*.*", true},
        {"noext", "*", true},             {"abc", "a?c", true},           {"ac", "a?c", false},
        {"ÄRGER.txt", "ärger.*", true},   {"a.b.c", "*.*.*", true},       {"aXbXc", "a*b*c", true},
        {"aXbX", "a*b*c", false},         {"", "*", true},                {"x", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(DeviceFileSystem::matchesPattern(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)),
                  c.matches);
    }
}

TEST_F(DeviceFileSystemTest, List_GivesMatchingNamesAndFoldersSortedIgnoringCase) {
    for (const char* file : {"b.lst", "A.LST", "c.txt", "d.doc", ".hidden.lst", "back\\slash.lst"})
        m_root.writeFile(QStringLiteral("My Documents/") + QString::fromUtf8(file), "x");
    m_root.makeFolder(QStringLiteral("My Documents/x.lst"));
    m_root.makeFolder(QStringLiteral("My Documents/Sub"));
    m_root.makeFolder(QStringLiteral("My Documents/.git"));

    EXPECT_EQ(names(DeviceFileSystem::list(QStringLiteral("\\My Documents"), QStringLiteral("*.lst"))),
              QStringList({"A.LST", "b.lst", "[x.lst]"}));
    EXPECT_EQ(names(DeviceFileSystem::list(QStringLiteral("\\my documents\\"), QStringLiteral("*.*"))),
              QStringList({"A.LST", "b.lst", "c.txt", "d.doc", "[Sub]", "[x.lst]"}));
}

TEST_F(DeviceFileSystemTest, List_RootByEmptyPathOrBackslash) {
    m_root.writeFile(QStringLiteral("top.lst"), "x");
    const QStringList expected{"top.lst"};
    EXPECT_EQ(names(DeviceFileSystem::list(QString(), QStringLiteral("*.lst"))), expected);
    EXPECT_EQ(names(DeviceFileSystem::list(QStringLiteral("\\"), QStringLiteral("*.lst"))), expected);
}

TEST_F(DeviceFileSystemTest, List_MissingOrUnreadableFolder_GivesNothingWithAReason) {
    m_root.writeFile(QStringLiteral("file.lst"), "x");
    for (const char* folder : {"\\Gone", "\\file.lst", "\\..", "\\a/b"}) {
        SCOPED_TRACE(folder);
        const DirectoryListing listing = DeviceFileSystem::list(QString::fromUtf8(folder), QStringLiteral("*"));
        EXPECT_FALSE(listing.ok);
        EXPECT_TRUE(listing.entries.isEmpty());
        EXPECT_FALSE(listing.error.isEmpty());
    }
    if (runningAsRoot())
        return;  // root reads every folder
    const QString locked = m_root.makeFolder(QStringLiteral("Locked"));
    m_root.writeFile(QStringLiteral("Locked/a.lst"), "x");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const DirectoryListing listing = DeviceFileSystem::list(QStringLiteral("\\Locked"), QStringLiteral("*"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(listing.ok);
    EXPECT_TRUE(listing.entries.isEmpty());
    EXPECT_FALSE(listing.error.isEmpty());
}

TEST_F(DeviceFileSystemTest, Status_DescribesFilesFoldersAndMissingEntries) {
    m_root.writeFile(QStringLiteral("Docs/a.lst"), "12345");
    const FileStatus file = DeviceFileSystem::status(QStringLiteral("\\docs\\A.LST"));
    EXPECT_TRUE(file.exists);
    EXPECT_FALSE(file.isFolder);
    EXPECT_EQ(file.size, 5);
    EXPECT_EQ(file.modified, QFileInfo(m_root.hostPath(QStringLiteral("Docs/a.lst"))).lastModified());
    EXPECT_TRUE(file.writable);

    const FileStatus folder = DeviceFileSystem::status(QStringLiteral("\\Docs"));
    EXPECT_TRUE(folder.exists);
    EXPECT_TRUE(folder.isFolder);

    EXPECT_FALSE(DeviceFileSystem::status(QStringLiteral("\\Docs\\b.lst")).exists);
    EXPECT_FALSE(DeviceFileSystem::status(QStringLiteral("\\Docs\\..\\Docs\\a.lst")).exists);

    if (!runningAsRoot()) {
        QFile::setPermissions(m_root.hostPath(QStringLiteral("Docs/a.lst")), QFileDevice::ReadOwner);
        EXPECT_FALSE(DeviceFileSystem::status(QStringLiteral("\\Docs\\a.lst")).writable);
    }
}

TEST_F(DeviceFileSystemTest, ReadFile_GivesEveryByteOrTheReason) {
    const QByteArray bytes("\x82\xa0\r\n\0end", 8);
    m_root.writeFile(QStringLiteral("My Documents/a.lst"), bytes);
    const std::optional<std::string> read = DeviceFileSystem::readFile(QStringLiteral("\\MY DOCUMENTS\\a.LST"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, bytes.toStdString());

    for (const char* path : {"\\My Documents\\missing.lst", "\\My Documents", "\\My Documents\\..\\x"}) {
        SCOPED_TRACE(path);
        QString error;
        EXPECT_FALSE(DeviceFileSystem::readFile(QString::fromUtf8(path), &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(DeviceFileSystemTest, ReplaceFile_WritesTheExistingFileWhateverTheCaseOfItsName) {
    m_root.writeFile(QStringLiteral("My Documents/List.LST"), "old");
    ASSERT_TRUE(DeviceFileSystem::replaceFile(QStringLiteral("\\my documents\\list.lst"), "new content"));

    EXPECT_EQ(m_root.readFile(QStringLiteral("My Documents/List.LST")), QByteArray("new content"));
    EXPECT_FALSE(QFileInfo::exists(m_root.hostPath(QStringLiteral("My Documents/list.lst"))));
}

TEST_F(DeviceFileSystemTest, ReplaceFile_CreatesANewFileInAnExistingFolder) {
    m_root.makeFolder(QStringLiteral("My Documents"));
    ASSERT_TRUE(DeviceFileSystem::replaceFile(QStringLiteral("\\My Documents\\\\新規.lst"), "x"));
    EXPECT_EQ(m_root.readFile(QStringLiteral("My Documents/新規.lst")), QByteArray("x"));
}

TEST_F(DeviceFileSystemTest, ReplaceFile_WhereNoFileCanBe_FailsWithAReason) {
    m_root.makeFolder(QStringLiteral("My Documents"));
    for (const char* path : {"\\Missing\\a.lst", "\\My Documents", "\\My Documents\\..\\a.lst", "\\"}) {
        SCOPED_TRACE(path);
        const Outcome written = DeviceFileSystem::replaceFile(QString::fromUtf8(path), "x");
        EXPECT_FALSE(written);
        EXPECT_FALSE(written.reason.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(m_root.hostPath(QStringLiteral("a.lst"))));
}

}  // namespace
}  // namespace tavik
