# Shared by the scripts that run Windows programs under Wine: a display, a prefix of our own,
# and a persistent wineserver. Source it, call wine_env_start <prefix>; everything it started
# is stopped by wine_env_stop, which it also installs as the EXIT trap.

wine_env_started_xvfb=""
wine_env_prefix=""

wine_env_export() {
    export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # The ANSI code page follows LANG: Windows-1251 for the program's Cyrillic file names.
    export LANG=ru_RU.UTF-8
    unset LC_ALL LC_CTYPE
}

wine_env_free_display() {
    local n
    for n in $(seq 90 150); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

wine_env_start_xvfb() {
    local n i
    n=$(wine_env_free_display) || { echo "no free X display" >&2; return 1; }
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    wine_env_started_xvfb=$!
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        kill -0 "$wine_env_started_xvfb" 2>/dev/null || { echo "Xvfb :$n did not start" >&2; return 1; }
        sleep 0.1
    done
    export DISPLAY=":$n"
}

# Creates the prefix once (a throwaway one inside the build tree), then keeps one wineserver
# running for it so that each Windows program starts in a fraction of a second.
wine_env_start() {
    wine_env_prefix="$1"
    trap wine_env_stop EXIT
    trap 'exit 130' INT TERM
    wine_env_export "$wine_env_prefix"
    [ -n "${DISPLAY:-}" ] || wine_env_start_xvfb || return 1
    mkdir -p "$wine_env_prefix"
    local fresh=""
    [ -f "$wine_env_prefix/system.reg" ] || fresh=1
    wineserver -p </dev/null >/dev/null 2>&1
    if [ -n "$fresh" ]; then
        echo "wine: creating prefix $wine_env_prefix (once)"
        wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot -i failed" >&2; return 1; }
        # A crashing program must end, not wait on the debugger's dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1
    else
        wineboot </dev/null >/dev/null 2>&1 || true
    fi
}

wine_env_stop() {
    if [ -n "$wine_env_prefix" ]; then
        WINEPREFIX="$wine_env_prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
        wine_env_prefix=""
    fi
    if [ -n "$wine_env_started_xvfb" ]; then
        kill "$wine_env_started_xvfb" 2>/dev/null || true
        wait "$wine_env_started_xvfb" 2>/dev/null || true
        wine_env_started_xvfb=""
    fi
}
