// The upload's answer: any bytes as the body of the server's answer to PostData, served by a
// loopback server of the run's own. An answer that starts with "OK" is an accepted upload and
// tells nothing. Any other is a failure told in one message: an answer "NG" with a code has the
// message of its code (two digits after "NG" are that code), any other the failure alone. The
// message boxes are laid out by the font library, whose caches tools/lsan.supp lets pass.
#include <stdlib.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "fuzz_dir.h"
#include "platform/controls/commctrl.h"
#include "platform/user/modal.h"
#include "platform/user/window.h"
#include "send/upload.h"
#include "support/httpserver.h"

namespace {

constexpr size_t kAnswerSize = 256;  // the bytes of the answer that PostData reads
constexpr int kMsgTextId = 1041;

std::vector<std::string> g_told;

int TakeMsg(const ModalEvent* e) {
    char text[MAX_PATH] = "";
    if (e->kind == MODAL_DIALOG && e->templ == 199)
        GetWindowTextA(GetDlgItem(e->wnd, kMsgTextId), text, MAX_PATH);
    else if (e->kind == MODAL_MSGBOX && e->text)
        snprintf(text, sizeof text, "%s", e->text);
    else
        abort();  // no other window belongs to an upload
    g_told.push_back(text);
    return IDOK;
}

int MakeUploadEnv() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    if (!MakeFuzzAppFolder("upload_answer_fuzz")) return 0;
    InitCommonControls();
    SetModalHook(TakeMsg);
    g_uploadReq = UploadRequest{"a@example.jp", "s", "m", "OFF()", ""};
    char jpg[MAX_PATH];
    FILE* f = MakeAppFilePath(kTempJpgName, jpg) ? fopen(jpg, "wb") : nullptr;
    if (!f || fwrite("\xFF\xD8", 1, 2, f) != 2 || fclose(f) != 0) return 0;
    return SetRegValue("USERID", "me@example.jp") && SetRegValue("PASSWORD", "pw") &&
           SetRegValue("ALBUMID", "album1");
}

const char kFailMsg[] = "送信失敗\nエラーが発生しました";
const char kAccountMsg[] = "アルバムＩＤ、パスワードを確認してください";
const char kWaitingMsg[] = "日時指定メールがすでに５件あります";

// The message of code: 7 and 10 have their own, every other code is shown as a number.
std::string CodeMsg(int code) {
    if (code == 7) return kAccountMsg;
    if (code == 10) return kWaitingMsg;
    return std::string(kFailMsg) + "\nエラーコード " + std::to_string(code) + "S";
}

// Whether text is the message of an answer "NG" + after: the code of two digits after "NG" is
// that number; any other has a code of 0 to 99.
int IsNgMsg(const std::string& text, const std::string& after) {
    const auto isDigit = [&](size_t i) {
        return i < after.size() && isdigit((unsigned char)after[i]);
    };
    if (isDigit(0) && isDigit(1)) return text == CodeMsg(std::stoi(after.substr(0, 2)));
    for (int code = 0; code < 100; code++)
        if (text == CodeMsg(code)) return 1;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int ready = MakeUploadEnv();
    if (!ready) return 0;
    const std::string body(reinterpret_cast<const char*>(data), size);
    HttpServer server;
    HttpServer::Reply reply;
    reply.answer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n" + body;
    server.SetReply(reply);
    snprintf(g_app.ServerHost, MAX_PATH, "%s", server.HostPort().c_str());
    g_told.clear();
    const int accepted = PostData(nullptr);
    // PostData sees the answer as text: up to its first NUL, at most kAnswerSize bytes.
    const std::string answer(body.c_str(), strnlen(body.c_str(), kAnswerSize));
    if (accepted != (answer.compare(0, 2, "OK") == 0)) abort();
    if (accepted) {
        if (!g_told.empty()) abort();
        return 0;
    }
    if (g_told.size() != 1) abort();
    const int told = answer.compare(0, 2, "NG") == 0 ? IsNgMsg(g_told[0], answer.substr(2))
                                                     : g_told[0] == kFailMsg;
    if (!told) abort();
    return 0;
}
