// The account block of an upload, from the settings key.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/user/msgbox.h"

namespace {

void UserInfoMsg(const char* text) {
    MessageBoxA(g_app.mainWnd, text, "GetUserInfo-Error", MB_OK);
}

}  // namespace

int GetUserInfo(char** text) {
    *text = nullptr;
    HKEY key;
    if (!OpenRegKey(&key)) return 0;
    char *album = nullptr, *password = nullptr, *user = nullptr;
    int ok = 0;
    // The first value missing is the one reported.
    if (!GetRegInfo(key, "ALBUMID", &album)) {
        UserInfoMsg("アルバムID取得失敗");
    } else if (!GetRegInfo(key, "PASSWORD", &password)) {
        UserInfoMsg("パスワード取得失敗");
    } else if (!GetRegInfo(key, "USERID", &user)) {
        UserInfoMsg("ID取得失敗");
    } else {
        const size_t size = strlen(password) + strlen(user) + strlen(album) + 4;
        char* block = (char*)malloc(size);
        if (!block) {
            UserInfoMsg("メモリが確保できませんでした");
        } else {
            snprintf(block, size, "%s\n%s\n%s", user, password, album);
            *text = block;
            ok = 1;
        }
    }
    free(album);
    free(password);
    free(user);
    RegCloseKey(key);
    return ok;
}
