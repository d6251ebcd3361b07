#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Puts the licence's SPDX line at the top of each source file named, after a shebang where there
# is one, as scripts/check-style.sh asks: "// SPDX-License-Identifier: MIT" in C and C++ files,
# "# SPDX-License-Identifier: MIT" in CMake, shell and Python files. A file that already starts
# with it is left as it is.
set -euo pipefail
for file in "$@"; do
    case "$file" in
        *.cpp | *.h | *.c) line='// SPDX-License-Identifier: MIT' ;;
        *.sh | *.py | *.cmake | *CMakeLists.txt) line='# SPDX-License-Identifier: MIT' ;;
        *)
            echo "add-spdx-line: $file is not a C, C++, CMake, shell or Python file" >&2
            exit 2
            ;;
    esac
    if head -n 2 "$file" | grep -qxF "$line"; then
        continue
    elif [ ! -s "$file" ]; then
        echo "$line" >"$file"
    elif head -n 1 "$file" | grep -q '^#!'; then
        sed -i "1a $line" "$file"
    else
        sed -i "1i $line" "$file"
    fi
done
