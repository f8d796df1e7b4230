#include "speech/readout/kana_reading.h"
#include "speech/speech_channel.h"
#include "speech/speech_reader.h"
#include "tests/support/temporary_device_root.h"

#include <QProcess>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr int kWaitMs = 20000;
const QString kProgram = QStringLiteral("Program Files/VELUN-SPEECH/ReadOut.exe");

// The seconds of speech in a wave file, as sox measures them; 0 when there is none.
double Seconds(const QString& wave)
{
    QProcess soxi;
    soxi.start(QStringLiteral("soxi"), {QStringLiteral("-D"), wave});
    return soxi.waitForFinished(kWaitMs) ? soxi.readAllStandardOutput().trimmed().toDouble() : 0;
}

// The reader, with a stand-in speech program (readout_stand_in.py) installed where it looks for
// the real one. The stand-in runs as a real process on the real channel ($FAKE_READOUT_SOCKET)
// and logs what it is told to $FAKE_READOUT_LOG, one line each: hello | settext TEXT | command |
// done | exit. $FAKE_READOUT_CLASS is the class of its text box ("Edit" unless set);
// $FAKE_READOUT_READ_MS how long a reading keeps the box read-only (300 ms unless set);
// $FAKE_READOUT_DIE=1 makes it end in the middle of a reading. It ends by itself once no client
// has been connected for half a second. Each test has a runtime folder of its own, so a speech
// program left from another never answers here; the stand-in's log goes there too.
class SpeechReaderTest : public testing::Test {
protected:
    SpeechReaderTest()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_folder.path()));
        qputenv("FAKE_READOUT_SOCKET", QFile::encodeName(SpeechChannel::serverPath()));
        qputenv("FAKE_READOUT_LOG", QFile::encodeName(m_folder.filePath("log")));
        for (const char* name : {"FAKE_READOUT_CLASS", "FAKE_READOUT_READ_MS", "FAKE_READOUT_DIE"})
            qunsetenv(name);
        install();
    }
    ~SpeechReaderTest() override { qputenv("XDG_RUNTIME_DIR", m_previousRuntime); }

    void install() const
    {
        QFile standIn(QStringLiteral(READOUT_STAND_IN));
        EXPECT_TRUE(standIn.open(QIODevice::ReadOnly));
        QFile::setPermissions(
            m_root.writeFile(kProgram, standIn.readAll()), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    QStringList log() const
    {
        QFile file(m_folder.filePath("log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }
    bool waitForLog(const QString& line, int count = 1) const
    {
        return QTest::qWaitFor([&] { return log().count(line) >= count; }, kWaitMs);
    }

    const QByteArray m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir m_folder;
    TemporaryDeviceRoot m_root;
    CSpeechReader m_reader;
};

TEST_F(SpeechReaderTest, SpeakingDuringAReading_GivesOneMoreReadingWithTheLastText)
{
    ASSERT_TRUE(m_reader.Start());
    EXPECT_FALSE(m_reader.Start());
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("command")));
    m_reader.Speak(QStringLiteral("二。"));
    m_reader.Speak(QStringLiteral("三。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("settext "), 2));
    m_reader.Stop();
    EXPECT_EQ(log().mid(0, 10),
        (QStringList{"hello", "settext 一。", "command", "done", "settext ", "hello", "settext 三。", "command", "done",
            "settext "}));
}

TEST_F(SpeechReaderTest, Stop_LeavesTheReadingInProgressToTheProgramAndDropsAPendingJob)
{
    qputenv("FAKE_READOUT_READ_MS", "60000");
    m_reader.Start();
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("command")));
    m_reader.Speak(QStringLiteral("二。"));
    m_reader.Stop();
    EXPECT_EQ(log(), (QStringList{"hello", "settext 一。", "command"})) << "Stop returned during the reading";
    ASSERT_TRUE(waitForLog(QStringLiteral("exit")));  // the program is left alone, and ends by itself
    EXPECT_EQ(log(), (QStringList{"hello", "settext 一。", "command", "exit"}));
}

TEST_F(SpeechReaderTest, AProgramMissingWithoutTextBoxOrDying_EndsTheJobQuietly)
{
    CSpeechReader missing;
    QFile::remove(m_root.hostPath(kProgram));
    missing.Start();
    missing.Speak(QStringLiteral("一。"));
    QTest::qWait(100);
    missing.Stop();
    install();

    qputenv("FAKE_READOUT_CLASS", "Static");
    m_reader.Start();
    m_reader.Speak(QStringLiteral("一。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("exit")));  // idle: the reader gave up and left
    EXPECT_EQ(log(), (QStringList{"hello", "exit"}));

    qputenv("FAKE_READOUT_CLASS", "Edit");
    qputenv("FAKE_READOUT_DIE", "1");
    m_reader.Speak(QStringLiteral("二。"));
    ASSERT_TRUE(waitForLog(QStringLiteral("exit"), 2)) << log().join(' ').toStdString();
    m_reader.Stop();  // at once, though the job waits for the reading that never ends
    EXPECT_EQ(log().mid(2), (QStringList{"hello", "settext 二。", "command", "exit"}));
}

// The whole way from the reader to the bundled program, which speaks into a wave file that sox
// measures. A copy killed outright leaves its socket file, which the next one replaces; a second
// copy ends at once.
TEST_F(SpeechReaderTest, BundledProgram_OneCopyReadsJapaneseAloud)
{
    const QString wave = m_folder.filePath("speech.wav");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("READOUT_WAV"), wave);
    const auto start = [&](QProcess& copy) {
        copy.setProcessEnvironment(environment);
        copy.start(QStringLiteral(READOUT_PROGRAM), {});
        SpeechChannel channel;
        return QTest::qWaitFor([&] { return channel.connect() && channel.hasTextBox(); }, kWaitMs);
    };
    QProcess program, second;
    ASSERT_TRUE(start(program));
    program.kill();
    program.waitForFinished();
    ASSERT_TRUE(start(program) && start(second));
    EXPECT_TRUE(second.waitForFinished(kWaitMs) && second.exitCode() == 0);

    m_reader.Start();
    m_reader.Speak(QStringLiteral("牛乳を買う。"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Seconds(wave) > 0.5; }, kWaitMs));
    m_reader.Stop();
    program.terminate();  // SIGTERM ends the program cleanly: status 0 and the socket file removed
    EXPECT_TRUE(program.waitForFinished(kWaitMs) && program.exitCode() == 0);
    EXPECT_FALSE(QFileInfo::exists(SpeechChannel::serverPath()));
}

// Every word MeCab knows becomes its katakana pronunciation ("は" as it is said), a word without
// one keeps its form, full-width Latin and digits become ASCII, and the text is cut at the
// pauses. Without a dictionary the text is kept as written, but still cut.
TEST(KanaReading, WordsBecomeWhatTheVoiceCanSay_CutAtThePauses)
{
    readout::KanaReading reading;
    EXPECT_EQ(reading.sentences(QStringLiteral("東京タワーは高い!!ABC 123個です。ＰＣ２台\n 。")),
        (QStringList{
            QStringLiteral("トーキョータワーワタカイ"), QStringLiteral("ABC 123コデス"), QStringLiteral("PC2ダイ")}));
    const QTemporaryDir empty;
    EXPECT_EQ(readout::KanaReading(empty.path()).sentences(QStringLiteral("牛乳を買う!!パン。")),
        (QStringList{QStringLiteral("牛乳を買う"), QStringLiteral("パン")}));
}

// A pronunciation holding any hiragana, up to the last, "ゟ", is kept: a dictionary of one word,
// made for the test, gives "より" that pronunciation beside the katakana reading "ヨリ".
TEST(KanaReading, APronunciationInHiragana_IsKept)
{
    const QTemporaryDir folder;
    const std::pair<const char*, const char*> files[] = {
        {"char.def", "DEFAULT 0 1 0\nSPACE 0 1 0\n0x0020 SPACE\n"},
        {"unk.def", "DEFAULT,0,0,0,記号\nSPACE,0,0,0,記号\n"},
        {"matrix.def", "1 1\n0 0 0\n"},
        {"dicrc", "cost-factor = 800\nbos-feature = BOS/EOS,*,*,*,*,*,*,*,*\n"},
        {"words.csv", "より,0,0,0,助詞,格助詞,*,*,*,*,より,ヨリ,ゟ\n"},
    };
    for (const auto& [name, text] : files) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) > 0) << name;
    }
    ASSERT_EQ(QProcess::execute(QStringLiteral("/usr/lib/mecab/mecab-dict-index"),
                  {"-d", folder.path(), "-o", folder.path(), "-f", "UTF-8", "-t", "UTF-8"}),
        0);
    EXPECT_EQ(readout::KanaReading(folder.path()).sentences(QStringLiteral("より")), QStringList{QStringLiteral("ゟ")});
}

}  // namespace
}  // namespace tavik
