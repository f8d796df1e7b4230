#include "speech/readout/kana_reading.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <mecab.h>
#include <vector>

namespace tavik::readout {

namespace {

// Debian's mecab-ipadic-utf8, then the usual places of other systems.
const char* const kDictionaryFolders[] = {
    "/var/lib/mecab/dic/ipadic-utf8",
    "/usr/lib64/mecab/dic/ipadic",
    "/usr/lib/mecab/dic/ipadic",
    "/usr/local/lib/mecab/dic/ipadic",
};

// IPA dictionary features: index 7 is the reading, index 8 the pronunciation. The
// pronunciation suits espeak better: long vowels as "ー", particles as said ("ハ" → "ワ").
constexpr int kReadingField = 7;
constexpr int kPronunciationField = 8;

bool IsKana(const QString& word)
{
    if (word.isEmpty())
        return false;
    for (const QChar c : word) {
        const char16_t u = c.unicode();
        const bool hiragana = u >= 0x3041 && u <= 0x309F;
        const bool katakana = u >= 0x30A0 && u <= 0x30FF;  // with "ー" and "・"
        if (!hiragana && !katakana)
            return false;
    }
    return true;
}

// The pronunciation of a word, else its reading, else nothing.
QString SpokenForm(const char* feature)
{
    const QStringList fields = QString::fromUtf8(feature).split(QLatin1Char(','));
    for (int index : {kPronunciationField, kReadingField}) {
        if (index < fields.size() && IsKana(fields[index]))
            return fields[index];
    }
    return {};
}

bool IsUtf8(const char* charset)
{
    const QByteArray name = QByteArray(charset).toLower();
    return name == "utf-8" || name == "utf8";
}

}  // namespace

KanaReading::KanaReading()
{
    for (const char* folder : kDictionaryFolders) {
        if (QFileInfo(QString::fromUtf8(folder)).isDir() && open(QString::fromUtf8(folder)))
            return;
    }
    if (!open(QString()))
        qWarning("ReadOut: no MeCab dictionary; the text is read as it is written");
}

KanaReading::KanaReading(const QString& dictionaryFolder)
{
    open(dictionaryFolder);
}

KanaReading::~KanaReading() = default;

// An empty folder means the dictionary named in the system's mecabrc. An explicit one is
// opened without mecabrc, so that the user dictionaries named there stay out.
bool KanaReading::open(const QString& dictionaryFolder)
{
    QByteArrayList arguments{"mecab"};
    if (!dictionaryFolder.isEmpty())
        arguments << "-r"
                  << "/dev/null"
                  << "-d" << QFile::encodeName(dictionaryFolder);
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    std::unique_ptr<MeCab::Tagger> tagger(MeCab::createTagger(static_cast<int>(argv.size()), argv.data()));
    if (!tagger)
        return false;
    const MeCab::DictionaryInfo* info = tagger->dictionary_info();
    if (!info || !IsUtf8(info->charset)) {
        qWarning() << "ReadOut: the MeCab dictionary" << dictionaryFolder << "is not in UTF-8";
        return false;
    }
    m_tagger = std::move(tagger);
    return true;
}

QStringList KanaReading::sentences(const QString& text)
{
    // NFKC first: full-width Latin and digits become ASCII, half-width kana full-width,
    // "！！" becomes "!!".
    static const QRegularExpression pauses(QStringLiteral("!!+|。|\\r\\n|\\n|\\r"));
    QStringList result;
    for (const QString& part : text.normalized(QString::NormalizationForm_KC).split(pauses)) {
        const QString sentence = reading(part.trimmed()).trimmed();
        if (!sentence.isEmpty())
            result << sentence;
    }
    return result;
}

QString KanaReading::reading(const QString& sentence)
{
    if (!m_tagger || sentence.isEmpty())
        return sentence;
    const QByteArray utf8 = sentence.toUtf8();
    const MeCab::Node* node = m_tagger->parseToNode(utf8.constData(), utf8.size());
    if (!node)
        return sentence;
    QString result;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        // MeCab drops the blanks between words; keep one, so "ABC DEF" stays two words.
        if (node->rlength > node->length && !result.isEmpty())
            result += QLatin1Char(' ');
        const QString spoken = SpokenForm(node->feature);
        result += spoken.isEmpty() ? QString::fromUtf8(node->surface, node->length) : spoken;
    }
    return result;
}

}  // namespace tavik::readout
