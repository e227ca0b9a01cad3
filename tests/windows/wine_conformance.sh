#!/usr/bin/env bash
# Conformance of the Windows build with the Linux build, under wine64.
#
#   wine_conformance.sh filters|dialogs NATIVE_BUILD WIN64_BUILD [PLUGIN...]
#
# filters: every plug-in on a generated corpus of pictures (odd widths, 1x1,
#   one row, one column, 20 and 39 rows, photo-like, line art; planes for the
#   line-access plug-ins) and settings files (missing, the dialog's defaults,
#   its extremes, a short file), run by vfhost.exe under Wine and by the
#   native vfhost: exit status, output pictures and planes, traces and the
#   settings files after the run must agree byte for byte. vfhost.exe logs the
#   clock around FilterProc; when both readings are one second the native run
#   is pinned to it (--time), otherwise the case is run again.
# dialogs: every plug-in's dialog driven by the same action sets on both
#   builds (derived from the dialog's own controls): settings files, printed
#   state, --state JSON and traces must agree. Each real dialog is pictured
#   to WIN64_BUILD/dialogs/NAME.png.
# Exit status 0 when all agree, 1 on a difference, 77 when skipped.
set -uo pipefail

suite="${1:?suite: filters or dialogs}"
native_build="$(cd "${2:?native build folder}" && pwd)"
win64_build="$(cd "${3:?win64 build folder}" 2>/dev/null && pwd)" || {
  echo "SKIPPED: ${3} is not built (win64 preset)" >&2
  exit 77
}
shift 3

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
wine_env_start "$win64_build" || exit $?

native_host="$native_build/bin/vfhost"
wine_host="$win64_build/bin/vfhost.exe"
[ -x "$native_host" ] || { echo "SKIPPED: $native_host is not built" >&2; exit 77; }
command -v convert >/dev/null || { echo "SKIPPED: ImageMagick's convert is not installed" >&2; exit 77; }

work="$win64_build/conformance/$suite"
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

failures=0
report="$work/report.txt"
: >"$report"

fail() {
  echo "FAIL $*" | tee -a "$report"
  failures=$((failures + 1))
}

# The plug-ins both builds have, with their kinds: "name kind" lines.
plugin_table() {
  "$native_host" list 2>/dev/null | awk '{ sub(/\.so$/, "", $1); print $1, $2 }'
}

windows_path() {
  local path="$1"
  echo "Z:${path//\//\\}"
}

# Runs the same vfhost command on both builds from the case folder $1:
# outputs go to n/ and w/ there, the command line uses @ where the side's
# folder belongs. Sets native_status, wine_status.
run_both() {
  local dir="$1"
  shift
  local native_args=() wine_args=() arg
  for arg in "$@"; do
    native_args+=("${arg//@/n}")
    wine_args+=("${arg//@/w}")
  done
  (cd "$dir" && timeout 600 "$native_host" "${native_args[@]}" >n.stdout 2>n.stderr)
  native_status=$?
  (cd "$dir" && wine_run w.stdout "$wine_host" "${wine_args[@]}" 2>w.stderr)
  wine_status=$?
}

# Compares n/ with w/ and the two exit statuses; names the case on failure.
compare_sides() {
  local dir="$1" name="$2" difference
  if [ "$native_status" != "$wine_status" ]; then
    fail "$name: exit status native $native_status, Windows $wine_status ($(head -c 300 "$dir/w.stderr"))"
    return 1
  fi
  difference="$(diff -r "$dir/n" "$dir/w" 2>&1 | head -c 600)"
  if [ -n "$difference" ]; then
    fail "$name: $difference"
    return 1
  fi
  return 0
}

# ---------------------------------------------------------------- corpus
make_corpus() {
  mkdir -p corpus
  # name geometry ImageMagick-source
  local pictures=(
    "dot 1x1 xc:#4080c0"
    "row 17x1 gradient:#102030-#f0e0d0"
    "column 1x13 gradient:#ffffff-#000000"
    "odd 7x5 plasma:fractal"
    "twenty 23x20 plasma:fractal"
    "thirtynine 13x39 plasma:#204060-#e0c0a0"
    "photo 41x31 plasma:fractal"
  )
  local entry name geometry source
  for entry in "${pictures[@]}"; do
    read -r name geometry source <<<"$entry"
    convert -seed 7 -size "$geometry" "$source" -type TrueColor "BMP3:corpus/$name.bmp"
    convert -size "$geometry" gradient:white-black -rotate 0 -depth 8 "pgm:corpus/$name-alpha.pgm"
    convert -size "$geometry" pattern:checkerboard -colorspace Gray -depth 8 "pgm:corpus/$name-mask.pgm"
  done
  # Line art: dark strokes and specks on light paper.
  convert -size 25x21 xc:'#f4f4f0' -fill black -draw "line 2,3 20,15" -draw "point 5,17" -draw "point 12,4" \
    -fill '#303030' -draw "rectangle 16,2 18,5" -type TrueColor BMP3:corpus/lineart.bmp
  convert -size 25x21 gradient:black-white -depth 8 pgm:corpus/lineart-alpha.pgm
  convert -size 25x21 xc:black -fill white -draw "rectangle 0,0 8,20" -fill gray50 -draw "rectangle 9,0 12,20" \
    -colorspace Gray -depth 8 pgm:corpus/lineart-mask.pgm
  corpus_pictures=(dot row column odd twenty thirtynine photo lineart)
  # The settings beyond missing and defaults are tried on fewer pictures:
  # the smallest, one with row padding, the tallest and the photo.
  corpus_edge_pictures=(dot odd thirtynine photo)
}

# ------------------------------------------------------- dialog controls
# The dialog's controls as "id class min max pos items" lines, from the
# native host's --state JSON of the dialog closed at once.
dialog_controls() {
  local plugin="$1" scratch
  scratch="$(mktemp -d)"
  "$native_host" options "$plugin" --settings "$scratch" --state "$scratch/state.json" --close >/dev/null 2>&1
  grep -o '{"id":[^{}]*}' "$scratch/state.json" 2>/dev/null | while read -r control; do
    local id class min max pos items
    id="$(sed -n 's/.*"id":\(-\?[0-9]*\).*/\1/p' <<<"$control")"
    class="$(sed -n 's/.*"class":"\([^"]*\)".*/\1/p' <<<"$control")"
    min="$(sed -n 's/.*"min":\(-\?[0-9]*\).*/\1/p' <<<"$control")"
    max="$(sed -n 's/.*"max":\(-\?[0-9]*\).*/\1/p' <<<"$control")"
    pos="$(sed -n 's/.*"pos":\(-\?[0-9]*\).*/\1/p' <<<"$control")"
    items=0
    if grep -q '"items":\[' <<<"$control"; then
      items="$(sed -n 's/.*"items":\[\([^]]*\)\].*/\1/p' <<<"$control" | grep -o '"\(\\.\|[^"\\]\)*"' | wc -l)"
    fi
    echo "$id $class ${min:-_} ${max:-_} ${pos:-_} $items"
  done
  rm -rf "$scratch"
}

# The action sets that drive a dialog: "name|actions" lines.
dialog_action_sets() {
  local plugin="$1" controls to_max="" to_min="" steps="" clicks="" typed_small="" typed_big=""
  controls="$(dialog_controls "$plugin")"
  local id class min max pos items
  while read -r id class min max pos items; do
    [ -z "$id" ] && continue
    case "$class" in
      updown)
        [ "$min" = _ ] && continue
        # At most 300 presses each way: ranges of thousands would take
        # minutes of messages under Wine.
        local up=$((max - pos)) down=$((min - pos))
        [ "$up" -gt 300 ] && up=300
        [ "$up" -lt -300 ] && up=-300
        [ "$down" -gt 300 ] && down=300
        [ "$down" -lt -300 ] && down=-300
        to_max+=" --updown $id=$up"
        to_min+=" --updown $id=$down"
        steps+=" --updown $id=1 --updown $id=-2"
        ;;
      scrollbar)
        [ "$min" = _ ] && continue
        to_max+=" --scroll $id=thumbposition:$max"
        to_min+=" --scroll $id=thumbposition:$min"
        steps+=" --scroll $id=lineright --scroll $id=pageright --scroll $id=lineleft --scroll $id=pageleft"
        steps+=" --scroll $id=pageleft --scroll $id=lineright --scroll $id=endscroll"
        ;;
      combobox)
        [ "$items" -gt 0 ] || continue
        to_max+=" --select $id=$((items - 1))"
        to_min+=" --select $id=0"
        ;;
      edit)
        typed_small+=" --set $id=7"
        typed_big+=" --set $id=99999"
        ;;
      button)
        [ "$id" -gt 1 ] && clicks+=" --click $id"
        ;;
    esac
  done <<<"$controls"
  echo "ok|--ok"
  echo "close|$to_max --close"
  [ -n "$to_max" ] && echo "max|$to_max --ok"
  [ -n "$to_min" ] && echo "min|$to_min --ok"
  [ -n "$steps" ] && echo "steps|$steps --ok"
  [ -n "$clicks" ] && echo "buttons|--choose-colour 3366CC$clicks --ok"
  [ -n "$clicks" ] && echo "buttons-twice|--choose-colour 80FF00 --choose-colour 102030$clicks$clicks --ok"
  [ -n "$typed_small" ] && echo "typed-small|$typed_small --ok"
  [ -n "$typed_big" ] && echo "typed-big|$typed_big --ok"
}

# ----------------------------------------------------------- the suites
dialogs_suite() {
  local plugin="$1" kind="$2" cases=0 line name actions dir
  mkdir -p "$win64_build/dialogs"
  while IFS='|' read -r name actions; do
    dir="$work/$plugin/$name"
    mkdir -p "$dir/n/settings" "$dir/w/settings"
    local snapshot=""
    [ "$name" = ok ] && snapshot="$(windows_path "$win64_build/dialogs/$plugin.png")"
    # shellcheck disable=SC2086
    VFHOST_DIALOG_SNAPSHOT="$snapshot" run_both "$dir" options "$plugin" --settings @/settings \
      --trace @/trace.jsonl --state @/state.json $actions
    cp "$dir/n.stdout" "$dir/n/stdout"
    cp "$dir/w.stdout" "$dir/w/stdout"
    compare_sides "$dir" "dialogs $plugin $name" || true
    cases=$((cases + 1))
  done < <(dialog_action_sets "$plugin")
  [ -s "$win64_build/dialogs/$plugin.png" ] || fail "dialogs $plugin: no snapshot $win64_build/dialogs/$plugin.png"
  echo "$plugin $cases" >>"$work/cases.txt"
}

# Settings folders for the runs: missing, dialog defaults, extremes, short.
make_run_settings() {
  local plugin="$1" base="$work/$plugin/settings" name actions file size
  mkdir -p "$base/missing"
  while IFS='|' read -r name actions; do
    case "$name" in ok | max | min | buttons) ;; *) continue ;; esac
    mkdir -p "$base/$name"
    # shellcheck disable=SC2086
    "$native_host" options "$plugin" --settings "$base/$name" $actions >/dev/null 2>&1
  done < <(dialog_action_sets "$plugin")
  for file in "$base"/max/*.dat "$base"/ok/*.dat; do
    [ -f "$file" ] || continue
    size=$(stat -c %s "$file")
    mkdir -p "$base/short"
    head -c $((size / 2)) "$file" >"$base/short/$(basename "$file")"
    break
  done
}

# Whether the plug-in's result depends on the clock: two native runs on the
# photo, pinned to different seconds, disagree.
clock_seeded() {
  local plugin="$1" kind="$2" scratch second layers=()
  scratch="$(mktemp -d)"
  for second in 1000000000 1000000007; do
    mkdir -p "$scratch/$second"
    [ "$kind" = 10 ] && layers=(--alpha corpus/photo-alpha.pgm --mask corpus/photo-mask.pgm
      --out-alpha "$scratch/$second/alpha.pgm" --out-mask "$scratch/$second/mask.pgm")
    timeout 600 "$native_host" run "$plugin" --settings "$scratch/$second" --time "$second" \
      --in corpus/photo.bmp --out "$scratch/$second/out.bmp" "${layers[@]}" >/dev/null 2>&1
  done
  ! diff -r "$scratch/1000000000" "$scratch/1000000007" >/dev/null
  local seeded=$?
  rm -rf "$scratch"
  return $seeded
}

filters_suite() {
  local plugin="$1" kind="$2" cases=0 picture settings dir name attempt before after attempts=1
  make_run_settings "$plugin"
  # Only for a clock-seeded plug-in must the Windows run fall within one
  # second; it is repeated until it does.
  clock_seeded "$plugin" "$kind" && attempts=8
  for settings in "$work/$plugin/settings"/*/; do
    settings="${settings%/}"
    local pictures=("${corpus_pictures[@]}")
    case "$(basename "$settings")" in missing | ok) ;; *) pictures=("${corpus_edge_pictures[@]}") ;; esac
    for picture in "${pictures[@]}"; do
      name="$(basename "$settings")-$picture"
      dir="$work/$plugin/run/$name"
      local layers=()
      # The extremes make some filters run for minutes (thousands of noise
      # clusters); there both builds are stopped by ESC at the 50th poll.
      [ "$(basename "$settings")" = max ] && layers+=(--esc 50)
      if [ "$kind" = 10 ]; then
        layers+=(--alpha "$work/corpus/$picture-alpha.pgm" --mask "$work/corpus/$picture-mask.pgm"
          --out-alpha @/alpha.pgm --out-mask @/mask.pgm)
      fi
      for attempt in $(seq 1 "$attempts"); do
        rm -rf "$dir"
        mkdir -p "$dir/n" "$dir/w"
        cp -r "$settings" "$dir/n/settings"
        cp -r "$settings" "$dir/w/settings"
        (cd "$dir" && VFHOST_CLOCK_LOG=clock.txt wine_run w/stdout "$wine_host" run "$plugin" \
          --settings w/settings --in "$work/corpus/$picture.bmp" --out w/out.bmp --trace w/trace.jsonl \
          "${layers[@]//@/w}" 2>w.stderr)
        wine_status=$?
        read -r before after < <(tr -d '\r' <"$dir/clock.txt" 2>/dev/null) || { before=0; after=1; }
        [ "$before" = "$after" ] && break
      done
      # Still two seconds apart (a slow run): the plug-in read one of them,
      # so the native run pinned to one of them must agree.
      if [ "$before" != "$after" ] && { [ "$attempts" -eq 1 ] || [ $((after - before)) -gt 5 ]; }; then
        after="$before"
      fi
      local second
      for second in $(seq "$before" "$after"); do
        rm -rf "$dir/n/settings"
        cp -r "$settings" "$dir/n/settings"
        (cd "$dir" && timeout 600 "$native_host" run "$plugin" --settings n/settings --time "$second" \
          --in "$work/corpus/$picture.bmp" --out n/out.bmp --trace n/trace.jsonl "${layers[@]//@/n}" \
          2>n.stderr >n/stdout)
        native_status=$?
        [ "$second" != "$after" ] && [ "$native_status" = "$wine_status" ] && diff -r "$dir/n" "$dir/w" >/dev/null &&
          break
      done
      compare_sides "$dir" "filters $plugin $name" || true
      cases=$((cases + 1))
    done
  done
  echo "$plugin $cases" >>"$work/cases.txt"
}

# ------------------------------------------------------------------ main
started=$(date +%s)
mapfile -t table < <(plugin_table)
if [ $# -gt 0 ]; then
  wanted=" $* "
  filtered=()
  for entry in "${table[@]}"; do
    [[ "$wanted" == *" ${entry%% *} "* ]] && filtered+=("$entry")
  done
  table=("${filtered[@]}")
fi
if [ ${#table[@]} -eq 0 ]; then
  echo "no plug-ins found by $native_host list" >&2
  exit 1
fi

# Both builds must list the same plug-ins with the same kinds and titles.
"$native_host" list 2>&1 | awk '{ sub(/\.so$/, "", $1); $1 = $1; print }' >native-list.txt
wine_run wine-list.raw "$wine_host" list 2>&1
awk '{ sub(/\.dll$/, "", $1); $1 = $1; print }' wine-list.raw >wine-list.txt
cmp -s native-list.txt wine-list.txt || fail "list: $(diff native-list.txt wine-list.txt | head -c 600)"

[ "$suite" = filters ] && make_corpus
for entry in "${table[@]}"; do
  plugin="${entry%% *}"
  kind="${entry##* }"
  plugin_started=$(date +%s)
  case "$suite" in
    filters) filters_suite "$plugin" "$kind" ;;
    dialogs) dialogs_suite "$plugin" "$kind" ;;
    *) echo "unknown suite $suite" >&2; exit 2 ;;
  esac
  echo "== $suite $plugin: $(grep "^$plugin " "$work/cases.txt" | cut -d' ' -f2) cases, $(($(date +%s) - plugin_started)) s"
done
total=$(awk '{ s += $2 } END { print s + 0 }' "$work/cases.txt")
echo "== $suite: $total cases over ${#table[@]} plug-ins in $(($(date +%s) - started)) s, $failures failing" |
  tee -a "$report"
[ "$failures" -eq 0 ]
