#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace MeCab {
class Tagger;
}

namespace tavik::readout {

// Turns Japanese text into what espeak-ng's Japanese voice can say: it speaks kana only,
// so every word MeCab knows becomes its katakana pronunciation; a word without one
// (unknown words, Latin letters, digits) keeps its written form. The text is cut into
// sentences at the pauses: "。", tavik's line separator "!!" and line breaks.
class KanaReading {
public:
    // Opens MeCab with the UTF-8 IPA dictionary where the system keeps it.
    KanaReading();
    // Opens MeCab with the dictionary in `dictionaryFolder` only. Without a usable dictionary
    // the text is only cut at the pauses.
    explicit KanaReading(const QString& dictionaryFolder);
    ~KanaReading();
    KanaReading(const KanaReading&) = delete;
    KanaReading& operator=(const KanaReading&) = delete;

    // The sentences of `text` in reading form, without the pauses; no empty entries.
    QStringList sentences(const QString& text);

private:
    bool open(const QString& dictionaryFolder);
    QString reading(const QString& sentence);

    std::unique_ptr<MeCab::Tagger> m_tagger;
};

}  // namespace tavik::readout
