#!/usr/bin/env bash
# Renews the screenshots of the help manuals (data/help/*.png) from the real windows.
#
#   tools/manual-shots.sh [--build DIR] [--out DIR] [LANGUAGE...]
#
# LANGUAGE is es, en or pt (default: all three). Each window is shot in a fresh run of the
# program on a private virtual display (Xvfb), with a data folder made for the occasion: a
# configured station, a log with a few QSOs, a tracker installation and a recorded pass played
# by vorta-replay. Windows are opened the way a screen reader opens them, through the
# accessibility bus (tools/manual-shots-a11y.py), so the script does not depend on where a menu
# entry or button sits. A window that cannot be opened is reported and skipped; the others are
# still shot. Rebuild afterwards so that the PDFs take the new pictures.
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
version=$(sed -n 's/^project(Vorta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
main_title="Vorta Versión $version"
missing=()
for tool in Xvfb xdotool import sqlite3 dbus-run-session; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi-bus-launcher)
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

# A recorded pass, from the moment the satellite is well above the horizon, played in a loop.
awk -F'\t' '/^#/ || $1 >= 200' "$root/tools/pass-ao91.txt" > "$work/pass.txt"
"$build/vorta-replay" --port 0 --loop "$work/pass.txt" > "$work/replay.out" 2>&1 & pids+=($!)
for _ in $(seq 50); do grep -q listening "$work/replay.out" && break; sleep 0.1; done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/replay.out")
[ -n "$port" ] || { echo "manual-shots: the replay server did not start" >&2; exit 1; }

# A data folder as an operator's would be after a few passes: station, log, tracker.
prepare_home() { # HOME_DIR LANGUAGE_NAME
  local home=$1 language=$2 orbitron=$1/Orbitron
  mkdir -p "$home/Bases" "$home/Salidas" "$orbitron/Config" "$orbitron/Tle"
  cp "$build/share/vorta/base0.mdb" "$home/base0.mdb"
  cp "$build/share/vorta/base0.mdb" "$home/Bases/base1.mdb"
  cp "$build/share/vorta/satelites.txt" "$home/satelites.txt"
  : > "$orbitron/Config/Setup.cfg"
  printf 'AO-91 (FOX-1B)\r\n1 43017U 17073E   %s.50000000  .00000000  00000-0  00000-0 0  9990\r\n2 43017  97.6000 100.0000 0020000 100.0000 260.0000 15.00000000 01000\r\n' \
    "$(date -u +%y%j)" > "$orbitron/Tle/amateur.txt"
  printf 'PuertoSeguimiento=%s\r\nCarpetaOrbitron=%s\r\n' "$port" "$orbitron" > "$home/ajustes.ini"
  {
    printf 'MiCall=LU1ABC\r\nOrbitron=1\r\nUTC_DIF=-3\r\nBase=%s\r\nBaseN=base1.mdb\r\n' "$home/Bases/base1.mdb"
    printf 'GridLoc=GF05TJ\r\nIdioma=%s\r\nPuerto=Ninguno\r\nPin=DTR (pin4)\r\n' "$language"
    printf 'Macro5=CQ;CQ CQ de $micall$ $micall$ k\r\n'
    printf 'Macro6=QSO;$sucall$ de $micall$ $micall$ ur $rst$ in $grid$ k\r\n'
    printf 'Macro7=Llamar;$sucall$ de $micall$ $micall$ k\r\nMacro8=Grid;in $grid$ k\r\n'
  } | iconv -f UTF-8 -t WINDOWS-1252 > "$home/vortalog.ini"
  sqlite3 "$home/Bases/base1.mdb" <<'SQL'
INSERT INTO Tabla1 (ModoU, FrecU, MyCall, Estacion, Fecha, Hora, RSTe, FrecD, RSTr, ModoD, Obs, QSLe, QSLr,
                    [Nombre Log], Operador, Satelite, Orbita, M2, M3) VALUES
 ('FM', '145.850', 'LU1ABC', 'PY2ABC', '2024-03-02 14:21:00', '14:21', '59', '436.795', '59', 'FM', '', '1', '1', 'GF05TJ', 'GG66', 'SO-50', '63051', '12', '25'),
 ('FM', '145.850', 'LU1ABC', 'CE3XYZ', '2024-03-02 14:24:00', '14:24', '59', '436.795', '57', 'FM', 'Primer QSO con Chile', '1', '', 'GF05TJ', 'FF46', 'SO-50', '63051', '290', '31'),
 ('USB', '435.250', 'LU1ABC', 'LU5FF', '2024-03-09 21:02:00', '21:02', '59', '145.960', '59', 'FM', '', '', '', 'GF05TJ', 'FF78', 'AO-91', '34120', '300', '18'),
 ('LSB', '145.935', 'LU1ABC', 'CX2AQ', '2024-04-14 22:40:00', '22:40', '57', '435.835', '58', 'USB', 'QRP 5 W', '1', '1', 'GF05TJ', 'GF15', 'RS-44', '28777', '45', '40'),
 ('FM', '145.990', 'LU1ABC', 'SWL', '2024-05-01 01:15:00', '01:15', '', '437.800', '', 'FM', 'APRS digipeater', '', '', 'GF05TJ', '', 'ISS', '44990', '10', '60'),
 ('LSB', '435.640', 'LU1ABC', 'PY4ZBZ', '2024-05-18 23:05:00', '23:05', '59', '145.960', '59', 'USB', '', '', '', 'GF05TJ', 'GH80', 'AO-7', '', '75', '22');
SQL
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
shoot() { # TITLE FILE: saves the window of that title
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  if [ -z "$id" ]; then
    echo "skipped $(basename "$2"): no window \"$1\"" >&2
    return 1
  fi
  sleep 0.7 # let it finish drawing
  import -window "$id" "$2" && echo "saved $2"
}
# opens a window through the controls of the main window named, then shoots it: TITLE FILE NAME...
open_and_shoot() {
  local title=$1 file=$2; shift 2
  if "$a11y" press "$main_title" "$@" && "$a11y" wait "$title"; then
    shoot "$title" "$file"
  else
    echo "skipped $(basename "$file"): could not open \"$title\"" >&2
  fi
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
    echo "skipped first-run.png: the configuration window did not open" >&2
  fi
  stop_vorta
fi

for lang in "${languages[@]}"; do
  case $lang in
    es) name=$'Espa\u00f1ol'; file=Archivo; settings=$'Configuraci\u00f3n'; settings_title=$'Configuraci\u00f3n'
        help=Ayuda; about='Acerca de ...'; about_title='Acerca de Vorta'; satellites=$'Editar Sat\u00e9lites' ;;
    en) name=English; file=File; settings=Settings; settings_title=Settings
        help=Help; about='About ...'; about_title='About Vorta'; satellites='Satellites Edit' ;;
    pt) name=Portugues; file=Arquivo; settings=$'Configura\u00e7\u00e3o'; settings_title=$'configura\u00e7\u00f5es'
        help=Ajuda; about='sobre ...'; about_title='Sobre Vorta'; satellites='Editar Satelites' ;;
  esac
  home=$work/home-$lang
  prepare_home "$home" "$name"

  # The main window during a pass: the tracker fills the panel, a call is being typed.
  if start_vorta "$home"; then
    sleep 3
    xdotool type --delay 60 "py2xyz"
    shoot "$main_title" "$out/$lang-main.png"
  else
    echo "skipped $lang-main.png: the program did not start" >&2
  fi
  stop_vorta

  start_vorta "$home" && open_and_shoot "$settings_title" "$out/$lang-settings.png" "$file" "$settings"; stop_vorta
  start_vorta "$home" && open_and_shoot "Log" "$out/$lang-log.png" "Log"; stop_vorta
  start_vorta "$home" && open_and_shoot "$satellites" "$out/$lang-satellites.png" "$satellites"; stop_vorta
  start_vorta "$home" && open_and_shoot "$about_title" "$out/$lang-about.png" "$help" "$about"; stop_vorta

  # F1 opens the newest QSO in the record editor.
  if start_vorta "$home"; then
    xdotool search --onlyvisible --name "^Vorta Versi" windowfocus --sync 2>/dev/null
    xdotool key F1
    if "$a11y" wait "Registro 6"; then shoot "Registro 6" "$out/$lang-editor.png"
    else echo "skipped $lang-editor.png: F1 opened no editor" >&2; fi
  fi
  stop_vorta
done
