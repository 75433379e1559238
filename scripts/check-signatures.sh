#!/usr/bin/env bash
# Checks the signing of a release on a build that has just been packaged
# unsigned (scripts/package.sh BUILD_DIR): makes a throwaway code-signing
# certificate, packages a signed copy of the build into build/package-signed
# (PP_PACKAGE_OUT) and checks that
#   - a signing that fails (a wrong password) fails the package command with
#     osslsigncode's message and leaves no package;
#   - every signed file's signature verifies against that certificate;
#   - every signed file is its unsigned file with only the signature added;
#   - the rest of the signed package is the unsigned package's, its SHA256SUMS
#     and its zip cover the signed files;
#   - the unsigned package is left as it was.
# Prints one "PASS what" or "FAIL what: why" per check, then the timings.
#   scripts/check-signatures.sh BUILD_DIR
set -u
cd "$(dirname "$0")/.." || exit 1
build=${1:?usage: check-signatures.sh BUILD_DIR}
build=${build%/}
out=build/package-signed

fail() { printf 'FAIL %s\n' "$(tr -s '\n' ' ' <<<"$*" | sed 's/ $//')"; }  # one line, however long the message
now() { date +%s%N; }
ms() { echo "$((($2 - $1) / 1000000)) ms"; }
listing() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' '\0' | xargs -0 sha256sum); }

unsigned=$(sed -n 's/^PP_PACKAGE_DIR:PATH=//p' "$build/CMakeCache.txt" 2>/dev/null)
if [ -z "$unsigned" ] || [ ! -f "$unsigned.zip" ]; then
  fail "signing: no unsigned package of $build to compare with"
  exit 0
fi
name=$(basename "$unsigned")
signed=$out/$name
before=$(listing "$unsigned"; sha256sum "$unsigned.zip")
# The files that must be signed, found in the unsigned package.
mapfile -t files < <(cd "$unsigned" && { printf '%s\n' Setup.exe Desinstalar.exe; find . -iname 7404VXUI.DLL -printf '%P\n' | LC_ALL=C sort; })

work=$(mktemp -d "$PWD/build/signing-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The throwaway certificate: self-signed, for code signing only, its key
# exported with it as PKCS#12 under a password kept in a file.
subject="CN = Printer package test signer, O = Printer package tests"
cat >"$work/openssl.cnf" <<'EOF'
[req]
distinguished_name = dn
prompt = no
x509_extensions = ext
[dn]
CN = Printer package test signer
O = Printer package tests
[ext]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = critical,codeSigning
subjectKeyIdentifier = hash
EOF
head -c 18 /dev/urandom | base64 >"$work/password"
echo "not the password" >"$work/wrong-password"
start=$(now)
if ! err=$(openssl req -x509 -newkey rsa:2048 -nodes -days 2 -config "$work/openssl.cnf" \
      -keyout "$work/key.pem" -out "$work/cert.pem" 2>&1 &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" \
      -passout "file:$work/password" 2>&1); then
  fail "signing: openssl made no test certificate: $err"
  exit 0
fi
t_cert=$(ms "$start" "$(now)")

# A signing that fails leaves nothing behind.
start=$(now)
err=$(PP_SIGN_PFX=$work/cert.pfx PP_SIGN_PASSWORD_FILE=$work/wrong-password PP_PACKAGE_OUT=$out \
  bash scripts/package.sh "$build" 2>&1)
status=$?
t_failed=$(ms "$start" "$(now)")
left=$(find "$out" -maxdepth 1 -name "$name*" 2>/dev/null)
if [ "$status" -eq 0 ]; then
  fail "a wrong certificate password fails the package command: it succeeded"
elif ! grep -q "^package: osslsigncode could not sign Setup.exe" <<<"$err" || ! grep -qi 'PKCS#12' <<<"$err"; then
  fail "a wrong certificate password fails the package command with osslsigncode's message: $err"
elif [ -n "$left" ]; then
  fail "a failed signing leaves no package: it left $left"
else
  echo "PASS a wrong certificate password fails the package command with osslsigncode's message and leaves no package"
fi

start=$(now)
if ! said=$(PP_SIGN_PFX=$work/cert.pfx PP_SIGN_PASSWORD_FILE=$work/password PP_PACKAGE_OUT=$out \
    bash scripts/package.sh "$build" 2>&1); then
  fail "signed package of $build: $said"
  exit 0
fi
t_package=$(ms "$start" "$(now)")
printf '%s\n' "$said"
if grep -qxF "package: signed ${#files[@]} files (Setup.exe, Desinstalar.exe, $((${#files[@]} - 2)) x 7404VXUI.DLL) with \"$subject\" from ${work#"$PWD/"}/cert.pfx" <<<"$said"; then
  echo "PASS signed package of $build in $out, the package command names the ${#files[@]} files and the signer"
else
  fail "the signed package command names the ${#files[@]} files and the signer \"$subject\""
fi

start=$(now)
for file in "${files[@]}"; do
  if result=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$signed/$file" 2>&1) &&
      grep -q '^Signature verification: ok' <<<"$result"; then
    echo "PASS signed $file: its signature verifies against the test certificate"
  else
    fail "signed $file: its signature verifies against the test certificate: $(tail -5 <<<"$result")"
  fi
done
t_verify=$(ms "$start" "$(now)")

# Only the signature was added: the signed file is the unsigned one with the
# PE checksum and the certificate table's directory entry filled in and the
# certificate table appended (after zeros up to a multiple of 8 bytes), and
# the checksum is right; osslsigncode's remove-signature gives back the
# unsigned bytes but for the checksum, which it leaves as it was signed.
for file in "${files[@]}"; do
  stripped=$work/stripped-$(tr / - <<<"$file")
  if ! result=$(osslsigncode remove-signature -in "$signed/$file" -out "$stripped" 2>&1); then
    fail "signed $file differs from the unsigned one only by its signature: remove-signature: $result"
    continue
  fi
  if result=$(python3 - "$unsigned/$file" "$signed/$file" "$stripped" <<'EOF' 2>&1
import struct, sys
unsigned, signed, stripped = (open(p, "rb").read() for p in sys.argv[1:])

def layout(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "no PE header"
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    directories = opt + {0x10B: 96, 0x20B: 112}[magic]
    return opt + 64, directories + 4 * 8  # the checksum, the certificate table's entry

def checksum(data, at):  # the PE checksum, its own field taken as zeros
    words = bytearray(data)
    words[at:at + 4] = bytes(4)
    if len(words) % 2:
        words.append(0)
    total = sum(memoryview(words).cast("H"))
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)

cks, sec = layout(unsigned)
assert layout(signed) == (cks, sec), "the headers moved"
assert unsigned[sec:sec + 8] == b"\0" * 8, "the unsigned file already has a certificate table"
offset, size = struct.unpack_from("<II", signed, sec)
n = len(unsigned)
assert offset == (n + 7) // 8 * 8, f"the certificate table starts at {offset}, not after the file ({n})"
assert offset + size == len(signed), "the certificate table does not end the file"
assert signed[n:offset] == b"\0" * (offset - n), "the padding is not zeros"
length, revision, kind = struct.unpack_from("<IHH", signed, offset)
assert revision == 0x200 and kind == 2 and length <= size, "no PKCS#7 WIN_CERTIFICATE"
same = lambda a, b: a[:cks] == b[:cks] and a[cks + 4:sec] == b[cks + 4:sec] and a[sec + 8:n] == b[sec + 8:n]
assert same(signed, unsigned), "bytes other than the checksum and the certificate entry changed"
got, want = struct.unpack_from("<I", signed, cks)[0], checksum(signed, cks)
assert got == want, f"the PE checksum is {got:#x}, the file's is {want:#x}"
assert len(stripped) == n and same(stripped, unsigned) and stripped[sec:sec + 8] == b"\0" * 8, \
    "remove-signature does not give back the unsigned bytes"
print(f"{size} bytes of signature")
EOF
  ); then
    echo "PASS signed $file is the unsigned file with only its signature added ($result)"
  else
    fail "signed $file differs from the unsigned one only by its signature: $(tail -1 <<<"$result")"
  fi
done

# Everything else is the unsigned package's; SHA256SUMS and the zip cover the
# signed files.
others=$(diff <(listing "$unsigned" | grep -v '  SHA256SUMS$') <(listing "$signed" | grep -v '  SHA256SUMS$') |
  sed -n 's/^[<>] [0-9a-f]*  //p' | sort -u)
if [ "$others" = "$(printf '%s\n' "${files[@]}" | sort)" ]; then
  echo "PASS the signed package holds the unsigned package's files, only the ${#files[@]} signed ones differ"
else
  fail "the signed package differs from the unsigned one in exactly the signed files: it differs in $(tr '\n' ' ' <<<"$others")"
fi
if result=$(cd "$signed" && sha256sum --quiet --strict -c SHA256SUMS 2>&1) &&
    result=$(python3 - "$signed" <<'EOF' 2>&1
import os, sys, zipfile
folder = sys.argv[1]
name = os.path.basename(folder)
files = {}
for root, _, names in os.walk(folder):
    for f in names:
        path = os.path.join(root, f)
        files[name + "/" + os.path.relpath(path, folder).replace(os.sep, "/")] = open(path, "rb").read()
with zipfile.ZipFile(folder + ".zip") as z:
    entries = {i.filename: z.read(i) for i in z.infolist()}
assert entries.keys() == files.keys(), f"entries {sorted(entries.keys() ^ files.keys())} are not the folder's"
bad = [k for k in files if files[k] != entries[k]]
assert not bad, f"{bad} differ from the folder's"
EOF
    ); then
  echo "PASS the signed package's SHA256SUMS and zip cover the signed files"
else
  fail "the signed package's SHA256SUMS and zip cover the signed files: $result"
fi

if [ "$before" = "$(listing "$unsigned"; sha256sum "$unsigned.zip")" ]; then
  echo "PASS the unsigned package ${unsigned#"$PWD/"} is left as it was"
else
  fail "the unsigned package ${unsigned#"$PWD/"} is left as it was: it changed"
fi

echo "(test certificate: $t_cert; failed signing: $t_failed; signed package: $t_package; verifying ${#files[@]} signatures: $t_verify)"
