// The fifteen lines that the load event appends for the sample resources, as appended: line 15
// ends with U+0000, and a list shows it up to there.
#pragma once

#include <string_view>

inline constexpr std::u16string_view kSampleLines[] = {
    u"Byte読み込み － &H1",
    u"Integer読み込み － &H1234",
    u"Long読み込み － &HEFCDAB",
    u"Single読み込み － 4.31684E-41",
    u"Double読み込み － 3.03303288349506E-144",
    u"POINT構造体読み込み － x = 16  y = 257",
    u"",
    u"サンプルデータ",
    u"作者はＱＵＯＸ",
    u"スペースを入れるなら ダブルクォーテーションで囲んでね",
    u"区切りは",
    u"スペースか",
    u"コンマか",
    u"改行か",
    std::u16string_view(u"タブです。\0", 6),
};

// A line as a list shows it: up to its first U+0000.
constexpr std::u16string_view Shown(std::u16string_view line) {
  return line.substr(0, line.find(u'\0'));
}
