#include "speech/speech_reader.h"

#include "tests/support/temporary_device_root.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace tavik {
namespace {

// The reader with the stand-in speech program installed where the real one would be,
// and a channel of its own: a stand-in left from another test never answers here.
class SpeechReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid() && m_logFolder.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("FAKE_READOUT_LOG", QFile::encodeName(m_logFolder.filePath("log")));
        for (const char* name : {"FAKE_READOUT_CLASS", "FAKE_READOUT_READ_MS", "FAKE_READOUT_DIE"})
            qunsetenv(name);
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_previousRuntime); }

    void installProgram() const
    {
        const QString target = m_root.hostPath(QStringLiteral("Program Files/VELUN-SPEECH/ReadOut.exe"));
        m_root.makeFolder(QStringLiteral("Program Files/VELUN-SPEECH"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_READOUT), target));
    }

    QStringList log() const
    {
        QFile file(m_logFolder.filePath("log"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Waits until the log holds `line` `count` times; false after 20 s.
    bool waitForLog(const QString& line, int count = 1) const
    {
        QElapsedTimer timer;
        timer.start();
        while (log().count(line) < count) {
            if (timer.hasExpired(20000))
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    TemporaryDeviceRoot m_root;
    QTemporaryDir m_runtime;
    QTemporaryDir m_logFolder;
    const QByteArray m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    CSpeechReader m_reader;
};

TEST_F(SpeechReaderTest, SpeakingDuringAReading_GivesOneMoreReadingWithTheLastText)
{
    installProgram();
    qputenv("FAKE_READOUT_READ_MS", "1500");
    ASSERT_TRUE(m_reader.Start());
    EXPECT_FALSE(m_reader.Start());
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("command")));
    m_reader.Speak(QStringLiteral("二。"));
    m_reader.Speak(QStringLiteral("三。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("settext "), 2));
    m_reader.Stop();
    EXPECT_EQ(log(),
        (QStringList{"hello", "settext 一。", "command", "done", "settext ", "hello", "settext 三。", "command", "done",
            "settext "}));
}

TEST_F(SpeechReaderTest, Stop_LeavesTheReadingInProgressToTheProgramAndDropsAPendingJob)
{
    installProgram();
    qputenv("FAKE_READOUT_READ_MS", "60000");
    m_reader.Start();
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("command")));
    m_reader.Speak(QStringLiteral("二。"));
    m_reader.Stop();
    EXPECT_TRUE(m_reader.isFinished());
    EXPECT_EQ(log(), (QStringList{"hello", "settext 一。", "command"})) << "Stop returned during the reading";
    ASSERT_TRUE(waitForLog(QStringLiteral("exit")));  // the program is left alone, and ends by itself
    EXPECT_EQ(log(), (QStringList{"hello", "settext 一。", "command", "exit"}));
}

TEST_F(SpeechReaderTest, AProgramWithoutTextBoxOrOneThatDies_EndsTheJobQuietly)
{
    installProgram();
    m_reader.Start();
    qputenv("FAKE_READOUT_CLASS", "Static");
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("hello")));
    ASSERT_TRUE(waitForLog(QStringLiteral("exit")));  // idle: the reader gave up and left
    EXPECT_EQ(log(), (QStringList{"hello", "exit"}));

    qputenv("FAKE_READOUT_CLASS", "Edit");
    qputenv("FAKE_READOUT_DIE", "1");
    m_reader.Speak(QStringLiteral("二。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("exit"), 2));
    QElapsedTimer stopping;
    stopping.start();
    m_reader.Stop();
    EXPECT_LT(stopping.elapsed(), 15000);
    EXPECT_EQ(log().mid(2), (QStringList{"hello", "settext 二。", "command", "exit"}));
}

// The whole way to the bundled program, speaking into a file. The test starts the program
// itself, so that it can end it afterwards.
TEST_F(SpeechReaderTest, BundledProgram_ReadsJapaneseAloud)
{
    const QString wave = m_logFolder.filePath("speech.wav");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("READOUT_WAV"), wave);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(READOUT_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());

    m_reader.Start();
    m_reader.Speak(QStringLiteral("牛乳を買う。"));
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(wave) && !timer.hasExpired(20000))
        QThread::msleep(20);
    m_reader.Stop();
    program.terminate();
    program.waitForFinished();

    QProcess soxi;
    soxi.start(QStringLiteral("soxi"), {QStringLiteral("-D"), wave});
    ASSERT_TRUE(soxi.waitForFinished(10000)) << "soxi did not run";
    EXPECT_GT(soxi.readAllStandardOutput().trimmed().toDouble(), 0.5) << "seconds of speech";
}

TEST_F(SpeechReaderTest, MissingProgram_EndsTheJobAndStopReturns)
{
    m_reader.Start();
    m_reader.Speak(QStringLiteral("一。"));
    QThread::msleep(100);
    m_reader.Stop();
    EXPECT_TRUE(m_reader.isFinished());
    EXPECT_TRUE(log().isEmpty());
}

}  // namespace
}  // namespace tavik
