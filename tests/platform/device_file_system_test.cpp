#include "platform/device_file_system.h"

#include "tests/support/temporary_device_root.h"

#include <gtest/gtest.h>

namespace tavik {

TEST(DeviceFileSystem, PatternsMatchIgnoringCase)
{
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[]
        = {{"B.LST", "*.lst", true}, {"a.lst.bak", "*.lst", false}, {"メモ.TXT", "*.txt", true}, {"noext", "*.*", true},
            {"abc", "a?c", true}, {"ac", "a?c", false}, {"ÄRGER.txt", "ärger.*", true}, {"aXbX", "a*b*c", false}};
    for (const auto& c : cases)
        EXPECT_EQ(DeviceFileSystem::matchesPattern(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.name << " ~ " << c.pattern;
}

TEST(DeviceFileSystem, List_SortsIgnoringCase_AndHidesDotNamesAndNamesHoldingBackslash)
{
    TemporaryDeviceRoot root;
    for (const char* file : {"b.lst", "A.LST", "c.txt", ".hidden.lst", "back\\slash.lst", "Sub/x"})
        root.writeFile(QStringLiteral("My Documents/") + QString::fromUtf8(file), "x");
    const Outcome<QList<DirectoryEntry>> listing
        = DeviceFileSystem::list(QStringLiteral("\\my documents"), QStringLiteral("*"));
    QStringList names;
    for (const DirectoryEntry& entry : *listing)
        names << entry.name + (entry.isFolder ? "\\" : "");
    EXPECT_EQ(names, QStringList({"A.LST", "b.lst", "c.txt", "Sub\\"}));
}

}  // namespace tavik
