// The WinINet failure number for a failed curl transfer, apart so that it can be tested without
// curl's headers.
#pragma once

#include "platform/wintypes.h"

// code is a CURLcode; connected says a connection to the server (or proxy) was made, which turns
// a time-out from one of the connect into one of the exchange.
DWORD InetErrorOfCurl(int code, int connected);
