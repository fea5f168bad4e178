#!/usr/bin/env bash
# Keeps the platform layer's folders honest:
# - the program includes only the headers platform/README.md lists as public; the platform's own
#   tests (tests/platform/<folder>/) may also include the other headers of the folder they test;
# - a folder includes from another folder only when platform/CMakeLists.txt links it, and it
#   links only folders made before it there, so that every arrow points downwards.
# Prints every breach and fails when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

public=$(grep -o '`platform/[a-z_/]*\.h`' platform/README.md | tr -d '`' | sort -u)
[ -n "$public" ] || { echo "platform/README.md lists no public header" >&2; exit 1; }
bad=0

includes() {  # includes FILE: the platform headers FILE includes
    grep -o '#include "platform/[a-z_/]*\.h"' "$1" | sed 's/#include "\(.*\)"/\1/' || true
}

while IFS= read -r f; do
    own=""
    case "$f" in tests/platform/*/*) own=$(echo "$f" | cut -d/ -f3) ;; esac
    for h in $(includes "$f"); do
        grep -qx "$h" <<<"$public" && continue
        [ -n "$own" ] && [[ "$h" == platform/"$own"/* ]] && continue
        echo "$f includes $h, which is not a public platform header"
        bad=1
    done
done < <(find app ui image browser send address codec res server tools bench tests \
    -name '*.cpp' -o -name '*.h' | sort)

# The folders in the order platform/CMakeLists.txt makes them, and what each links.
rooms=$(grep -o '^platform_room([a-z]*)' platform/CMakeLists.txt | sed 's/platform_room(\(.*\))/\1/')
links() {  # links ROOM: the folders ROOM links
    awk -v t="target_link_libraries(platform_$1" 'index($0, t) == 1 { on = 1 }
        on { print } on && /\)/ { exit }' platform/CMakeLists.txt |
        grep -o 'platform_[a-z]*' | sed 's/platform_//' | grep -vx "$1" || true
}
made=""
for r in $rooms; do
    linked=$(links "$r")
    for l in $linked; do
        grep -qx "$l" <<<"$made" && continue
        echo "platform_$r links platform_$l, which is not made before it: an arrow upwards"
        bad=1
    done
    for f in platform/"$r"/*; do
        for h in $(includes "$f"); do
            other=$(echo "$h" | cut -d/ -f2)
            [ "$other" = "$r" ] || [ "$other" = wintypes.h ] && continue
            grep -qx "$other" <<<"$linked" && continue
            echo "$f includes $h, but platform_$r does not link platform_$other"
            bad=1
        done
    done
    made=$(printf '%s\n%s' "$made" "$r")
done

[ $bad -eq 0 ] && echo "platform headers: every include follows the folders' rules"
exit $bad
