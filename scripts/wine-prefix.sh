# Makes a Wine prefix of the project's: sourced by setup.sh (the 64-bit prefix) and setup-wine32.sh (the 32-bit
# one), not run. Idempotent: an existing prefix is kept, and only brought up to what the tests expect.

# make_wine_prefix WINE VERSION: WINE is the loader that makes it, VERSION the Windows it reports (winxp64 or
# winxp). Fails, saying why, when the prefix cannot be made.
make_wine_prefix() {
  local wine=$1 version=$2
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX ($version)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    timeout 600 "$wine" wineboot -i >/dev/null 2>&1 || { log "wineboot failed for $WINEPREFIX"; return 1; }
    # The registry reaches the disk when the wineserver ends.
    timeout 120 "$WINESERVER" -w || true
    [ -f "$WINEPREFIX/system.reg" ] || { log "the prefix $WINEPREFIX has no registry"; return 1; }
  fi
  # Also a prefix that Wine made by itself, when a test ran before the setup: it reports no Windows of ours.
  if ! grep -qx "\"Version\"=\"$version\"" "$WINEPREFIX/user.reg" ||
    ! grep -qx '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    timeout 120 "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
    # Without a window manager every window close otherwise waits two seconds.
    timeout 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 120 "$WINESERVER" -w || true
  fi
  own_profile_folders
  # Wine looks for its own fonts (Tahoma, MS Sans Serif) in the prefix's Fonts folder, not where fonts-wine
  # puts them: without them every window falls back to a much wider font, and the layout is measured in them.
  local font
  for font in tahoma.ttf tahomabd.ttf sserife.fon; do
    [ -f "$WINEPREFIX/drive_c/windows/Fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
}

# A prefix made before Wine's home was the project's own (env.sh) links the profile's Desktop, Documents, Music,
# Pictures, Videos and Downloads to the home of whoever made it: each link becomes a folder of the prefix.
own_profile_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    case $(readlink "$link") in
      "$WINEPREFIX"/*) continue ;;
    esac
    rm "$link" && mkdir "$link"
  done
}
