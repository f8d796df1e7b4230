#include "samples/large_checklist.h"

#include "platform/codepage/cp932_codec.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>

namespace tavik {

namespace {

constexpr std::array<std::u16string_view, 32> kWords = {
    u"牛乳",
    u"パン",
    u"卵",
    u"電池",
    u"請求書",
    u"会議資料",
    u"洗濯",
    u"銀行",
    u"郵便局",
    u"歯医者",
    u"宿題",
    u"図書館",
    u"プリンタ",
    u"インク",
    u"ｶﾀｶﾅ",
    u"①",
    u"㈱山田",
    u"～",
    u"確認",
    u"予約",
    u"買い物",
    u"掃除",
    u"返却",
    u"支払い",
    u"提出",
    u"準備",
    u"メール",
    u"電話",
    u"報告書",
    u"点検",
    u"バックアップ",
    u"更新",
};
constexpr std::array<std::u16string_view, 8> kAsciiWords = {
    u"PC",
    u"USB",
    u"A4",
    u"No.5",
    u"ToDo",
    u"memo",
    u"v2",
    u"OK",
};

}  // namespace

std::string MakeLargeChecklistFile(std::size_t items, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const auto roll = [&](unsigned n) { return static_cast<unsigned>(random() % n); };

    std::u16string text;
    text.reserve(items * 24);
    text.append(u"!大きなチェックリスト\r\n\r\n");
    for (std::size_t i = 0; i < items; ++i) {
        const unsigned kind = roll(20);
        if (kind < 11) {
            static constexpr char16_t kMarks[] = {u'\u25CB', u'\u25CB', u'\u25CB', u'\u00D7', u'\uFF1F'};
            char date[16];
            std::snprintf(date, sizeof date, "%02u/%02u/%02u", roll(30), roll(12) + 1, roll(28) + 1);
            text.push_back(kMarks[roll(5)]);
            text.push_back(u'<');
            text.append(date, date + 8);
            text.push_back(u'>');
        }
        const unsigned words = 2 + roll(6);
        for (unsigned w = 0; w < words; ++w)
            text.append(roll(4) == 0 ? kAsciiWords[roll(kAsciiWords.size())] : kWords[roll(kWords.size())]);
        text.append(u"\r\n");
        if (roll(4) == 0) {
            text.append(roll(2) ? u" " : u"\t");
            text.append(kWords[roll(kWords.size())]).append(u"の").append(kWords[roll(kWords.size())]);
            text.append(u"を").append(kWords[roll(kWords.size())]).append(u"する");
            text.append(u"\r\n");
        }
    }
    return Cp932Codec::encode(text);
}

}  // namespace tavik
