// quillet-export's command line: the options read into a record, the usage and the help text.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/export.h"
#include "image/slider.h"

namespace {

enum ExportOpt {
    OPT_ZOOM_IN,
    OPT_ZOOM_OUT,
    OPT_ROTATE,
    OPT_MIRROR,
    OPT_BRIGHTNESS,
    OPT_PAN,
    OPT_STAMP
};

struct OptName {
    const char* name;
    ExportOpt opt;
    bool takesValue;
};

const OptName kOpts[] = {
    {"--zoom-in", OPT_ZOOM_IN, false},      {"--zoom-out", OPT_ZOOM_OUT, false},
    {"--rotate", OPT_ROTATE, false},        {"--mirror", OPT_MIRROR, false},
    {"--brightness", OPT_BRIGHTNESS, true}, {"--pan", OPT_PAN, true},
    {"--stamp", OPT_STAMP, true},
};

// Far beyond any view picture's side, and small enough that the origin's arithmetic stays in int.
constexpr long kMaxShift = 1000000000;

const char* const kShortUsage =
    "使い方: quillet-export [オプション] 写真 出力先\n"
    "詳しくは quillet-export --help\n";

// Tells a usage error on stderr: what is wrong, the argument at fault, the short usage. 0.
int TellUsage(const char* what, const char* arg = nullptr) {
    fprintf(stderr, "quillet-export: %s%s%s\n%s", what, arg ? ": " : "", arg ? arg : "",
            kShortUsage);
    return 0;
}

const OptName* FindExportOpt(const std::string& name) {
    for (const OptName& o : kOpts)
        if (name == o.name) return &o;
    return nullptr;
}

// A whole decimal integer in [lo, hi] from s up to end (or the terminator): no blanks, no
// other characters. 1 when it is one.
int ReadInt(const char* s, const char* end, long lo, long hi, int* out) {
    const std::string text = end ? std::string(s, end) : std::string(s);
    const char* p = text.c_str();
    if (!(*p == '-' || *p == '+' || (*p >= '0' && *p <= '9'))) return 0;
    char* stop;
    errno = 0;
    const long v = strtol(p, &stop, 10);
    if (errno || *stop || stop == p || v < lo || v > hi) return 0;
    *out = int(v);
    return 1;
}

// "X,Y" as two integers within the shift bound.
int ReadPair(const char* s, int* x, int* y) {
    const char* comma = strchr(s, ',');
    return comma && ReadInt(s, comma, -kMaxShift, kMaxShift, x) &&
           ReadInt(comma + 1, nullptr, -kMaxShift, kMaxShift, y);
}

// "PATH" or "PATH@X,Y": a position is taken only when the text after the last "@" is one, so
// that a name holding "@" still names its file.
int ReadStmpArg(const char* value, ExportStmp* s) {
    const char* at = strrchr(value, '@');
    s->placed = at && ReadPair(at + 1, &s->x, &s->y);
    s->path = s->placed ? std::string(value, at) : std::string(value);
    if (s->path.empty()) return TellUsage("スタンプのファイル名がありません", "--stamp");
    return 1;
}

// Puts one option into the record; value is the option's value when it takes one.
int TakeExportOpt(const OptName& o, const char* value, ExportArgs* a) {
    switch (o.opt) {
        case OPT_ZOOM_IN: a->zooms.push_back(+1); return 1;
        case OPT_ZOOM_OUT: a->zooms.push_back(-1); return 1;
        case OPT_ROTATE: a->turns++; return 1;
        case OPT_MIRROR:
            if (a->mirror) return TellUsage("二度指定されています", o.name);
            a->mirror = true;
            return 1;
        case OPT_BRIGHTNESS:
            if (a->knob) return TellUsage("二度指定されています", o.name);
            if (!ReadInt(value, nullptr, kKnobMin, kKnobMax, &a->knob))
                return TellUsage("明るさは 1 から 119 までの整数で指定してください", value);
            return 1;
        case OPT_PAN:
            if (a->panned) return TellUsage("二度指定されています", o.name);
            if (!ReadPair(value, &a->panX, &a->panY))
                return TellUsage("ずらす量は DX,DY の形の整数で指定してください", value);
            a->panned = true;
            return 1;
        case OPT_STAMP: {
            ExportStmp s;
            if (!ReadStmpArg(value, &s)) return 0;
            a->stamps.push_back(s);
            return 1;
        }
    }
    return 0;
}

}  // namespace

int ParseExportArgs(int argc, char** argv, ExportArgs* a) {
    *a = ExportArgs{};
    std::vector<const char*> paths;
    bool optsDone = false;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        // A lone "-" is a name like any other.
        if (optsDone || arg[0] != '-' || !arg[1]) {
            paths.push_back(arg);
            continue;
        }
        if (strcmp(arg, "--") == 0) {
            optsDone = true;
            continue;
        }
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            a->help = true;
            return 1;
        }
        // "--name value" or "--name=value".
        const char* eq = strchr(arg, '=');
        const OptName* o = FindExportOpt(eq ? std::string(arg, eq) : std::string(arg));
        if (!o || (eq && !o->takesValue)) return TellUsage("不明なオプションです", arg);
        const char* value = eq ? eq + 1 : nullptr;
        if (o->takesValue && !eq) {
            if (i + 1 == argc) return TellUsage("値がありません", arg);
            value = argv[++i];
        }
        if (!TakeExportOpt(*o, value, a)) return 0;
    }
    if (paths.size() < 2) return TellUsage("写真と出力先を指定してください");
    if (paths.size() > 2) return TellUsage("余分な引数があります", paths[2]);
    a->photo = paths[0];
    a->out = paths[1];
    return 1;
}

void PrintExportHelp() {
    fputs(
        "使い方: quillet-export [オプション] 写真 出力先\n"
        "\n"
        "写真を Quillet の作業画面と同じ手順で 120 x 130 の携帯画像にし、出力先に保存します。\n"
        "ウィンドウは開かず、ディスプレイがなくても動きます。\n"
        "写真: BMP、JPEG、PNG、GIF (拡張子 .bmp .jpg .jpeg .png .gif、またはその大文字)\n"
        "出力先: 拡張子 .bmp (ビットマップ) か .jpg / .jpeg (ＪＰＥＧ)\n"
        "\n"
        "オプション (書いた順によらず、この順に行います):\n"
        "  --zoom-in            一段拡大する (何度でも。--zoom-out とは書いた順に)\n"
        "  --zoom-out           一段縮小する (何度でも)\n"
        "  --rotate             左へ 90 度回す (何度でも)\n"
        "  --mirror             左右反転する\n"
        "  --brightness KNOB    明るさ: スライダーのつまみの位置 1〜119 (60 でそのまま)\n"
        "  --pan DX,DY          写真を右へ DX、下へ DY ドット、マウスでドラッグしたように動かす\n"
        "  --stamp PATH[@X,Y]   スタンプを載せる (何度でも。後のものが上)。位置がなければ中央、\n"
        "                       X,Y はスタンプの左上の角のキャンバス上の位置 (ドラッグと同じく\n"
        "                       スタンプの中心はキャンバスの中に収まります)\n"
        "  -h, --help           この説明を表示する\n"
        "\n"
        "値は \"--pan=DX,DY\" のようにも書けます。\"--\" の後はすべてファイル名です。\n"
        "作業ファイルは $TMPDIR (なければ /tmp) の専用フォルダに作り、終わりに消します。\n"
        "\n"
        "終了コード: 0 保存した、1 失敗した (理由は標準エラー出力に)、2 使い方の誤り\n",
        stdout);
}
