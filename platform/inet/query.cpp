// The answer's raw header block, with the length contract of the A function.
#include <string.h>

#include "platform/inet/records.h"

BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD*) {
    InetRec* rec = InetRecOf(request, kInetRequest);
    if (!rec) return FALSE;
    if (infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF || !bufferLength || !rec->headDone) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD needed = (DWORD)rec->head.size() + 1;
    if (!buffer || *bufferLength < needed) {
        *bufferLength = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    memcpy(buffer, rec->head.c_str(), needed);
    *bufferLength = needed - 1;
    return TRUE;
}
