#!/usr/bin/env bash
# Runs the CI command on a fresh Debian 12: bootstraps a minimal system into
# a directory (debootstrap, as root, with the network), clones this
# repository's committed state into it and runs `bash .ci/run` there, package
# installation included, with an empty environment (no locale set, as on a
# bare machine). Prints the time it took.   bash tools/fresh-machine.sh [DIR]
# A DIR that holds a system already is used as it is, packages and all: name
# a new one for a fresh measurement.
set -eu
cd "$(dirname "$0")/.."
root=${1:-/var/tmp/vandrel-fresh}
[ "$(id -u)" -eq 0 ] || { echo "run as root"; exit 1; }
command -v debootstrap >/dev/null || { apt-get update && apt-get install -y debootstrap; }
mounted=()
cleanup() { for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}"; done; }
trap cleanup EXIT
if [ ! -x "$root/bin/bash" ]; then debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian; fi
for m in proc sys dev dev/pts dev/shm; do
  mountpoint -q "$root/$m" || { mount --bind "/$m" "$root/$m" && mounted+=("$root/$m"); }
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "$root/root/vandrel"
git clone -q . "$root/root/vandrel"
start=$SECONDS
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd /root/vandrel && bash .ci/run' || status=$?
echo "the CI command ended with $status after $(( (SECONDS - start) / 60 )) min $(( (SECONDS - start) % 60 )) s"
exit $status
