#!/usr/bin/env bash
# Runs a command as the ordinary user valkesta-test (made by scripts/setup), in a Wine prefix
# of that user's own (made on first use) with a wineserver that is stopped on exit, on the
# caller's display. VALKESTA_SHELL_LOG points into <scratch dir>, which the user may write.
#   as-test-user.sh <user prefix> <scratch dir> <command> [arguments...]
set -euo pipefail
user=valkesta-test
prefix=$1
scratch=$2
shift 2
[ "$(id -u)" -eq 0 ] || { echo "as-test-user: switching to $user needs root" >&2; exit 1; }
id "$user" >/dev/null 2>&1 || { echo "as-test-user: no user $user: run scripts/setup" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "as-test-user: DISPLAY is not set" >&2; exit 2; }
mkdir -p "$prefix" "$scratch"
chown "$user:" "$prefix" "$scratch"
wine_env=$(cd "$(dirname "$0")/../../scripts/lib" && pwd)/wine-env.sh

# The inner script takes its values as arguments, hence the single quotes.
# shellcheck disable=SC2016
runuser -u "$user" -- env -i HOME="$(getent passwd "$user" | cut -d: -f6)" USER="$user" \
    PATH="$PATH" DISPLAY="$DISPLAY" VALKESTA_SHELL_LOG="Z:$scratch/shell-requests.log" \
    bash -c '. "$1"; wine_env_start "$2" || exit 1; shift 2; "$@" </dev/null' \
    as-test-user "$wine_env" "$prefix" "$@"
