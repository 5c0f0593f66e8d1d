# Sourced: the environment in which every Windows program of the build runs under Wine.
# The prefix belongs to the build folder, so the user's own ~/.wine is never touched.
: "${VOREL_BUILD_DIR:?VOREL_BUILD_DIR must name the Windows build folder}"
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$VOREL_BUILD_DIR/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# Without this, saving a shortcut makes Wine write .desktop files into the Linux home folder.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
# A null ALSA device gives the mixer and waveOut APIs something to open on a machine without sound.
export HOME="$VOREL_BUILD_DIR/winehome"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME"
[ -f "$HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
