// The character rules of the account values, on their CP932 bytes.
#include <cstdio>
#include <cstring>

#include "platform/text/codepage.h"
#include "send/account.h"

namespace {

// The symbols a password may hold besides letters and digits.
constexpr const char* kPassSymbols = "_-";

}  // namespace

int IsSingleByteText(const char* text) {
    for (const char* p = text; *p; p++)
        if (IsDBCSLeadByte(static_cast<unsigned char>(*p))) return 0;
    return 1;
}

int IsAlphaNumText(const char* text) {
    if (!IsSingleByteText(text)) return 0;
    for (const char* p = text; *p; p++)
        if (!IsCharAlphaNumericA(*p)) return 0;
    return 1;
}

int IsPasswordText(const char* text) {
    if (!IsSingleByteText(text)) return 0;
    for (const char* p = text; *p; p++)
        if (!IsCharAlphaNumericA(*p) && !strchr(kPassSymbols, *p)) return 0;
    return 1;
}

void MakePassMsg(char* buf, size_t size) {
    char head[128];
    snprintf(head, sizeof head, "パスワードは半角英数文字");
    if (*kPassSymbols)
        snprintf(head + strlen(head), sizeof head - strlen(head), "と  \"%s\"  ", kPassSymbols);
    snprintf(buf, size, "%sしか入力できません", head);
}
