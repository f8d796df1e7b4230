#include "speech/readout/kana_reading.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavik::readout {

class KanaReadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_reading.hasDictionary())
            GTEST_SKIP() << "no MeCab IPA dictionary (mecab-ipadic-utf8)";
    }

    KanaReading m_reading;
};

TEST_F(KanaReadingTest, WordsBecomeTheirKatakanaPronunciation)
{
    EXPECT_EQ(m_reading.sentences(QStringLiteral("牛乳を買う")), QStringList{QStringLiteral("ギューニューヲカウ")});
    // The particle "は" as it is said, katakana kept.
    EXPECT_EQ(m_reading.sentences(QStringLiteral("東京タワーは高い")),
        QStringList{QStringLiteral("トーキョータワーワタカイ")});
}

TEST_F(KanaReadingTest, WordsWithoutReadingKeepTheirForm_FullWidthBecomesAscii)
{
    EXPECT_EQ(m_reading.sentences(QStringLiteral("ABC 123個です")), QStringList{QStringLiteral("ABC 123コデス")});
    EXPECT_EQ(m_reading.sentences(QStringLiteral("ＰＣ２台")), QStringList{QStringLiteral("PC2ダイ")});
}

TEST_F(KanaReadingTest, TextIsCutAtThePauses)
{
    EXPECT_EQ(m_reading.sentences(QStringLiteral("牛乳!!卵。パン\n水！！")),
        (QStringList{
            QStringLiteral("ギューニュー"), QStringLiteral("タマゴ"), QStringLiteral("パン"), QStringLiteral("ミズ")}));
    EXPECT_EQ(m_reading.sentences(QStringLiteral(" 。!!\r\n!!!  ")), QStringList{});
}

TEST(KanaReadingWithoutDictionary, KeepsTheTextButStillPauses)
{
    const QTemporaryDir empty;
    KanaReading reading(empty.path());
    EXPECT_FALSE(reading.hasDictionary());
    EXPECT_EQ(reading.sentences(QStringLiteral("牛乳を買う!!パン。")),
        (QStringList{QStringLiteral("牛乳を買う"), QStringLiteral("パン")}));
}

}  // namespace tavik::readout
