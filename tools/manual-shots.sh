#!/usr/bin/env bash
# Renews the screenshots of the help manuals (data/help/*.png) from the real windows.
#
#   tools/manual-shots.sh [--build DIR] [--out DIR] [LANGUAGE...]
#
# LANGUAGE is es, en or pt (default: all three). Each window is shot in a fresh run of the
# program on a private virtual display (Xvfb), with a data folder made for the occasion: a
# configured station, a log with a few QSOs, an ADIF file to import, and either a tracker
# installation fed with a recorded pass played by vorta-replay, or the built-in tracker with
# element sets made so that a satellite is crossing the sky when the picture is taken
# (tools/manual-shots-elements.py). Windows are opened the way a screen reader opens them,
# through the accessibility bus (tools/manual-shots-a11y.py), or with the keys the manual
# teaches, so the script does not depend on where a menu entry or button sits. A picture with
# a message box over it is not taken. A window that cannot be opened is reported and skipped;
# the others are still shot, and the script ends with 1. Pictures are cropped to the window
# or panel they show and kept in 256 colours. Rebuild afterwards so that the PDFs take them.
#
# Needs (Debian): scripts/install-deps --manual-shots installs what it uses.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
out=$root/data/help
languages=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    --out) out=$2; shift 2 ;;
    es|en|pt) languages+=("$1"); shift ;;
    *) echo "manual-shots: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ ${#languages[@]} -gt 0 ] || languages=(es en pt)

a11y=$root/tools/manual-shots-a11y.py
elements=$root/tools/manual-shots-elements.py
version=$(sed -n 's/^project(Vorta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
main_title="Vorta Versión $version"
missing=()
for tool in Xvfb xdotool import convert sqlite3 dbus-run-session; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi-bus-launcher)
[ -e /usr/share/zoneinfo/America/Argentina/Buenos_Aires ] || missing+=(tzdata)
/usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null || missing+=("python3 Atspi")
if [ ${#missing[@]} -gt 0 ]; then
  echo "manual-shots: missing ${missing[*]}; install them with:" >&2
  echo "  scripts/install-deps --manual-shots" >&2
  exit 2
fi
for f in vorta vorta-replay share/vorta/base0.mdb share/vorta/satelites.txt; do
  [ -e "$build/$f" ] || { echo "manual-shots: $build/$f missing: build first" >&2; exit 2; }
done

# The accessibility bus is private to this run: start again inside a session bus of our own.
if [ -z "${MANUAL_SHOTS_BUS:-}" ]; then
  MANUAL_SHOTS_BUS=1 exec dbus-run-session -- "$0" --build "$build" --out "$out" "${languages[@]}"
fi

work=$(mktemp -d)
pids=()
failed=0
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 140 199); do [ -e /tmp/.X$n-lock ] || break; done
Xvfb :$n -screen 0 1280x1000x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=:$n
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
sleep 1
mkdir -p "$out"
# The station of the pictures keeps its computer on its own time, three hours behind UTC as
# its configuration says, so that the UTC clock and the pass times agree; and no tracker
# installation of this machine takes part.
export TZ=America/Argentina/Buenos_Aires
export WINEPREFIX=$work/no-wine

# A recorded pass, from the moment the satellite is well above the horizon, played in a loop.
awk -F'\t' '/^#/ || $1 >= 200' "$root/tools/pass-ao91.txt" > "$work/pass.txt"
"$build/vorta-replay" --port 0 --loop "$work/pass.txt" > "$work/replay.out" 2>&1 & pids+=($!)
for _ in $(seq 50); do grep -q listening "$work/replay.out" && break; sleep 0.1; done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/replay.out")
[ -n "$port" ] || { echo "manual-shots: the replay server did not start" >&2; exit 1; }

locator=GF05TJ
# A data folder as an operator's would be after a few passes: station, log, an LoTW report
# waiting in Salidas/ (where the import's file dialog opens), and the tracking source: "link"
# (a tracker installation and the replayed pass) or "builtin" (Vorta's own tracker).
prepare_home() { # HOME_DIR LANGUAGE_NAME SOURCE
  local home=$1 language=$2 source=$3
  mkdir -p "$home/Bases" "$home/Salidas"
  cp "$build/share/vorta/base0.mdb" "$home/base0.mdb"
  cp "$build/share/vorta/base0.mdb" "$home/Bases/base1.mdb"
  cp "$build/share/vorta/satelites.txt" "$home/satelites.txt"
  if [ "$source" = link ]; then
    local orbitron=$home/Orbitron
    mkdir -p "$orbitron/Config" "$orbitron/Tle"
    : > "$orbitron/Config/Setup.cfg"
    "$elements" "$locator" 0 > "$orbitron/Tle/amateur.txt"
    printf 'PuertoSeguimiento=%s\r\nCarpetaOrbitron=%s\r\n' "$port" "$orbitron" > "$home/ajustes.ini"
  else
    printf 'Seguimiento=integrado\r\n' > "$home/ajustes.ini"
  fi
  {
    printf 'MiCall=LU1ABC\r\nOrbitron=1\r\nUTC_DIF=-3\r\nBase=%s\r\nBaseN=base1.mdb\r\n' "$home/Bases/base1.mdb"
    printf 'GridLoc=%s\r\nIdioma=%s\r\nPuerto=Ninguno\r\nPin=DTR (pin4)\r\n' "$locator" "$language"
    printf 'Macro5=CQ;CQ CQ de $micall$ $micall$ k\r\n'
    printf 'Macro6=QSO;$sucall$ de $micall$ $micall$ ur $rst$ in $grid$ k\r\n'
    printf 'Macro7=Llamar;$sucall$ de $micall$ $micall$ k\r\nMacro8=Grid;in $grid$ k\r\n'
  } | iconv -f UTF-8 -t WINDOWS-1252 > "$home/vortalog.ini"
  sqlite3 "$home/Bases/base1.mdb" <<'SQL'
INSERT INTO Tabla1 (ModoU, FrecU, MyCall, Estacion, Fecha, Hora, RSTe, FrecD, RSTr, ModoD, Obs, QSLe, QSLr,
                    [Nombre Log], Operador, Satelite, Orbita, M2, M3) VALUES
 ('FM', '145.850', 'LU1ABC', 'PY2ABC', '2024-03-02 14:21:00', '14:21', '59', '436.795', '59', 'FM', '', '1', '', 'GF05TJ', 'GG66', 'SO-50', '63051', '12', '25'),
 ('FM', '145.850', 'LU1ABC', 'CE3XYZ', '2024-03-02 14:24:00', '14:24', '59', '436.795', '57', 'FM', 'Primer QSO con Chile', '1', '', 'GF05TJ', 'FF46', 'SO-50', '63051', '290', '31'),
 ('FM', '435.250', 'LU1ABC', 'LU5FF', '2024-03-09 21:02:00', '21:02', '59', '145.960', '59', 'FM', '', '', '', 'GF05TJ', 'FF78', 'AO-91', '34120', '300', '18'),
 ('LSB', '145.935', 'LU1ABC', 'CX2AQ', '2024-04-14 22:40:00', '22:40', '57', '435.835', '58', 'USB', 'QRP 5 W', '1', '', 'GF05TJ', 'GF15', 'RS-44', '28777', '45', '40'),
 ('FM', '145.990', 'LU1ABC', 'SWL', '2024-05-01 01:15:00', '01:15', '', '437.800', '', 'FM', 'APRS digipeater', '', '', 'GF05TJ', '', 'ISS', '44990', '10', '60'),
 ('LSB', '435.640', 'LU1ABC', 'PY4ZBZ', '2024-05-18 23:05:00', '23:05', '59', '145.960', '59', 'USB', '', '', '', 'GF05TJ', 'GH80', 'AO-7', '', '75', '22');
SQL
  # LoTW's report of the confirmations: two QSOs of the log and one logged elsewhere.
  sed 's/$/\r/' > "$home/Salidas/lotwreport.adi" <<'ADIF'
ARRL Logbook of the World Status Report
Generated at 2024-06-01 12:34:56
for lu1abc
Query:
    OWNCALL: LU1ABC
QSL ONLY: YES

<PROGRAMID:4>LoTW
<APP_LoTW_LASTQSL:19>2024-06-01 10:11:12

<APP_LoTW_NUMREC:1>3

<eoh>

<APP_LoTW_OWNCALL:6>LU1ABC
<STATION_CALLSIGN:6>LU1ABC
<CALL:6>PY2ABC
<BAND:2>2M
<FREQ:8>145.8500
<MODE:2>FM
<APP_LoTW_MODEGROUP:5>PHONE
<QSO_DATE:8>20240302 // QSO Date: 2024-03-02
<TIME_ON:6>142100 // QSO Start Time: 14:21:00
<PROP_MODE:3>SAT
<SAT_NAME:5>SO-50
<QSL_RCVD:1>Y // QSL Received from LoTW
<QSLRDATE:8>20240601 // QSL Received Date
<eor>

<APP_LoTW_OWNCALL:6>LU1ABC
<STATION_CALLSIGN:6>LU1ABC
<CALL:5>CX2AQ
<BAND:2>2M
<FREQ:8>145.9350
<MODE:3>SSB
<APP_LoTW_MODEGROUP:5>PHONE
<QSO_DATE:8>20240414 // QSO Date: 2024-04-14
<TIME_ON:6>224000 // QSO Start Time: 22:40:00
<PROP_MODE:3>SAT
<SAT_NAME:5>RS-44
<QSL_RCVD:1>Y // QSL Received from LoTW
<QSLRDATE:8>20240601 // QSL Received Date
<eor>

<APP_LoTW_OWNCALL:6>LU1ABC
<STATION_CALLSIGN:6>LU1ABC
<CALL:6>PY2XYZ
<BAND:4>70CM
<FREQ:8>435.2500
<MODE:2>FM
<APP_LoTW_MODEGROUP:5>PHONE
<QSO_DATE:8>20240531 // QSO Date: 2024-05-31
<TIME_ON:6>134502 // QSO Start Time: 13:45:02
<PROP_MODE:3>SAT
<SAT_NAME:5>AO-91
<QSL_RCVD:1>Y // QSL Received from LoTW
<QSLRDATE:8>20240601 // QSL Received Date
<eor>

<APP_LoTW_EOF>
ADIF
}

run=0
start_vorta() { # HOME_DIR: starts the program; true when its main window is up
  run=$((run + 1))
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/vorta" --home "$1" >"$work/vorta-$run.log" 2>&1 &
  vorta=$!
  "$a11y" wait "$main_title" || return 1
  sleep 1 # the log is chosen and its last QSO shown shortly after the window appears
}
stop_vorta() {
  kill "$vorta" 2>/dev/null; wait "$vorta" 2>/dev/null
}
window_of() { # TITLE: the id of the shown window of that title
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
# Without a window manager a window has the keyboard only when given it.
focus() { # TITLE
  local id
  id=$(window_of "$1")
  [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
}
# Answers the program's message boxes (all titled "Vorta"), if any, with their default button.
answer_messages() {
  local id
  for _ in 1 2 3; do
    id=$(window_of Vorta)
    [ -n "$id" ] || return 0
    xdotool windowfocus --sync "$id" key Return 2>/dev/null
    sleep 0.5
  done
}
skip() { # FILE REASON
  echo "skipped $(basename "$1"): $2" >&2
  failed=1
}
# Saves the window of that title, or the part of it given as WIDTHxHEIGHT+X+Y, in 256 colours.
shoot() { # TITLE FILE [CROP]
  local id crop=${3:-}
  id=$(window_of "$1")
  [ -n "$id" ] || { skip "$2" "no window \"$1\""; return 1; }
  sleep 0.7 # let it finish drawing
  [ -z "$(window_of Vorta)" ] || { skip "$2" "a message box is open over \"$1\""; return 1; }
  if import -window "$id" "$work/shot.png" \
      && convert "$work/shot.png" ${crop:+-crop "$crop" +repage} +dither -colors 256 -strip "PNG8:$2"; then
    echo "saved $2"
  else
    skip "$2" "the picture could not be saved"
  fi
}
# opens a window through the controls of the main window named, then shoots it: TITLE FILE NAME...
open_and_shoot() {
  local title=$1 file=$2; shift 2
  if "$a11y" press "$main_title" "$@" && "$a11y" wait "$title"; then
    shoot "$title" "$file"
  else
    skip "$file" "could not open \"$title\""
  fi
}
# The rectangle of a control of the main window, widened by a margin: NAME [MARGIN]
area_of() {
  local box w h x y margin=${2:-6}
  box=$("$a11y" extents "$main_title" "$1") || return 1
  IFS='x+' read -r w h x y <<<"$box"
  echo "$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))"
}

# The first start, shown once: the configuration window asks for the station in Spanish until
# a language is chosen in it.
if printf '%s\n' "${languages[@]}" | grep -qx es; then
  first=$work/first
  mkdir -p "$first"
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/vorta" --home "$first" >"$work/first.log" 2>&1 &
  vorta=$!
  if "$a11y" wait "Configuración"; then
    sleep 0.5
    xdotool type --delay 40 "lu1abc"
    shoot "Configuración" "$out/first-run.png"
  else
    skip "$out/first-run.png" "the configuration window did not open"
  fi
  stop_vorta
fi

for lang in "${languages[@]}"; do
  case $lang in
    es) name=$'Espa\u00f1ol'; file=Archivo; settings=$'Configuraci\u00f3n'; settings_title=$'Configuraci\u00f3n'
        help=Ayuda; about='Acerca de ...'; about_title='Acerca de Vorta'; satellites=$'Editar Sat\u00e9lites'
        import='Importar ADIF'; import_title='Importar ADIF ...'; passes=$'Pr\u00f3ximos pasos' ;;
    en) name=English; file=File; settings=Settings; settings_title=Settings
        help=Help; about='About ...'; about_title='About Vorta'; satellites='Satellites Edit'
        import='Import ADIF'; import_title='Import ADIF ...'; passes='Upcoming passes' ;;
    pt) name=Portugues; file=Arquivo; settings=$'Configura\u00e7\u00e3o'; settings_title=$'configura\u00e7\u00f5es'
        help=Ajuda; about='sobre ...'; about_title='Sobre Vorta'; satellites='Editar Satelites'
        import='Importar ADIF'; import_title='Importar ADIF ...'; passes=$'Pr\u00f3ximas passagens' ;;
  esac
  home=$work/home-$lang
  prepare_home "$home" "$name" link

  start_vorta "$home" && open_and_shoot "$settings_title" "$out/$lang-settings.png" "$file" "$settings"; stop_vorta
  start_vorta "$home" && open_and_shoot "Log" "$out/$lang-log.png" "Log"; stop_vorta
  start_vorta "$home" && open_and_shoot "$satellites" "$out/$lang-satellites.png" "$satellites"; stop_vorta
  start_vorta "$home" && open_and_shoot "$about_title" "$out/$lang-about.png" "$help" "$about"; stop_vorta

  # F1 opens the newest QSO in the record editor.
  if start_vorta "$home"; then
    focus "$main_title"
    xdotool key F1
    if "$a11y" wait "Registro 6"; then shoot "Registro 6" "$out/$lang-editor.png"
    else skip "$out/$lang-editor.png" "F1 opened no editor"; fi
  fi
  stop_vorta

  # The import window once it has read the LoTW report (and before anything is loaded).
  if start_vorta "$home" && "$a11y" press "$main_title" "$file" "$import" && "$a11y" wait "$import_title"; then
    sleep 0.5
    xdotool type --delay 30 "lotwreport.adi"
    xdotool key Return
    if "$a11y" wait "lotwreport.adi"; then
      sleep 1 # reading and the duplicate test take a moment
      shoot "lotwreport.adi" "$out/$lang-import.png"
    else
      skip "$out/$lang-import.png" "the import window did not read the file"
    fi
  else
    skip "$out/$lang-import.png" "could not open the import's file dialog"
  fi
  stop_vorta

  # The CW panel sending the F5 macro; the panel alone. The keyer's word on real-time
  # priority, when the system does not grant it, is answered first.
  if start_vorta "$home" && "$a11y" press "$main_title" "$file" "Macros CW"; then
    sleep 1
    answer_messages
    focus "$main_title"
    xdotool key F5
    sleep 0.5
    if area=$(area_of "Macros CW"); then shoot "$main_title" "$out/$lang-cw.png" "$area"
    else skip "$out/$lang-cw.png" "the CW panel did not show"; fi
  else
    skip "$out/$lang-cw.png" "could not tick Macros CW"
  fi
  stop_vorta

  # The main window during a pass: the tracker fills the panel; a QSO has just been saved and
  # the same call typed again. Last, since it adds a QSO to the log.
  if start_vorta "$home"; then
    sleep 2
    focus "$main_title"
    xdotool type --delay 60 "py2xyz"
    xdotool key Return
    sleep 1
    xdotool type --delay 60 "py2xyz"
    sleep 1
    shoot "$main_title" "$out/$lang-main.png"
  else
    skip "$out/$lang-main.png" "the program did not start"
  fi
  stop_vorta

  # The built-in tracker in mid-pass, its elements written just before so that the first
  # satellite culminates a few seconds after the picture: the window down to the tracking panel.
  home=$work/home-$lang-builtin
  prepare_home "$home" "$name" builtin
  "$elements" "$locator" 12 > "$home/elementos.tle"
  if start_vorta "$home"; then
    sleep 3
    if area=$(area_of Orbitron 3); then
      IFS='x+' read -r w h x y <<<"$area"
      width=$(xdotool getwindowgeometry "$(window_of "$main_title")" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
      shoot "$main_title" "$out/$lang-tracker.png" "${width}x$((y + h))+0+0"
    else
      skip "$out/$lang-tracker.png" "the tracking panel did not show"
    fi
    # The next day's passes, opened with their key.
    focus "$main_title"
    xdotool key ctrl+p
    if "$a11y" wait "$passes"; then shoot "$passes" "$out/$lang-passes.png"
    else skip "$out/$lang-passes.png" "Ctrl+P opened no passes window"; fi
  else
    skip "$out/$lang-tracker.png" "the program did not start"
  fi
  stop_vorta
done
exit $failed
