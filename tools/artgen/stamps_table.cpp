// The table of every stamp: its theme folder, number, format, size, drawing and colours.
#include "stamps.h"

constexpr char kGreet[] = "message/あいさつ", kThank[] = "message/ありがとう",
               kCongr[] = "message/おめでとう", kSeasn[] = "message/季節";
constexpr char kHeart[] = "item/ハート", kStars[] = "item/きらきら", kFlowr[] = "item/花",
               kAniml[] = "item/どうぶつ", kWeath[] = "item/天気";

// The greetings hold twelve stamps, more than the ten thumbnails the browser shows at once.
static const StmpDef kStmps[] = {
    {kGreet, 1, FMT_PNG, 84, 24, DrawMsgStars, "おはよう", 0xff8a1e, 0xffc820, kBgMagenta},
    {kGreet, 2, FMT_BMP, 92, 24, DrawMsgDuo, "こんにちは", 0x3cb44b, 0x2f8fe0, kBgMagenta},
    {kGreet, 3, FMT_GIF, 100, 24, DrawMsgStars, "こんばんは", 0x5a5ad8, 0xffd21e, kBgGreen},
    {kGreet, 4, FMT_JPG, 74, 24, DrawMsgPlain, "おやすみ", 0x7a5ad0, 0, kBgWhite},
    {kGreet, 5, FMT_PNG, 70, 24, DrawMsgHeart, "またね", 0xff5c9a, 0xf03c5a, kBgGreen},
    {kGreet, 6, FMT_PNG8, 76, 24, DrawMsgPlain, "ただいま", 0x2fae5a, 0, kBgMagenta},
    {kGreet, 7, FMT_BMP8, 72, 24, DrawMsgPlain, "おかえり", 0x17a99a, 0, kBgMagenta},
    {kGreet, 8, FMT_GIF, 84, 24, DrawMsgRainbow, "よろしくね", 0, 0, kBgBlue},
    {kGreet, 9, FMT_PNG, 72, 24, DrawMsgDuo, "バイバイ", 0xff5c9a, 0x2f8fe0, kBgGreen},
    {kGreet, 10, FMT_BMP, 80, 24, DrawMsgStars, "げんき？", 0xff8a1e, 0x3cb44b, kBgBlue},
    {kGreet, 11, FMT_JPG, 80, 24, DrawMsgPlain, "ごめんね", 0x2f8fe0, 0, kBgWhite},
    {kGreet, 12, FMT_PNG, 56, 44, DrawMsgDuo, "いって\nきます", 0xff8a1e, 0xe8383d, kBgAqua},

    {kThank, 1, FMT_PNG, 92, 24, DrawMsgHeart, "ありがとう", 0xff5c9a, 0xf0303c, kBgGreen},
    {kThank, 2, FMT_GIF, 86, 24, DrawMsgRainbow, "ありがと♪", 0, 0, kBgMagenta},
    {kThank, 3, FMT_BMP, 74, 44, DrawMsgDuo, "THANK\nYOU", 0x2f8fe0, 0xff5c9a, kBgGreen},
    {kThank, 4, FMT_PNG, 78, 28, DrawMsgStars, "感謝！", 0xe8383d, 0xffc820, kBgBlue},
    {kThank, 5, FMT_JPG, 90, 24, DrawMsgPlain, "サンキュー", 0xff8a1e, 0, kBgWhite},
    {kThank, 6, FMT_BMP, 98, 44, DrawMsgHeart, "いつも\nありがとう", 0x9a5ad8, 0xff5c9a, kBgGreen},

    {kCongr, 1, FMT_PNG, 86, 24, DrawMsgRainbow, "おめでとう", 0, 0, kBgBlue},
    {kCongr, 2, FMT_BMP, 84, 44, DrawMsgDuo, "誕生日\nおめでとう", 0xff5c9a, 0xff8a1e, kBgGreen},
    {kCongr, 3, FMT_GIF, 84, 44, DrawMsgPlain, "合格\nおめでとう", 0xe8383d, 0, kBgAqua},
    {kCongr, 4, FMT_PNG8, 100, 44, DrawMsgDuo, "HAPPY\nBIRTHDAY", 0xff8a1e, 0x2f8fe0, kBgMagenta},
    {kCongr, 5, FMT_BMP, 32, 32, DrawMsgPlain, "祝", 0xe8383d, 0, kBgGreen},
    {kCongr, 6, FMT_JPG, 98, 44, DrawMsgHeart, "結婚\nおめでとう", 0xff5c9a, 0xf0303c, kBgWhite},

    {kSeasn, 1, FMT_PNG, 90, 24, DrawMsgStars, "あけおめ", 0xe8383d, 0xffc820, kBgBlue},
    {kSeasn, 2, FMT_GIF, 70, 24, DrawMsgDuo, "ことよろ", 0xe8383d, 0xd89a00, kBgGreen},
    {kSeasn, 3, FMT_BMP8, 32, 32, DrawMsgPlain, "桜", 0xff6fa8, 0, kBgGreen},
    {kSeasn, 4, FMT_PNG, 58, 44, DrawMsgPlain, "暑中\n見舞い", 0x1a9ad0, 0, kBgMagenta},
    {kSeasn, 5, FMT_JPG, 86, 44, DrawMsgDuo, "メリー\nクリスマス", 0xe8383d, 0x2fae5a, kBgWhite},
    {kSeasn, 6, FMT_PNG, 88, 24, DrawMsgDuo, "ハロウィン", 0xff8a1e, 0x8a4ad0, kBgGreen},
    {kSeasn, 7, FMT_GIF, 70, 28, DrawMsgStars, "花火", 0x2f8fe0, 0xff5c9a, kBgMagenta},

    {kHeart, 1, FMT_PNG, 30, 28, DrawHeart, nullptr, 0xff4f8f, 0, kBgGreen},
    {kHeart, 2, FMT_BMP, 38, 36, DrawHearts2, nullptr, 0xf0303c, 0xff8ec4, kBgMagenta},
    {kHeart, 3, FMT_GIF, 54, 38, DrawHeartWing, nullptr, 0xff4f8f, 0xeef6ff, kBgGreen},
    {kHeart, 4, FMT_PNG, 40, 38, DrawHeartArrow, nullptr, 0xf0303c, 0xffc820, kBgBlue},
    {kHeart, 5, FMT_JPG, 34, 32, DrawHeartBroken, nullptr, 0x8a6ad8, 0, kBgWhite},
    {kHeart, 6, FMT_PNG, 42, 34, DrawLoveLetter, nullptr, 0xf0303c, 0xfff0d8, kBgMagenta},

    {kStars, 1, FMT_PNG, 40, 40, DrawStarFace, nullptr, 0xffd21e, 0, kBgMagenta},
    {kStars, 2, FMT_GIF, 22, 22, DrawStar, nullptr, 0xff6fa8, 0, kBgGreen},
    {kStars, 3, FMT_BMP, 36, 36, DrawSparkles, nullptr, 0xffd21e, 0x8fd8ff, kBgMagenta},
    {kStars, 4, FMT_PNG8, 44, 40, DrawShootStar, nullptr, 0xffd21e, 0xb68cff, kBgGreen},
    {kStars, 5, FMT_BMP, 34, 36, DrawMoon, nullptr, 0xffe060, 0xff9ecb, kBgBlue},
    {kStars, 6, FMT_JPG, 34, 34, DrawNotes, nullptr, 0x3a8ee6, 0, kBgWhite},

    {kFlowr, 1, FMT_PNG, 34, 34, DrawFlower, nullptr, 0xff7eb0, 0xffd21e, kBgGreen},
    {kFlowr, 2, FMT_BMP, 26, 26, DrawFlower, nullptr, 0x7fb8ff, 0xfff080, kBgMagenta},
    {kFlowr, 3, FMT_GIF, 30, 40, DrawTulip, nullptr, 0xf0403c, 0x4cb050, kBgBlue},
    {kFlowr, 4, FMT_PNG, 36, 36, DrawSakura, nullptr, 0xffc4da, 0xe8407a, kBgGreen},
    {kFlowr, 5, FMT_BMP8, 40, 40, DrawSunflower, nullptr, 0xffcc10, 0x9a5a2a, kBgMagenta},
    {kFlowr, 6, FMT_GIF, 34, 36, DrawClover, nullptr, 0x4cb050, 0, kBgMagenta},

    {kAniml, 1, FMT_PNG, 40, 38, DrawCat, nullptr, 0xffb060, 0, kBgGreen},
    {kAniml, 2, FMT_BMP, 40, 38, DrawDog, nullptr, 0xf2d8b0, 0xa8744c, kBgMagenta},
    {kAniml, 3, FMT_JPG, 40, 38, DrawBear, nullptr, 0, 0, kBgWhite},
    {kAniml, 4, FMT_PNG, 36, 42, DrawRabbit, nullptr, 0xfaf6fa, 0xffb0c8, kBgBlue},
    {kAniml, 5, FMT_GIF, 40, 38, DrawPanda, nullptr, 0xfafafa, 0x303038, kBgGreen},
    {kAniml, 6, FMT_PNG, 36, 36, DrawChick, nullptr, 0xffe040, 0xff9020, kBgMagenta},

    {kWeath, 1, FMT_PNG, 40, 40, DrawSun, nullptr, 0xffd21e, 0xff8a1e, kBgMagenta},
    {kWeath, 2, FMT_GIF, 44, 34, DrawCloud, nullptr, 0xf2f8ff, 0, kBgMagenta},
    {kWeath, 3, FMT_BMP, 40, 40, DrawRain, nullptr, 0xb8c8e0, 0x3a96e8, kBgMagenta},
    {kWeath, 4, FMT_JPG, 38, 40, DrawUmbrella, nullptr, 0xff5c9a, 0xfff0f6, kBgWhite},
    {kWeath, 5, FMT_PNG, 32, 44, DrawSnowman, nullptr, 0xf6faff, 0xe8383d, kBgGreen},
    {kWeath, 6, FMT_BMP, 56, 34, DrawRainbow, nullptr, 0xf6faff, 0, kBgMagenta},
};

std::span<const StmpDef> GetStmpDefs() {
    return kStmps;
}
