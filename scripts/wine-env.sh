# Sourced: the environment in which every Windows program of the build runs under Wine.
# The prefix belongs to the build folder, so the user's own ~/.wine is never touched.
: "${VOREL_BUILD_DIR:?VOREL_BUILD_DIR must name the Windows build folder}"
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$VOREL_BUILD_DIR/wineprefix}"
# The Windows architecture of the build being run: i686 runs in a 32-bit prefix, x86_64 in
# a 64-bit one. The loader is called directly: /usr/bin/wine prefers the 32-bit loader
# whenever it is installed, even where this machine cannot execute it.
VOREL_ARCH="${VOREL_ARCH:-$(cat "$VOREL_BUILD_DIR/vorel-arch" 2>/dev/null || echo i686)}"
if [ "$VOREL_ARCH" = x86_64 ]; then
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
else
  export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
fi
VOREL_WINE="$WINELOADER"
export WINEDEBUG="${WINEDEBUG:--all}"
# Without this, saving a shortcut makes Wine write .desktop files into the Linux home folder.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
# A null ALSA device gives the mixer and waveOut APIs something to open on a machine without sound.
export HOME="$VOREL_BUILD_DIR/winehome"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME"
[ -f "$HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
