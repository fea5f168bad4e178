// The sibling program's version, told by the names of its registry sub-keys.
#include "app/reginfo.h"

double GetSiblingVersion() {
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSiblingKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    double best = 0;
    for (DWORD i = 0;; i++) {
        char name[15];
        DWORD size = sizeof name;
        const LSTATUS st = RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (st == ERROR_NO_MORE_ITEMS) break;
        // Any other failure, a name too long for the buffer included, leaves the version unknown.
        if (st != ERROR_SUCCESS) {
            best = 0;
            break;
        }
        // Digits only: 2.11.000 reads 211000.
        double value = 0;
        for (DWORD k = 0; k < size; k++)
            if (name[k] >= '0' && name[k] <= '9') value = value * 10 + (name[k] - '0');
        if (value > best) best = value;
    }
    RegCloseKey(key);
    return best;
}
