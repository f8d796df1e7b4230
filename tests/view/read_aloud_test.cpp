#include "platform/command_ui.h"
#include "tests/view/view_test_fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace tavik {
namespace {

class ReadAloudTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("FAKE_READOUT_LOG", QFile::encodeName(m_runtime.filePath("log")));
    }
    void TearDown() override
    {
        ViewTest::TearDown();
        qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
        qunsetenv("FAKE_READOUT_READ_MS");
    }

    CommandUi entry() const
    {
        CommandUi ui(res::ID_READ_ALOUD);
        m_view->updateCommand(ui);
        return ui;
    }
    QStringList log() const
    {
        QFile file(m_runtime.filePath("log"));
        return file.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            : QStringList();
    }

    QTemporaryDir m_runtime;
    const QByteArray m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
};

TEST_F(ReadAloudTest, Entry_NeedsTheSpeechProgramAndNamesWhatWillBeRead)
{
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    open();
    EXPECT_FALSE(entry().isEnabled());
    EXPECT_FALSE(entry().hasText());

    m_root.writeFile(QStringLiteral("Program Files/VELUN-SPEECH/ReadOut.exe"), "");
    EXPECT_TRUE(entry().isEnabled());
    EXPECT_EQ(entry().text(), QStringLiteral("全項目読み上げ"));
    selectRow(0);
    EXPECT_EQ(entry().text(), QStringLiteral("選択項目読上げ"));
}

TEST_F(ReadAloudTest, SelectedItem_IsReadWithItsStoredComment_AndClosingLeavesTheReadingToTheProgram)
{
    qputenv("FAKE_READOUT_READ_MS", "60000");
    writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n 2 l\r\n low fat\r\n卵\r\n");
    remember(QString(), QStringLiteral("list.lst"));
    m_root.makeFolder(QStringLiteral("Program Files/VELUN-SPEECH"));
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(FAKE_READOUT), m_root.hostPath(QStringLiteral("Program Files/VELUN-SPEECH/ReadOut.exe"))));
    open();
    selectRow(0);
    m_view->executeCommand(res::ID_READ_ALOUD);
    QElapsedTimer timer;
    timer.start();
    while (!log().contains(QStringLiteral("command")) && !timer.hasExpired(20000))
        QThread::msleep(20);
    m_view.reset();
    EXPECT_EQ(log(), (QStringList{"hello", "settext 牛乳。2 l!!low fat", "command"}));
}

}  // namespace
}  // namespace tavik
