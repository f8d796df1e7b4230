#include "files/checklist_writer.h"

#include "model/checklist.h"
#include "platform/codepage/cp932_codec.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tavik {
namespace {

QByteArray Cp932(const char16_t* text)
{
    const std::string bytes = Cp932Codec::encode(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

Checklist OneItem(const char16_t* path)
{
    Checklist checklist;
    checklist.setFilePath(path);
    checklist.appendRow({u"○", u"牛乳", u"02/12/23"}, u"低脂肪");
    checklist.setModified(true);
    return checklist;
}

TEST(ChecklistWriter, Save_WritesTheFileAndClearsModified)
{
    TemporaryDeviceRoot root;
    root.writeFile(QStringLiteral("My Documents/list.lst"), "old");
    Checklist checklist = OneItem(u"\\my documents\\LIST.lst");  // the device ignores case

    EXPECT_EQ(ChecklistWriter::SaveCurrentFile(checklist, nullptr), SaveResult::Written);
    EXPECT_EQ(root.readFile(QStringLiteral("My Documents/list.lst")), Cp932(u"\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n"));
    EXPECT_FALSE(checklist.modified());
}

TEST(ChecklistWriter, FailedWrite_IsReportedWithItsReasonAndKeepsTheChanges)
{
    TemporaryDeviceRoot root;
    const QString host = root.writeFile(QStringLiteral("locked.lst"), "old");
    QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    for (const char16_t* path : {u"\\locked.lst", u"\\no such folder\\list.lst"}) {
        Checklist checklist = OneItem(path);
        ScriptedMessageBoxes boxes;
        boxes.expect(MessageAnswer::Ok);
        EXPECT_EQ(ChecklistWriter::SaveCurrentFile(checklist, nullptr), SaveResult::Failed);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_TRUE(boxes.texts().at(0).startsWith(QStringLiteral("ファイルに書き込めませんでした。\n")));
        EXPECT_GT(boxes.texts().at(0).size(), 20) << "the reason is missing";
        EXPECT_TRUE(checklist.modified());
    }
    EXPECT_EQ(root.readFile(QStringLiteral("locked.lst")), QByteArray("old"));
}

}  // namespace
}  // namespace tavik
