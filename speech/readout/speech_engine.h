#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

namespace tavik::readout {

class KanaReading;

// Says text aloud with espeak-ng's Japanese voice, after MeCab has turned it into kana.
// Lives on a worker thread of its own: espeak's synchronous modes block for as long as
// the speech lasts, and the window must keep answering meanwhile. With a wave file
// path the speech goes into that file (16-bit mono PCM), replaced at the end of each
// reading; otherwise to the speakers. A reading always ends, also when espeak or the
// audio device fails.
class SpeechEngine : public QObject {
    Q_OBJECT
public:
    explicit SpeechEngine(QString wavePath);
    ~SpeechEngine() override;

    // On the worker thread: opens MeCab and espeak ahead of the first reading.
    void prepare();
    // On the worker thread: reads `text` and emits finished() when done.
    void read(const QString& text);
    // From any thread, when the program ends: stops the reading in progress at the end of
    // its sentence (into a file, at once) and makes later readings end at once.
    void requestStop() { m_stop = true; }

    // espeak's synthesis callback hands the samples here; false asks it to stop.
    bool collect(const short* samples, int count);

signals:
    void finished();

private:
    enum class State { NotStarted, Ready, Failed };

    bool speak(const QString& sentence);
    bool writeWave() const;

    const QString m_wavePath;
    State m_state = State::NotStarted;
    int m_sampleRate = 0;
    std::unique_ptr<KanaReading> m_kana;
    std::vector<short> m_samples;
    std::atomic<bool> m_stop{false};
};

}  // namespace tavik::readout
