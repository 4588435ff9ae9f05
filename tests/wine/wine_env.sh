# Sourced by the Wine suite's scripts: the Wine settings for the Windows build that VANTROPE_WINE_ARCH
# names. i686 (the plug-in itself) runs under 32-bit Wine in a win32 prefix; x86_64 (the test vehicle)
# under wine64 in a win64 prefix, started through wine64's own loader, because the `wine` script picks
# the 32-bit loader whenever wine32 is installed. Sets wine_loader; never lets Wine see the user's display.
case ${VANTROPE_WINE_ARCH:-} in
  i686) export WINEARCH=win32; wine_loader=wine ;;
  x86_64) export WINEARCH=win64; wine_loader=/usr/lib/wine/wine64 ;;
  *) echo "VANTROPE_WINE_ARCH must name the Windows build: i686 or x86_64 (got '${VANTROPE_WINE_ARCH:-}')" >&2
     exit 2 ;;
esac
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
