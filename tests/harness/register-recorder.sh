#!/usr/bin/env bash
# Registers the recorder (recorder.cpp) as the application for ".docx" and ".doc" files in the
# prefix named by WINEPREFIX, so that a shell request to open a document starts it.
#   register-recorder.sh <recorder.exe>
set -euo pipefail
[ -n "${WINEPREFIX:-}" ] || { echo "register-recorder: WINEPREFIX is not set" >&2; exit 2; }
recorder="Z:${1//\//\\}"
for extension in docx doc; do
    class="Valkesta.Test.$extension"
    wine reg add "HKCR\\.$extension" /ve /d "$class" /f </dev/null >/dev/null
    wine reg add "HKCR\\$class\\shell\\open\\command" /ve /d "\"$recorder\" \"%1\"" /f \
        </dev/null >/dev/null
done
