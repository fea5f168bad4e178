// CP932 -> UTF-8 on the C library's iconv, one descriptor per call so that connection threads
// never share conversion state.
#include "server/sjis_text.h"

#include <iconv.h>

std::string SjisToUtf8Lossy(const std::string& sjis) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == (iconv_t)-1) return std::string();
    std::string out;
    char* in = const_cast<char*>(sjis.data());
    size_t inLeft = sjis.size();
    // One CP932 byte becomes at most three UTF-8 bytes.
    std::string buf(inLeft * 3 + 4, '\0');
    while (inLeft > 0) {
        char* outPos = buf.data();
        size_t outLeft = buf.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPos, &outLeft);
        out.append(buf.data(), buf.size() - outLeft);
        if (rc != (size_t)-1) break;
        // An invalid or cut-off character: mark it and go on after its first byte.
        out += "\xEF\xBF\xBD";
        in++;
        inLeft--;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}
