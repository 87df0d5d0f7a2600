#!/usr/bin/env bash
# The release is reproducible and can be checked: tools/release.sh runs in two
# copies of this tree (the files git tracks or would track, as they are now)
# at different paths, the second with fresh file times, another umask and
# another time zone, both with this commit's time. The two dist/ folders must
# be equal byte for byte, their SHA256SUMS must check and name every zip and
# executable, and each zip must hold README.txt (CR LF lines) and the very
# vandrel.exe the sums name, with the commit's time and rw-r--r--.
# tools/release.sh itself checks the executables (edition, stripped, import
# table, version, the 32-bit one's size).
#   check-release.sh WORK-DIRECTORY
set -u
cd "$(dirname "$0")/.."
work=$1
epoch=$(git log -1 --format=%ct) || exit 1
one=$work/a/vandrel
two=$work/second-copy/vandrel-tree
rm -rf "$work"
for copy in "$one" "$two"; do
  mkdir -p "$copy"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$copy" || exit 1
done
find "$two" -exec touch {} +

echo "release in $one"
SOURCE_DATE_EPOCH=$epoch bash "$one/tools/release.sh" || exit 1
echo "release in $two (umask 077, TZ XST-9)"
(umask 077 && SOURCE_DATE_EPOCH=$epoch TZ=XST-9 bash "$two/tools/release.sh") || exit 1

status=0
if ! diff <(cd "$one/dist" && find . | sort) <(cd "$two/dist" && find . | sort); then
  echo "the two dist/ folders hold different files"
  status=1
fi
while IFS= read -r file; do
  if [ -f "$two/dist/$file" ] && ! cmp -s "$one/dist/$file" "$two/dist/$file"; then
    echo "differs between the two builds: $file, $(cmp -l "$one/dist/$file" "$two/dist/$file" | wc -l) bytes;" \
      "the first (offset, octal bytes): $(cmp -l "$one/dist/$file" "$two/dist/$file" | head -n 4 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')"
    status=1
  fi
done < <(cd "$one/dist" && find . -type f | sort)
(cd "$one/dist" && sha256sum -c SHA256SUMS) || status=1

python3 - "$one/dist" "$epoch" <<'EOF' || status=1
import pathlib, sys, time, zipfile
dist, epoch = pathlib.Path(sys.argv[1]), int(sys.argv[2])
faults = []
zips = sorted(dist.glob("*.zip"))
if [z.stem.rsplit("-", 1)[-1] for z in zips] != ["win32", "win64"]:
    faults.append(f"expected a win32 and a win64 zip, found {[z.name for z in zips]}")
named = {line.split("  ", 1)[1] for line in (dist / "SHA256SUMS").read_text().splitlines()}
expected = {name for z in zips for name in (z.name, f"{z.stem}/vandrel.exe")}
if named != expected:
    faults.append(f"SHA256SUMS names {sorted(named)}, not {sorted(expected)}")
for z in zips:
    with zipfile.ZipFile(z) as archive:
        infos = archive.infolist()
        if [i.filename for i in infos] != ["README.txt", "vandrel.exe"]:
            faults.append(f"{z.name} holds {[i.filename for i in infos]}")
            continue
        for info in infos:
            data = archive.read(info)
            if data != (dist / z.stem / info.filename).read_bytes():
                faults.append(f"{z.name}: {info.filename} is not {z.stem}/{info.filename}")
            # A zip entry's time counts in steps of two seconds.
            if info.date_time != time.gmtime(epoch - epoch % 2)[:6] or info.external_attr >> 16 != 0o100644:
                faults.append(f"{z.name}: {info.filename} has {info.date_time}, {oct(info.external_attr >> 16)}")
        readme = archive.read("README.txt")
        if not readme.endswith(b"\r\n") or readme.count(b"\n") != readme.count(b"\r\n"):
            faults.append(f"{z.name}: README.txt has lines not ended by CR LF")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
EOF

if [ "$status" -eq 0 ]; then
  echo "the two releases are identical, byte for byte, and their sums check"
fi
exit "$status"
