#!/usr/bin/env bash
# Pictures of the desktop program's windows as a person sees them, under Xvfb: each
# is a capture of the whole X screen (a grab of the widgets would miss the page
# view, which draws on its own). The example site is served on 127.0.0.1 and copied
# through the window. Usage: tools/screenshots.sh BUILD_DIR (the programs built).
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
shots="$build/screenshots"
mkdir -p "$shots"
work=$(mktemp -d "${TMPDIR:-/tmp}/quillorne-shots.XXXXXX")
chmod 700 "$work"
background=()
program=
status=0

cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  for pid in "${background[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
background+=($!)
read -r display <&3
export DISPLAY=":$display"

# The window placement of every shot: most of the screen, the tree a third of it.
desktop_options='[Desktop]
Left=40
Top=30
Right=1240
Bottom=770
SplitPos=380
'

# start NAME OPTIONS [ARGS...]: the program in a home folder of its own, with the
# options file OPTIONS; returns once its main window is on the screen.
start() {
  local name=$1 options=$2 home="$work/$1"
  shift 2
  mkdir -p "$home/config/Lumbrook"
  chmod 700 "$home"
  printf '%s\n%s' "$options" "$desktop_options" >"$home/config/Lumbrook/Quillorne.conf"
  env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb "$build/quillorne" "$@" \
    >"$home/program.log" 2>&1 &
  program=$!
  timeout 30 xdotool search --sync --onlyvisible --name "Quillorne" >/dev/null || {
    echo "The program's window did not show for '$name'." >&2
    status=1
  }
  # The page view shows its page a moment after the window.
  sleep 3
}

# Ends the program as a session would (it saves its options).
finish() {
  kill -TERM "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=
}

capture() {
  import -window root "$shots/$1.png" || status=1
}

# keys KEY...: one key after another, each once the window has taken the last.
keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.5
  done
}

# A capture once the window has drawn what the keys before it did.
shot() {
  sleep 1
  capture "$1"
}

# focus_dialog NAME: gives the keyboard to the window titled NAME (a dialog just
# opened), once it shows.
focus_dialog() {
  local window
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -1) || {
    echo "The window '$1' did not show." >&2
    status=1
    return 0
  }
  xdotool windowfocus --sync "$window"
  sleep 1
}

# wait_for FILE TEXT SECONDS: until FILE holds TEXT.
wait_for() {
  for _ in $(seq $(($3 * 10))); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "'$2' did not appear in $1." >&2
  status=1
}

# wait_window NAME SECONDS: the first visible window whose name matches NAME, once
# there is one.
wait_window() {
  local found
  for _ in $(seq $(($2 * 10))); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    if [ -n "$found" ]; then
      echo "$found"
      return 0
    fi
    sleep 0.1
  done
  echo "No window named '$1' appeared." >&2
  status=1
}

# new_window BEFORE SECONDS: a visible window that is not among the window ids
# BEFORE (a sorted list), once there is one.
new_window() {
  local found
  for _ in $(seq $(($2 * 10))); do
    found=$(comm -13 <(echo "$1") <(xdotool search --onlyvisible --name '.' 2>/dev/null | sort) |
      head -1)
    if [ -n "$found" ]; then
      echo "$found"
      return 0
    fi
    sleep 0.1
  done
  echo "No new window appeared." >&2
  status=1
}

# focus_window: gives the main window the keyboard (no window manager does).
focus_window() {
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "Quillorne" | head -1)"
}

# The first start: the first-run sheet over the window, the system's proxy offered.
http_proxy=http://proxy.example.org:3128/ start first-run-welcome ''
capture first-run-welcome
finish

# The window as it starts, with the welcome page.
start main-window '[Options]
FirstRun=0'
capture main-window
finish

# The window and the new-project wizard in German, chosen as the options dialog
# chooses it; the Project menu open, two settings pages, then the wizard's first two
# pages (Ctrl+N, then "Weiter").
start main-window-german '[Options]
FirstRun=0
UseLngFile=1
LngFile=German.qlg'
german_window=$(xdotool search --onlyvisible --name "Quillorne" | head -1)
capture main-window-german
xdotool windowfocus --sync "$german_window" key --clearmodifiers alt+p
shot main-window-german-menu
keys Escape Escape
# Two pages of the project's settings, where German labels run longest.
xdotool windowfocus --sync "$german_window" key --clearmodifiers alt+p
sleep 0.5
xdotool key --clearmodifiers p
shot settings-project-german
xdotool key --clearmodifiers ctrl+Tab
shot settings-speed-german
keys Escape
before=$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort)
xdotool windowfocus --sync "$german_window" key --clearmodifiers ctrl+n
wizard=$(new_window "$before" 10)
if [ -n "$wizard" ]; then
  xdotool windowfocus --sync "$wizard"
  shot new-project-welcome-german
  keys alt+w
  shot new-project-title-german
fi
finish

# The example site copied through the window: a project made for it is opened and
# downloaded ("-D"), then a copied page is opened in the page view.
/usr/bin/python3 "$source_dir/examples/serve.py" "$source_dir/examples/site" \
  "$source_dir/examples/partner" --ports-file "$work/ports" >/dev/null 2>&1 &
site_server=$!
background+=($!)
wait_for "$work/ports" " " 10
read -r site_port partner_port _ <"$work/ports"
site="$work/site"
"$build/quillorne-cli" "http://127.0.0.1:$site_port/index.html" -o "$site" \
  --set QN_TITLE="Lumbrook Garden Club" --set QN_REPORT=1 --save "$work/garden.qnp" \
  >/dev/null 2>&1 || status=1
rm -f "$work/garden.log"
rm -rf "$site"
start copied-site '[Options]
FirstRun=0
ShowWelcome=0' "$work/garden.qnp" -D
# After the download the links are converted once a five-second countdown has run
# out; the countdown's window is named after the program alone.
wait_window '^Quillorne$' 60 >/dev/null
sleep 0.5
capture countdown
wait_for "$work/garden.log" "Summary:" 60
# Without a window manager nothing gives the window the keyboard: it is given here.
window=$(xdotool search --onlyvisible --name "Quillorne" | head -1)
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+g
sleep 1
xdotool type --delay 5 "$site/index.html"
xdotool key Return
sleep 3
capture copied-site
# The project's settings, page by page (Ctrl+Tab turns the page), then on the
# Protocols page the filter editor's dialog: HTTP's mnemonic (twice, to leave it as
# it was) puts the focus on the page, and Tab walks to "Insert New Filter".
xdotool windowfocus --sync "$window" key --clearmodifiers alt+p
sleep 0.5
xdotool key --clearmodifiers p
sleep 1
for page in project speed tree levels file-types protocols advanced privacy; do
  capture "settings-$page"
  xdotool key --clearmodifiers ctrl+Tab
  sleep 0.5
done
xdotool key --clearmodifiers ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab alt+h
sleep 0.5
xdotool key --clearmodifiers alt+h Tab Tab Tab Tab Tab Tab Tab space
sleep 1
capture settings-url-filter
xdotool key --clearmodifiers Escape Escape
sleep 1

# The dialogs and wizards over the copied project, opened from the keyboard.
main_window=$window
xdotool windowfocus --sync "$main_window" key --clearmodifiers alt+e
sleep 1
keys o
focus_dialog "Quillorne Options"
shot options-connection
keys ctrl+Tab
shot options-general
keys ctrl+Tab
shot options-display
keys Escape
sleep 1
xdotool windowfocus --sync "$main_window" key --clearmodifiers alt+f
sleep 1
keys y
focus_dialog "Copy Project"
shot copy-project-target
keys alt+n
shot copy-project-files
keys alt+n
keys alt+d
xdotool type --delay 5 "$work/copies"
shot copy-project-folder
keys alt+n
shot copy-project-ready
keys Escape
sleep 1
# New closes the copied project (saved by AutoSave) and opens the wizard, which
# offers the page shown as the start address.
xdotool windowfocus --sync "$main_window" key --clearmodifiers ctrl+n
focus_dialog "Create a New Project"
shot new-project-welcome
keys alt+n
keys alt+t
xdotool type --delay 5 "Lumbrook Garden Club"
shot new-project-title
keys alt+n
shot new-project-url-method
keys alt+i alt+n
shot new-project-url-import
keys alt+b alt+e alt+n
keys alt+u
xdotool type --delay 5 "http://127.0.0.1:$site_port/index.html"
shot new-project-url
keys alt+n
shot new-project-login
keys alt+n
shot new-project-folder
keys alt+n alt+l
shot new-project-options
keys alt+n
shot new-project-custom
keys alt+n
shot new-project-finish
keys Escape
finish

# A run started from the window (Ctrl+D) over the same site, slowed down: the copy
# has addresses that failed, so "Choose the Download Type" asks first; the progress
# window then shows the run under way.
kill "$site_server" 2>/dev/null || true
wait "$site_server" 2>/dev/null || true
/usr/bin/python3 "$source_dir/examples/serve.py" "$source_dir/examples/site" \
  "$source_dir/examples/partner" --site-port "$site_port" --partner-port "$partner_port" \
  --delay 1.5 >/dev/null 2>&1 &
background+=($!)
sleep 1
start download-type '[Options]
FirstRun=0
ShowWelcome=0' "$work/garden.qnp"
focus_window
xdotool key --clearmodifiers ctrl+d
dialog=$(wait_window '^Choose the Download Type$' 10)
sleep 0.5
capture download-type
xdotool windowfocus --sync "$dialog" key --clearmodifiers Return
wait_window '^Download Progress$' 10 >/dev/null
sleep 4
capture progress-window
finish

# The same in the dark colour scheme (as on a dark desktop): a copied page in the
# page view, then the run started again with its progress window over the tree.
QUILLORNE_COLOR_SCHEME=dark start dark '[Options]
FirstRun=0
ShowWelcome=0' "$work/garden.qnp"
focus_window
xdotool key --clearmodifiers ctrl+g
sleep 1
xdotool type --delay 5 "$site/index.html"
xdotool key Return
sleep 3
focus_window
xdotool key --clearmodifiers ctrl+d
dialog=$(wait_window '^Choose the Download Type$' 10)
sleep 0.5
xdotool windowfocus --sync "$dialog" key --clearmodifiers Return
wait_window '^Download Progress$' 10 >/dev/null
sleep 4
capture progress-window-dark
finish

# The Schedule dialog (Edit > Schedule...) over two scheduled projects.
start schedule '[Options]
FirstRun=0
ShowWelcome=0
[Schedule]
ProjectQuant=2
FieName01=/home/user/Projects/garden.qnp
Data01=1
Time01=204288
Other01=0
FieName02=/home/user/Projects/news.qnp
Data02=131074
Time02=1441792
Other02=1'
focus_window
xdotool key --clearmodifiers alt+e
sleep 0.5
xdotool key s
sleep 1
capture schedule
finish

# The bookmark picker, opened from the new-project wizard's import page, over a
# Firefox profile's bookmarks.
bookmarks="$work/bookmark-picker/.mozilla/firefox"
mkdir -p "$bookmarks/a1b2.default"
printf '[Profile0]\nName=default\nIsRelative=1\nPath=a1b2.default\n' >"$bookmarks/profiles.ini"
cat >"$bookmarks/a1b2.default/bookmarks.html" <<'HTML'
<!DOCTYPE NETSCAPE-Bookmark-file-1>
<H1>Bookmarks Menu</H1>
<DL><p>
<DT><H3>Gardening</H3>
<DL><p>
<DT><A HREF="http://127.0.0.1:8080/index.html">Lumbrook Garden Club</A>
<DT><A HREF="https://roses.example/care?season=spring&amp;zone=7">Rose care in spring</A>
</DL><p>
<DT><H3>News</H3>
<DL><p>
<DT><A HREF="https://news.example/">Morning news</A>
</DL><p>
<DT><A HREF="https://weather.example/">Weather</A>
</DL><p>
HTML
start bookmark-picker '[Options]
FirstRun=0
ShowWelcome=0'
focus_window
xdotool key --clearmodifiers ctrl+n
# Welcome, then the title, then the address from an import; each key goes to the
# page once the wizard shows it.
wait_window '^Create a New Project$' 10 >/dev/null
sleep 1
xdotool key Return
wait_window ' - Title$' 10 >/dev/null
sleep 1
xdotool type --delay 5 "Garden"
xdotool key Return
sleep 1
xdotool key alt+i
sleep 0.5
xdotool key Return
wait_window ' - URL Import$' 10 >/dev/null
sleep 1
xdotool key alt+t
sleep 0.5
xdotool key alt+i
picker=$(wait_window '^Import' 10)
if [ -n "$picker" ]; then
  # Into the tree: the folder "Gardening" opened, its first link chosen.
  xdotool windowfocus --sync "$picker" key Tab Down Right Down
  sleep 0.5
fi
capture bookmark-picker
finish

# The notification-area menu, opened on the icon with the right mouse button.
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --transparent false >/dev/null 2>&1 &
background+=($!)
sleep 1
# tray_menu NAME OPTIONS: the menu of the icon, the last one in the panel (trayer's
# window of instance "panel"; its other windows are off the screen or tiny).
tray_menu() {
  start "$1" "$2"
  read -r x y w h < <(xdotool search --classname '^panel$' getwindowgeometry --shell 2>/dev/null |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
  xdotool mousemove $((x + w - h / 2)) $((y + h / 2)) click 3
  sleep 1
  capture "$1"
  finish
}
tray_menu tray-menu '[Options]
FirstRun=0
UseTray=1'
tray_menu tray-menu-german '[Options]
FirstRun=0
UseTray=1
UseLngFile=1
LngFile=German.qlg'

echo "Pictures in $shots/"
exit $status
