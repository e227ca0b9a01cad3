#!/usr/bin/env bash
# Builds the 32-bit Windows deliverable (win32 preset) and packs it:
# dist/velmora-filters-win32.zip holds every plug-in DLL and readme.txt
# (Japanese and English, code page 932 with CRLF line ends, as Windows
# editors of the users' systems expect).
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
cd "$VF_ROOT"

vf_ensure_packages "the Windows build" "${VF_WINDOWS_BUILD_PACKAGES[@]}" || exit 1
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${VF_JOBS:-2}"

shopt -s nullglob
dlls=(build/win32/plugins/*.dll)
if [ ${#dlls[@]} -eq 0 ]; then
  echo "package.sh: no plug-in DLL in build/win32/plugins" >&2
  exit 1
fi

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/velmora-filters"
cp "${dlls[@]}" "$stage/velmora-filters/"

{
  cat <<'TEXT'
Velmora フィルター集 (32 ビット版)
==================================

入っているもの
TEXT
  for dll in "${dlls[@]}"; do echo "  $(basename "$dll")"; done
  cat <<'TEXT'

使い方
  1. Velmora を終了します。
  2. 上の .dll ファイルをすべて、Velmora がフィルターのプラグインを読み込む
     フォルダー(Velmora の説明書に書かれている場所)にコピーします。
  3. Velmora を起動すると、フィルターのメニューに各フィルターの名前が出ます。
  設定はフィルターごとに「名前.dat」というファイルとして、Velmora が指定する
  フォルダーに保存されます。フィルターを削除するときは .dll を消してください。
  背景透明化 (clearback.dll)・不透明化 (opaquefill.dll)・全スクロール
  (fullscroll.dll) は、行単位のやり取りに対応した Velmora 1.4e 以降、
  または A/VELMORA 0.0u 以降で使えます。
  追加のランタイム DLL は必要ありません。

Velmora filter collection (32-bit)
==================================

How to install
  1. Quit Velmora.
  2. Copy all the .dll files listed above into the folder from which Velmora
     loads filter plug-ins (its manual names the place).
  3. Start Velmora: each filter appears in its filter menu under its title.
  Each filter keeps its settings in a file NAME.dat in the settings folder that
  Velmora names. To remove a filter, delete its .dll.
  clearback.dll, opaquefill.dll and fullscroll.dll use the line-access
  interface: they need Velmora 1.4e or later, or A/VELMORA 0.0u or later.
  No further runtime DLL is needed.
TEXT
} | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$stage/velmora-filters/readme.txt"

mkdir -p dist
rm -f dist/velmora-filters-win32.zip
(cd "$stage" && cmake -E tar cf "$VF_ROOT/dist/velmora-filters-win32.zip" --format=zip velmora-filters)
echo "== wrote dist/velmora-filters-win32.zip (${#dlls[@]} plug-ins)"
