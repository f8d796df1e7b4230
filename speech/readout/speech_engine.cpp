#include "speech/readout/speech_engine.h"

#include "speech/readout/kana_reading.h"

#include <QSaveFile>
#include <QtEndian>

#include <espeak-ng/speak_lib.h>

namespace tavik::readout {

namespace {

constexpr int kBitsPerSample = 16;
constexpr int kWaveHeaderBytes = 44;

// espeak calls this from espeak_Synth, on the same thread, with the engine as user data.
int OnSynthesis(short* samples, int count, espeak_EVENT* events)
{
    auto* engine = events ? static_cast<SpeechEngine*>(events->user_data) : nullptr;
    if (!engine)
        return 0;
    return engine->collect(samples, count) ? 0 : 1;
}

bool SelectJapaneseVoice()
{
    if (espeak_SetVoiceByName("ja") == EE_OK)
        return true;
    espeak_VOICE properties{};
    properties.languages = "ja";
    return espeak_SetVoiceByProperties(&properties) == EE_OK;
}

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QByteArray WaveHeader(int sampleRate, quint32 dataBytes)
{
    const int blockAlign = kBitsPerSample / 8;  // one channel
    QByteArray header;
    header.reserve(kWaveHeaderBytes);
    header.append("RIFF");
    AppendLittleEndian(header, kWaveHeaderBytes - 8 + dataBytes, 4);
    header.append("WAVEfmt ");
    AppendLittleEndian(header, 16, 4);  // size of the format chunk
    AppendLittleEndian(header, 1, 2);  // PCM
    AppendLittleEndian(header, 1, 2);  // mono
    AppendLittleEndian(header, sampleRate, 4);
    AppendLittleEndian(header, sampleRate * blockAlign, 4);
    AppendLittleEndian(header, blockAlign, 2);
    AppendLittleEndian(header, kBitsPerSample, 2);
    header.append("data");
    AppendLittleEndian(header, dataBytes, 4);
    return header;
}

}  // namespace

SpeechEngine::SpeechEngine(QString wavePath)
    : m_wavePath(std::move(wavePath))
{
}

SpeechEngine::~SpeechEngine()
{
    if (m_state != State::NotStarted)
        espeak_Terminate();
}

void SpeechEngine::prepare()
{
    if (m_state != State::NotStarted)
        return;
    m_kana = std::make_unique<KanaReading>();
    // Synchronous in both cases: espeak_Synth returns when the speech has been played
    // or has failed (no audio device), so a reading can never wait for an event that
    // does not come.
    const espeak_AUDIO_OUTPUT output = m_wavePath.isEmpty() ? AUDIO_OUTPUT_SYNCH_PLAYBACK : AUDIO_OUTPUT_SYNCHRONOUS;
    m_sampleRate = espeak_Initialize(output, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    // espeak_Initialize may give a sample rate even when its data failed to load; the
    // voice tells for sure.
    const bool ready = m_sampleRate > 0 && SelectJapaneseVoice();
    m_state = ready ? State::Ready : State::Failed;
    if (!ready) {
        qWarning("ReadOut: espeak-ng or its Japanese voice is not available; nothing is read aloud");
        return;
    }
    espeak_SetSynthCallback(OnSynthesis);
}

void SpeechEngine::read(const QString& text)
{
    prepare();
    if (m_state == State::Ready) {
        m_samples.clear();
        bool spoken = true;
        for (const QString& sentence : m_kana->sentences(text)) {
            if (m_stop)
                break;
            // Without an audio device every sentence fails alike: the reading ends here.
            if (!speak(sentence)) {
                spoken = false;
                break;
            }
        }
        if (!m_wavePath.isEmpty() && spoken && !m_stop && !writeWave())
            qWarning("ReadOut: cannot write %s", qPrintable(m_wavePath));
        m_samples.clear();
        m_samples.shrink_to_fit();
    }
    emit finished();
}

bool SpeechEngine::collect(const short* samples, int count)
{
    if (samples && count > 0)
        m_samples.insert(m_samples.end(), samples, samples + count);
    return !m_stop;
}

// One sentence, with a sentence pause after it. On the speakers this returns once the
// sentence has been heard; without an audio device, at once with an error.
bool SpeechEngine::speak(const QString& sentence)
{
    const QByteArray utf8 = sentence.toUtf8();
    const espeak_ERROR status = espeak_Synth(
        utf8.constData(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, this);
    return status == EE_OK;
}

bool SpeechEngine::writeWave() const
{
    QSaveFile file(m_wavePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto dataBytes = static_cast<quint32>(m_samples.size() * sizeof(short));
    file.write(WaveHeader(m_sampleRate, dataBytes));
    // A reading of nothing has no samples, and no buffer to copy from: the file is the header alone.
    if (!m_samples.empty()) {
        QByteArray data(static_cast<qsizetype>(dataBytes), Qt::Uninitialized);
        qToLittleEndian<qint16>(m_samples.data(), static_cast<qsizetype>(m_samples.size()), data.data());
        file.write(data);
    }
    return file.commit();
}

}  // namespace tavik::readout
