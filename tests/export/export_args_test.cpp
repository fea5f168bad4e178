// quillet-export's command line: what each usable line asks for, and the usage errors with
// their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/export.h"

namespace {

// The record in one line, so that a table row can say what it expects.
std::string DescribeArgs(const ExportArgs& a) {
    if (a.help) return "help";
    std::string d = a.photo + " > " + a.out + " zoom ";
    for (int z : a.zooms) d += z > 0 ? '+' : '-';
    d += " turns " + std::to_string(a.turns) + " mirror " + std::to_string(a.mirror) + " knob " +
         std::to_string(a.knob) + " pan ";
    d += a.panned ? std::to_string(a.panX) + "," + std::to_string(a.panY) : "-";
    d += " stamps";
    for (const ExportStmp& s : a.stamps) {
        d += " [" + s.path;
        if (s.placed) d += " at " + std::to_string(s.x) + "," + std::to_string(s.y);
        d += "]";
    }
    return d;
}

// Parses the arguments after the program name; *err gets what was written on stderr.
int Parse(const std::vector<std::string>& args, ExportArgs* a, std::string* err) {
    std::vector<std::string> copies = {"quillet-export"};
    copies.insert(copies.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : copies) argv.push_back(s.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStderr();
    const int ok = ParseExportArgs(int(copies.size()), argv.data(), a);
    *err = testing::internal::GetCapturedStderr();
    return ok;
}

TEST(ParseExportArgs, UsableLines) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* want;
    };
    const Case cases[] = {
        {"the two paths alone",
         {"p.jpg", "o.bmp"},
         "p.jpg > o.bmp zoom  turns 0 mirror 0 knob 0 pan - stamps"},
        {"options anywhere, zoom steps and stamps in their order",
         {"--zoom-in", "--zoom-out", "p.jpg", "--zoom-in", "--rotate", "--mirror", "--rotate",
          "--brightness", "119", "--pan", "-3,4", "--stamp", "a.bmp", "o.jpg", "--stamp",
          "b.png@10,-20"},
         "p.jpg > o.jpg zoom +-+ turns 2 mirror 1 knob 119 pan -3,4 stamps [a.bmp] [b.png at "
         "10,-20]"},
        {"values after an equals sign",
         {"--brightness=1", "--pan=+5,0", "--stamp=c.bmp@0,0", "p", "o"},
         "p > o zoom  turns 0 mirror 0 knob 1 pan 5,0 stamps [c.bmp at 0,0]"},
        {"-- ends the options",
         {"--", "-p.bmp", "--mirror"},
         "-p.bmp > --mirror zoom  turns 0 mirror 0 knob 0 pan - stamps"},
        {"a lone - is a name",
         {"-", "o.bmp"},
         "- > o.bmp zoom  turns 0 mirror 0 knob 0 pan - stamps"},
        {"an @ without a position belongs to the name",
         {"--stamp", "me@home.bmp", "--stamp", "x@1,2,3", "--stamp", "s@1,2@3,4", "p", "o"},
         "p > o zoom  turns 0 mirror 0 knob 0 pan - stamps [me@home.bmp] [x@1,2,3] [s@1,2 at "
         "3,4]"},
        {"--help ends the reading", {"p", "--help", "--no-such-option"}, "help"},
        {"-h", {"-h"}, "help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExportArgs a;
        std::string err;
        ASSERT_EQ(Parse(c.args, &a, &err), 1) << err;
        EXPECT_EQ(DescribeArgs(a), c.want);
        EXPECT_EQ(err, "");
    }
}

TEST(ParseExportArgs, UsageErrorsSayWhatIsWrong) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* msg;
    };
    const Case cases[] = {
        {"nothing", {}, "写真と出力先を指定してください"},
        {"one path", {"p.jpg"}, "写真と出力先を指定してください"},
        {"three paths", {"p.jpg", "o.bmp", "x"}, "余分な引数があります: x"},
        {"unknown option", {"--zoom", "p", "o"}, "不明なオプションです: --zoom"},
        {"a flag with a value", {"--mirror=1", "p", "o"}, "不明なオプションです: --mirror=1"},
        {"value missing at the end", {"p", "o", "--pan"}, "値がありません: --pan"},
        {"knob 0", {"--brightness", "0", "p", "o"}, "1 から 119 までの整数で指定してください: 0"},
        {"knob 120", {"--brightness=120", "p", "o"}, "整数で指定してください: 120"},
        {"knob with a fraction", {"--brightness", "60.5", "p", "o"}, "整数で指定してください"},
        {"knob with a blank", {"--brightness", " 60", "p", "o"}, "整数で指定してください"},
        {"knob empty", {"--brightness=", "p", "o"}, "整数で指定してください"},
        {"knob twice",
         {"--brightness", "3", "--brightness", "3", "p", "o"},
         "二度指定されています: --brightness"},
        {"mirror twice", {"--mirror", "--mirror", "p", "o"}, "二度指定されています: --mirror"},
        {"pan twice", {"--pan", "1,1", "--pan=1,1", "p", "o"}, "二度指定されています: --pan"},
        {"pan of one number", {"--pan", "3", "p", "o"}, "DX,DY の形の整数で指定してください: 3"},
        {"pan without DY", {"--pan", "3,", "p", "o"}, "DX,DY の形の整数"},
        {"pan without DX", {"--pan", ",4", "p", "o"}, "DX,DY の形の整数"},
        {"pan of three numbers", {"--pan", "1,2,3", "p", "o"}, "DX,DY の形の整数"},
        {"pan beyond any view", {"--pan", "1000000001,0", "p", "o"}, "DX,DY の形の整数"},
        {"stamp without a name",
         {"--stamp", "@3,4", "p", "o"},
         "スタンプのファイル名がありません: --stamp"},
        {"stamp empty", {"--stamp=", "p", "o"}, "スタンプのファイル名がありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExportArgs a;
        std::string err;
        EXPECT_EQ(Parse(c.args, &a, &err), 0);
        EXPECT_EQ(err.rfind("quillet-export: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.msg), std::string::npos) << err;
        EXPECT_NE(err.find("使い方: quillet-export [オプション] 写真 出力先"), std::string::npos);
    }
}

}  // namespace
