# Sourced by the tests that sign, with their arguments SETUP.EXE WIN_BIN_DIR and root set: the
# files they work on, a throw-away code-signing certificate, and the example's source folder
# as demo.sh lays it out.
setup_exe=$(realpath "$1") bin=$(realpath "$2") distkit=$root/build/native/bin/distkit work=$(mktemp -d)
[ -x "$distkit" ] || { echo "FAILED: no native toolkit at $distkit (build the native preset first)"; exit 1; }
# make_test_certificate DIR: DIR/cert.pem, DIR/key.pem, DIR/cert.pfx and its DIR/password.
make_test_certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1/key.pem" -out "$1/cert.pem" -days 2 \
    -subj "/CN=Muster Software Test" 2>/dev/null
  echo geheim >"$1/password"
  openssl pkcs12 -export -out "$1/cert.pfx" -inkey "$1/key.pem" -in "$1/cert.pem" -passout file:"$1/password"
}
# example_source ROOT WIN_BIN_DIR DEST
example_source() {
  mkdir -p "$3"
  cp "$1"/examples/{Setup.lst,Liesmich.txt,Vertrag.Txt,ADRESSEN.HLP,beispiel.hdb} "$2"/{ADRESSEN.EXE,ADRHELP.DLL} "$3/"
}
