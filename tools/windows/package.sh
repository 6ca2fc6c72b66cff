#!/usr/bin/env bash
# Packs the Windows build into BUILD/velloria-VERSION-windows-x64.zip:
# velloria.exe and the DLLs it loads, the tunes, README.txt (the player's
# part of README.md) and the licences, under one folder velloria-VERSION/.
#   tools/windows/package.sh BUILD PREFIX
# The zip is the same bytes from the same sources: entries sorted, every date
# the last commit's (or SOURCE_DATE_EPOCH), fixed permissions, nothing of the
# build's paths (the programs are stripped).
set -euo pipefail
build=${1:?usage: tools/windows/package.sh BUILD PREFIX}
prefix=${2:?usage: tools/windows/package.sh BUILD PREFIX}
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^project(Velloria VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
stage=$build/zip-stage
rm -rf "$stage"
mkdir -p "$stage"
trap 'rm -rf "$stage"' EXIT

# strip stamps the programs it writes with this time, not the clock's.
export SOURCE_DATE_EPOCH=$epoch
strip=x86_64-w64-mingw32-strip
$strip -o "$stage/velloria.exe" "$build/velloria.exe"
# The DLLs of SDL and the mixer, and the compiler's run-time ones the
# program or they name (found by what each file imports).
runtime=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-file-name=libstdc++-6.dll)")
dll_dirs=("$prefix/bin" "$runtime" /usr/x86_64-w64-mingw32/lib)
pending=("$stage/velloria.exe")
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    for dir in "${dll_dirs[@]}"; do
      if [ -f "$dir/$dll" ]; then
        $strip -o "$stage/$dll" "$dir/$dll"
        pending+=("$stage/$dll")
        break
      fi
    done  # a DLL found nowhere is Windows' own
  done
done
for tune in music/Music0*.mid music/Music0*.ogg; do cp "$tune" "$stage/"; done
# README.md's sections up to the developers' part, with Windows line ends.
sed '/^## For developers/,$d' README.md | sed 's/$/\r/' >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
sed 's/$/\r/' LICENSE-assets >"$stage/LICENSE-assets.txt"

zip=$build/velloria-$version-windows-x64.zip
python3 - "$stage" "$zip" "velloria-$version" "$epoch" <<'PY'
import os, sys, time, zipfile
stage, out, top, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
date = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot hold a date before 1980
with zipfile.ZipFile(out + ".new", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(os.listdir(stage)):
        info = zipfile.ZipInfo(f"{top}/{name}", date)
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
os.replace(out + ".new", out)
PY
ls -l "$zip"
