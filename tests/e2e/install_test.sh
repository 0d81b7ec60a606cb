#!/usr/bin/env bash
# Installs the built tree into a staging folder and makes the Debian package
# from it: the programs, the whole demo folder (and nothing a run left in the
# build's), menu entries, icons of the sizes their folders name, AppStream
# metadata and manual pages that name every option; the package holds the same
# and lintian finds no error in it.
#   install_test.sh BUILD_DIR GAME_DIR CMAKE CPACK
# Exit status 77 (skipped) without lintian, appstreamcli or dpkg-deb.
set -u
build=$1
game=$2
cmake=$3
cpack=$4
for tool in lintian appstreamcli dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

app=io.github.vdx.Vdx
sizes="16 24 32 48 64 128 256"
# What a run writes into a game folder, never installed.
run_files='^\./(vdx|vdxlaunch|log\.txt|save\.dat|screenshots(/.*)?)$|/\.[^/]*$'

# --- cmake --install -------------------------------------------------------
usr=$work/stage/usr
if ! "$cmake" --install "$build" --prefix "$usr" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

for program in vdx vdxlaunch; do
  [ -x "$usr/games/$program" ] || fail "usr/games/$program is missing or not executable"
done
data=$usr/share/games/vdx
cmp -s "$game/Game.xml" "$data/Game.xml" || fail "the installed Game.xml differs from the build's"
(cd "$game" && find . -type f | grep -Ev "$run_files" | sort) >"$work/built.txt"
(cd "$data" && find . | sort) >"$work/installed-all.txt"
(cd "$data" && find . -type f | sort) >"$work/installed.txt"
diff "$work/built.txt" "$work/installed.txt" >"$work/diff.txt" ||
  fail "the installed demo folder is not the built one without what runs write: $(head -5 "$work/diff.txt")"
grep -Eq "$run_files" "$work/installed-all.txt" && fail "a file of a run was installed: $(grep -E "$run_files" "$work/installed-all.txt" | head -3)"
bad_modes=$(find "$data" \( -type f -perm /0133 \) -o \( -type d ! -perm 0755 \) | head -3)
[ -z "$bad_modes" ] || fail "the demo folder's modes are not 0644/0755: $bad_modes"
if ! out=$("$usr/games/vdx" --check-content --game-dir "$data" 2>&1); then
  fail "the installed demo folder does not check clean: $(head -5 <<<"$out")"
fi

for entry in "$app" io.github.vdx.VdxLaunch; do
  file=$usr/share/applications/$entry.desktop
  [ -f "$file" ] || { fail "$entry.desktop is missing"; continue; }
  grep -q '^Categories=.*Game;' "$file" || fail "$entry.desktop is not in the Game category"
  grep -q "^Icon=$app\$" "$file" || fail "$entry.desktop does not name the installed icon"
  if command -v desktop-file-validate >/dev/null 2>&1; then
    out=$(desktop-file-validate "$file" 2>&1) || fail "desktop-file-validate $entry.desktop: $out"
  fi
done
grep -qx 'Exec=vdx' "$usr/share/applications/$app.desktop" || fail "the game's entry does not run vdx"
grep -qx 'Exec=vdxlaunch' "$usr/share/applications/io.github.vdx.VdxLaunch.desktop" ||
  fail "the launcher's entry does not run vdxlaunch"

for size in $sizes; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/$app.png
  [ -f "$icon" ] || { fail "the ${size}x${size} icon is missing"; continue; }
  # The PNG signature, then IHDR's width and height (big-endian) and its
  # colour type 6: RGBA, so the rounded corners are see-through.
  header=$(od -An -tu1 -N26 "$icon" | tr -s ' \n' ' ')
  read -r -a b <<<"$header"
  [ "${b[1]} ${b[2]} ${b[3]}" = "80 78 71" ] || fail "the ${size}x${size} icon is not a PNG"
  width=$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))
  height=$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))
  [ "$width x $height" = "$size x $size" ] ||
    fail "the ${size}x${size} icon is $width x $height"
  [ "${b[25]}" = 6 ] || fail "the ${size}x${size} icon has no alpha (colour type ${b[25]})"
done

metainfo=$usr/share/metainfo/$app.metainfo.xml
if [ -f "$metainfo" ]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  version=$("$usr/games/vdx" --version | awk '{print $2}')
  grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metainfo has no release of version $version"
  grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app.desktop"
else
  fail "the metainfo is missing"
fi

# Every option of --help has an item in the manual page, and so do the switches.
for program in vdx vdxlaunch; do
  page=$usr/share/man/man6/$program.6.gz
  [ -f "$page" ] || { fail "$program.6.gz is missing"; continue; }
  gzip -t "$page" || { fail "$program.6.gz is not gzip"; continue; }
  text=$(gzip -dc "$page" | sed 's/\\-/-/g')
  grep -q "^\.TH $(tr a-z A-Z <<<"$program") 6 " <<<"$text" || fail "$program.6 is not in section 6"
  options=$("$usr/games/$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
  [ -n "$options" ] || fail "$program --help names no option"
  for option in $options; do
    # An item of the option list, not only a mention in the synopsis.
    grep -qE -- "^\.BI? $option( |\$)" <<<"$text" || fail "$program.6 does not document $option"
  done
  if [ "$program" = vdx ]; then
    for switch in DEBUG SHOWFPS; do
      grep -q "^\.B $switch\$" <<<"$text" || fail "vdx.6 does not document $switch"
    done
  fi
done
[ -f "$usr/share/doc/vdx/copyright" ] || fail "the copyright file is missing"

# --- cpack -G DEB ----------------------------------------------------------
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
  tail -20 "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
deb=$(ls "$work"/package/*.deb 2>/dev/null | head -1)
if [ -z "$deb" ]; then
  echo "FAIL: cpack made no .deb"
  exit 1
fi
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$work/deb.txt"
expected="/usr/games/vdx /usr/games/vdxlaunch /usr/share/games/vdx/Game.xml
  /usr/share/games/vdx/ai.xml /usr/share/games/vdx/story.xml
  /usr/share/applications/$app.desktop /usr/share/applications/io.github.vdx.VdxLaunch.desktop
  /usr/share/metainfo/$app.metainfo.xml /usr/share/man/man6/vdx.6.gz
  /usr/share/man/man6/vdxlaunch.6.gz /usr/share/doc/vdx/copyright /usr/share/doc/vdx/changelog.gz"
for size in $sizes; do
  expected+=" /usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
done
for path in $expected; do
  grep -qxF "$path" "$work/deb.txt" || fail "the package lacks $path"
done
# The same demo folder as the staging install.
sed -n 's|^/usr/share/games/vdx/|./|p' "$work/deb.txt" | grep -v '/$' >"$work/deb-data.txt"
(cd "$data" && find . -mindepth 1 | sort) >"$work/staged-data.txt"
diff -q "$work/staged-data.txt" "$work/deb-data.txt" >/dev/null ||
  fail "the package's demo folder differs from the staging install's"
[ "$(dpkg-deb -f "$deb" Package)" = vdx ] || fail "the package is not named vdx"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libenet7 libc6; do
  grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

# Errors fail the test; warnings and the rest are shown.
lintian --display-info "$deb" >"$work/lintian.txt" 2>"$work/lintian.err"
status=$?
if [ -s "$work/lintian.txt" ]; then
  echo "lintian says:"
  cat "$work/lintian.txt"
fi
if grep -q '^E: ' "$work/lintian.txt"; then
  fail "lintian reports errors"
elif [ "$status" -ne 0 ]; then
  fail "lintian failed with status $status: $(cat "$work/lintian.err")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "install: all checks passed ($(wc -l <"$work/deb.txt") paths in $(basename "$deb"))"
