# The packages as a user gets them, under Wine: sourced by scripts/test-windows-window.sh after
# its checks of the build's Norvalde.exe, it uses that script's display, helpers and counts.
#
# In a fresh prefix, as on a machine that never had Norvalde: the installer installs silently;
# the program, Qt's catalogues, the guide and the Start-menu entries are there; the installed
# program opens and Enter ends it with code 0; the installer run again over it (an update)
# leaves the same installation; the uninstaller removes the folder, the Start-menu entries and
# the programs-list entry. Then the zip, unpacked into a folder whose name has a space and an
# accent, gives a Norvalde.exe that opens there and ends with Enter.

echo "== the packages under Wine, in a fresh prefix"
packages_log="$app_build/packages-under-wine.log"
: >"$packages_log"
# The newest of each, should packages of an earlier version lie beside them.
installer="$(ls -t "$app_build"/packages/Norvalde-*-win64.exe 2>/dev/null | head -1)" || true
zip="$(ls -t "$app_build"/packages/Norvalde-*-win64.zip 2>/dev/null | head -1)" || true

# The build's prefix is done with; the new one lies inside it, so the run's cleanup removes it.
"$wineserver" -k >/dev/null 2>&1 || true
export WINEPREFIX="$prefix/fresh"
if ! timeout 300 "$wine" wineboot -i >>"$packages_log" 2>&1; then
  window_check "a fresh Wine prefix starts" false
  return 0
fi
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Norvalde"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Norvalde"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Norvalde'

run_installer() {
  local status=0
  timeout 300 "$wine" "$installer" /S >>"$packages_log" 2>&1 || status=$?
  echo "    exit code $status"
  [[ $status -eq 0 ]]
}

in_programs_list() { timeout 60 "$wine" reg query "$uninstall_key" >/dev/null 2>&1; }

installation_is_complete() {
  local file complete=0
  for file in Norvalde.exe translations/qtbase_es.qm GUIA.txt LEEME.txt; do
    [[ -s "$installed/$file" ]] || { echo "    $file is missing"; complete=1; }
  done
  cmp -s "$root/docs/guia.md" "$installed/GUIA.txt" || { echo "    GUIA.txt differs"; complete=1; }
  # A shortcut keeps its target's path as text.
  grep -aqF 'C:\Program Files\Norvalde\Norvalde.exe' "$menu/Norvalde.lnk" 2>/dev/null ||
    { echo "    no Start-menu entry opening the installed Norvalde.exe"; complete=1; }
  [[ -f "$menu/Guía de Norvalde.lnk" ]] ||
    { echo "    no Start-menu entry for the guide"; complete=1; }
  in_programs_list || { echo "    Norvalde is not in the programs list"; complete=1; }
  [[ $complete -eq 0 ]]
}

# Every file and folder the installation put in Program Files and the Start menu, with sizes.
installation_listing() {
  find "$installed" "$menu" -printf '%p %s\n' 2>/dev/null | sed "s|^$drive_c/||" | sort
}

same_installation_as() {
  local now
  now="$(installation_listing)"
  [[ "$now" == "$1" ]] || { diff <(echo "$1") <(echo "$now") | sed 's/^/    /'; return 1; }
}

# The uninstaller hands over to a copy of itself in the temporary folder and returns at once;
# the copy has finished when every program of the prefix has.
run_uninstaller() {
  local status=0
  timeout 120 "$wine" 'C:\Program Files\Norvalde\Uninstall.exe' /S >>"$packages_log" 2>&1 ||
    status=$?
  echo "    exit code $status"
  if ! timeout 120 "$wineserver" -w; then
    echo "    the uninstaller did not finish within 120 s"
    return 1
  fi
  [[ $status -eq 0 ]]
}

nothing_left() {
  local left=0
  [[ ! -e "$installed" ]] || { echo "    C:\\Program Files\\Norvalde is still there"; left=1; }
  [[ ! -e "$menu" ]] || { echo "    the Start-menu folder Norvalde is still there"; left=1; }
  ! in_programs_list || { echo "    Norvalde is still in the programs list"; left=1; }
  [[ $left -eq 0 ]]
}

# Starts the program `$2` in the folder `$3` (`$1` names it in the checks): its window opens,
# and Enter right after start-up ends it with code 0.
opens_and_ends_with_enter() {
  local what="$1"
  if window_check_passes "$what opens its window" start_program "$2" "$3"; then
    keys Return
    window_check "Enter ends $what with code 0" ended_with_zero
  fi
  stop_program
}

if [[ ! -f "$installer" ]]; then
  window_check "the installer was built (it needs NSIS's makensis)" false
elif window_check_passes "the installer installs silently with code 0" run_installer; then
  window_check "the installation holds the program, Qt's catalogues, the guide and its entries" \
    installation_is_complete
  opens_and_ends_with_enter "the installed Norvalde.exe" \
    'C:\Program Files\Norvalde\Norvalde.exe' "$installed"
  before="$(installation_listing)"
  window_check "installing again over it (an update) ends with code 0" run_installer
  window_check "the update leaves the same files and Start-menu entries" \
    same_installation_as "$before"
  window_check "the uninstaller runs silently and ends with code 0" run_uninstaller
  window_check "uninstalling leaves no folder, Start-menu entry or programs-list entry" nothing_left
fi

# The zip, unpacked as Windows' "Extract all" does: its folder Norvalde-<version>-win64 inside
# the chosen one.
unpacked="$drive_c/Programas/Horarios Año"
zip_top="$(basename "$zip" .zip)"
unpack_zip() {
  mkdir -p "$unpacked" && (cd "$unpacked" && cmake -E tar xf "$zip") &&
    [[ -f "$unpacked/$zip_top/Norvalde.exe" && -s "$unpacked/$zip_top/GUIA.txt" ]]
}
if [[ ! -f "$zip" ]]; then
  window_check "the zip was built" false
elif window_check_passes "the zip unpacks into C:\\Programas\\Horarios Año" unpack_zip; then
  opens_and_ends_with_enter "Norvalde.exe from the zip" \
    "C:\\Programas\\Horarios Año\\$zip_top\\Norvalde.exe" "$unpacked/$zip_top"
fi
