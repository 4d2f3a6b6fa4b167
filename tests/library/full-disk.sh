#!/usr/bin/env bash
# Runs a Windows test program with the test prefix's c:\Nemtora on a full disk: a tmpfs of
# 12 KiB mounted at <mount point> and linked as drive_c/Nemtora. Whatever was there before is
# put back on every way out, and a run killed half way is undone by the next one.
#   full-disk.sh <mount point> <program.exe> [arguments...]
set -euo pipefail
mount_point=$1
shift
[ "$(id -u)" -eq 0 ] || { echo "full-disk: mounting a tmpfs needs root" >&2; exit 1; }
[ -n "${WINEPREFIX:-}" ] || { echo "full-disk: WINEPREFIX is not set" >&2; exit 2; }
folder=$WINEPREFIX/drive_c/Nemtora
saved=$WINEPREFIX/drive_c/Nemtora.before-full-disk

put_back() {
    if [ -L "$folder" ]; then rm "$folder"; fi
    if [ -e "$saved" ] && [ ! -e "$folder" ]; then mv "$saved" "$folder"; fi
    if mountpoint -q "$mount_point"; then umount "$mount_point"; fi
    if [ -d "$mount_point" ]; then rmdir "$mount_point"; fi
}
put_back
trap put_back EXIT

if [ -e "$folder" ]; then mv "$folder" "$saved"; fi
mkdir -p "$mount_point"
mount -t tmpfs -o size=12k valkesta-full-disk "$mount_point"
ln -s "$mount_point" "$folder"
wine "$@" </dev/null
