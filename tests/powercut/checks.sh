# What must hold after a power cut (sourced by scripts/power-cut.sh inside the emulated
# machine; $dir is the installation directory on the second disk, $drive that disk, setup runs
# the distribution's SETUP.EXE).
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Every file that lies under its own name in the directory is named by the log (our work
# folders and temporary names aside, which the next run takes away).
check_names() {
  local log=$dir/INSTALL1.LOG logged name files=0 named=0
  [ -d "$dir" ] || { echo "the last cut left: nothing on the disk"; return; }
  logged=$( [ -f "$log" ] && iconv -f UTF-16 -t UTF-8 "$log" | tr -d '\r' | tr 'A-Z' 'a-z')
  while IFS= read -r name; do
    case "${name,,}" in install1.log | cpy*.tmp | exp*.tmp | log*.tmp | ~up*.tmp) continue ;; esac
    files=$((files + 1))
    if grep -q "=c:\\\\schnitt\\\\adressen\\\\${name,,}\$" <<<"$logged"; then named=$((named + 1)); else
      [ $((files - named)) -gt 3 ] || fail "$name lies under its own name, and the log does not name it"
      failed=1
    fi
  done < <(find "$dir" -mindepth 1 -maxdepth 1 -type f -printf '%f\n')
  echo "the last cut left: $files files under their own names, $named of them named by the log ($(grep -c '^file[0-9]*=c:' <<<"$logged") entries)"
}

# The next run completes the installation, and the removal leaves nothing of it.
finish() {
  setup /q '/D=C:\Schnitt\Adressen' || fail "the installation after the cut ended with $?"
  "$WINE" 'C:\Schnitt\Adressen\Uninstal.exe' /q </dev/null >/dev/null 2>&1 || fail "the removal ended with $?"
  for _ in $(seq 120); do [ -d "$dir" ] || break; sleep 1; done
  local left
  left=$(find "$drive" -mindepth 1 -not -path "$drive/lost+found*" | head -n 5)
  [ -z "$left" ] || fail "left after the removal: $left"
}
