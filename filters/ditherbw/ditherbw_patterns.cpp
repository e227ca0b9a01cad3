// ditherbw's built-in patterns, their names and the default record.
#include "ditherbw_settings.h"

namespace ditherbw {

const Pattern kBuiltInPattern[kBuiltInPatterns] = {
    {{4, 10, 7, 9, 13, 0, 14, 3, 6, 8, 5, 11, 15, 2, 12, 1}},
    {{0, 4, 5, 1, 11, 12, 13, 6, 10, 15, 14, 7, 3, 9, 8, 2}},
    {{8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15}},
    {{11, 3, 7, 15, 10, 2, 6, 14, 9, 1, 5, 13, 8, 0, 4, 12}},
    {{6, 10, 13, 15, 3, 7, 11, 14, 1, 4, 8, 12, 0, 2, 5, 9}},
    {{15, 14, 10, 9, 13, 11, 8, 3, 12, 7, 4, 2, 6, 5, 1, 0}},
};

const char* const kPatternName[kPatternCount] = {
    "普通", "ぐるぐる", "横線", "縦線", "右上がり三角", "左上がり三角", "ユーザー設定Ａ", "ユーザー設定Ｂ",
};

const Pattern kDefaultUserPatternA = {{14, 8, 9, 15, 7, 1, 2, 10, 6, 0, 3, 11, 13, 5, 4, 12}};
const Pattern kDefaultUserPatternB = {{0, 7, 12, 15, 4, 1, 8, 13, 10, 5, 2, 9, 14, 11, 6, 3}};

Settings Settings::Defaults() {
  Settings defaults = CurrentSettings();
  defaults.chosen = 0;
  defaults.inUse = kBuiltInPattern[0];
  defaults.userA = kDefaultUserPatternA;
  defaults.userB = kDefaultUserPatternB;
  defaults.twice = 0;
  return defaults;
}

}  // namespace ditherbw
