// ReadOut.exe run as tavik runs it: a process of its own, talked to over its channel.
// With READOUT_WAV the speech lands in a wave file that sox measures; without it the
// machine's audio device is used, which on a test machine usually does not exist.

#include "speech/speech_channel.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kReadingTimeoutMs = 30000;

const QByteArray kHello = R"({"cmd":"hello"})";
const QByteArray kEdit = R"({"class":"Edit"})";
const QByteArray kState = R"({"cmd":"state"})";
const QByteArray kReading = R"({"readonly":true})";
const QByteArray kNotReading = R"({"readonly":false})";

QByteArray SetText(const QString& text)
{
    return QJsonDocument(
        QJsonObject{{QStringLiteral("cmd"), QStringLiteral("settext")}, {QStringLiteral("text"), text}})
        .toJson(QJsonDocument::Compact);
}

// One connection to the program.
class Channel {
public:
    bool connect()
    {
        m_socket.abort();
        m_socket.connectToServer(SpeechChannel::serverPath());
        return m_socket.waitForConnected(kAnswerTimeoutMs);
    }

    // Sends the lines in one write.
    void send(const QList<QByteArray>& lines)
    {
        for (const QByteArray& line : lines)
            m_socket.write(line + '\n');
        m_socket.waitForBytesWritten(kAnswerTimeoutMs);
    }

    // The next answer, or nothing within `timeoutMs`.
    QByteArray receive(int timeoutMs = kAnswerTimeoutMs)
    {
        while (!m_socket.canReadLine()) {
            if (!m_socket.waitForReadyRead(timeoutMs))
                return {};
        }
        return m_socket.readLine().trimmed();
    }

    QByteArray ask(const QByteArray& line)
    {
        send({line});
        return receive();
    }

    QLocalSocket& socket() { return m_socket; }

private:
    QLocalSocket m_socket;
};

// What sox says of a wave file.
struct WaveFacts {
    double seconds = 0;
    double rmsAmplitude = 0;
    bool mono16Bit = false;
};

std::optional<WaveFacts> Measure(const QString& path)
{
    QString output;
    for (const QStringList& command : {QStringList{QStringLiteral("soxi"), path},
             QStringList{QStringLiteral("sox"), path, QStringLiteral("-n"), QStringLiteral("stat")}}) {
        QProcess sox;
        sox.setProcessChannelMode(QProcess::MergedChannels);
        sox.start(command.first(), command.mid(1));
        if (!sox.waitForFinished(kAnswerTimeoutMs) || sox.exitCode() != 0)
            return std::nullopt;
        output += QString::fromUtf8(sox.readAll());
    }
    const auto number = [&](const char* pattern) {
        return QRegularExpression(QString::fromLatin1(pattern)).match(output).captured(1).toDouble();
    };
    return WaveFacts{number(R"(Length \(seconds\):\s*([0-9.]+))"), number(R"(RMS\s+amplitude:\s*([0-9.]+))"),
        output.contains(QRegularExpression(QStringLiteral(R"(Channels\s*:\s*1\n)")))
            && output.contains(QRegularExpression(QStringLiteral(R"(Precision\s*:\s*16-bit)")))};
}

}  // namespace

class ReadOutProgramTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (m_program.state() == QProcess::NotRunning)
            return;
        // SIGTERM ends the program cleanly: status 0 and the socket file removed.
        m_program.terminate();
        if (!m_program.waitForFinished(kStartTimeoutMs)) {
            m_program.kill();
            m_program.waitForFinished();
            ADD_FAILURE() << "ReadOut did not end on SIGTERM";
            return;
        }
        EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_program.exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(SpeechChannel::serverPath()));
    }

    QString wavePath() const { return m_folder.filePath(QStringLiteral("speech.wav")); }

    static void launch(QProcess& program, bool toWaveFile, const QString& wavePath)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (toWaveFile)
            environment.insert(QStringLiteral("READOUT_WAV"), wavePath);
        else
            environment.remove(QStringLiteral("READOUT_WAV"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(TAVIK_READOUT_PROGRAM), {});
    }

    // Starts the program and connects once it answers.
    void start(bool toWaveFile)
    {
        launch(m_program, toWaveFile, wavePath());
        ASSERT_TRUE(m_program.waitForStarted(kStartTimeoutMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_channel.connect(); }, kStartTimeoutMs));
        ASSERT_EQ(m_channel.ask(kHello), kEdit);
    }

    // Reads `text` and waits for the box to become writable again; false when it stays
    // read-only. The state asked together with the command is answered before the
    // reading can end: lines that arrive together are handled together.
    bool read(const QString& text, int timeoutMs = kReadingTimeoutMs)
    {
        m_channel.send({SetText(text), R"({"cmd":"command","id":1003})", kState});
        EXPECT_EQ(m_channel.receive(), kReading) << "the box is read-only while it is read";
        return QTest::qWaitFor([&] { return m_channel.ask(kState) == kNotReading; }, timeoutMs);
    }

    QTemporaryDir m_folder;
    QProcess m_program;
    Channel m_channel;
};

TEST_F(ReadOutProgramTest, EachReadingReplacesTheWaveFileWithItsSpeech)
{
    ASSERT_NO_FATAL_FAILURE(start(true));

    ASSERT_TRUE(read(QStringLiteral("牛乳を買う。")));
    const std::optional<WaveFacts> first = Measure(wavePath());
    ASSERT_TRUE(first) << "sox cannot read " << qPrintable(wavePath());
    EXPECT_TRUE(first->mono16Bit);
    EXPECT_GT(first->seconds, 0.5);
    EXPECT_LT(first->seconds, 5.0);
    EXPECT_GT(first->rmsAmplitude, 0.01) << "silence";

    // A longer text, then the first again: the file holds each reading alone.
    ASSERT_TRUE(read(QStringLiteral("牛乳を買う!!卵とパンも買う。")));
    const std::optional<WaveFacts> longer = Measure(wavePath());
    ASSERT_TRUE(longer);
    EXPECT_GT(longer->seconds, first->seconds + 0.5);
    ASSERT_TRUE(read(QStringLiteral("牛乳を買う。")));
    const std::optional<WaveFacts> again = Measure(wavePath());
    ASSERT_TRUE(again);
    EXPECT_NEAR(again->seconds, first->seconds, 0.05);

    // A reading of nothing leaves a wave file without samples: the header alone, data size 0.
    ASSERT_TRUE(read(QString()));
    QFile empty(wavePath());
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    const QByteArray header = empty.readAll();
    ASSERT_EQ(header.size(), 44);
    EXPECT_TRUE(header.startsWith("RIFF") && header.mid(8, 8) == "WAVEfmt " && header.mid(36, 4) == "data");
    EXPECT_EQ(header.mid(40), QByteArray(4, '\0'));
}

TEST_F(ReadOutProgramTest, ReadingWithoutWaveFileEndsByItself)
{
    // On this machine usually without an audio device: the reading must end, not hang.
    // With speakers it is simply heard.
    ASSERT_NO_FATAL_FAILURE(start(false));
    EXPECT_TRUE(read(QStringLiteral("牛乳を買う。"), 15000));
    EXPECT_FALSE(QFileInfo::exists(wavePath()));
}

TEST_F(ReadOutProgramTest, SecondCopyEndsAtOnce_AKilledCopysSocketIsReplaced)
{
    ASSERT_NO_FATAL_FAILURE(start(true));
    QProcess second;
    launch(second, true, wavePath());
    ASSERT_TRUE(second.waitForFinished(kStartTimeoutMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(m_channel.ask(kHello), kEdit);
    Channel later;
    ASSERT_TRUE(later.connect());
    EXPECT_EQ(later.ask(kHello), kEdit);

    // A copy killed outright leaves its socket file; the next one replaces it.
    m_program.kill();
    m_program.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(SpeechChannel::serverPath()));
    start(true);
}

TEST_F(ReadOutProgramTest, IgnoresWhatItDoesNotUnderstandAndKeepsTheConnection)
{
    ASSERT_NO_FATAL_FAILURE(start(true));
    Channel other;
    ASSERT_TRUE(other.connect());

    m_channel.send({"not json", "[1,2]", "", R"({"cmd":"nope"})", R"({"cmd":"settext"})",
        R"({"cmd":"command","id":1004})", R"({"cmd":"command","id":"1003"})", R"({"text":"x"})", kState});
    EXPECT_EQ(m_channel.receive(), kNotReading) << "only state answers, and no reading has started";
    EXPECT_FALSE(QFileInfo::exists(wavePath()));

    // A line in two writes, and another client meanwhile.
    m_channel.socket().write(R"({"cmd":"he)");
    m_channel.socket().flush();
    EXPECT_EQ(other.ask(kHello), kEdit);
    m_channel.send({R"(llo"})"});
    EXPECT_EQ(m_channel.receive(), kEdit);
    EXPECT_EQ(m_channel.receive(200), QByteArray());
}

}  // namespace tavik
