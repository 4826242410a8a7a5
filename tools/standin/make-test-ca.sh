#!/bin/sh
# Makes the TLS material the tests use against the stand-in service: a test
# CA and a server certificate for 127.0.0.1 and localhost signed by it, both
# valid for 30 years. Test material only; the keys are public.
#   make-test-ca.sh [OUTPUT_DIR]   (default: tests/support/tls)
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$src/tests/support/tls}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
days=10958

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days "$days" \
  -subj "/O=Ostrel Test/CN=Ostrel Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$tmp/ca.key" -out "$out/ca.pem"

openssl req -newkey rsa:2048 -nodes -sha256 \
  -subj "/O=Ostrel Test/CN=127.0.0.1" \
  -keyout "$out/server.key" -out "$tmp/server.csr"

cat > "$tmp/ext.cnf" <<EXT
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=IP:127.0.0.1,DNS:localhost
EXT

openssl x509 -req -in "$tmp/server.csr" -CA "$out/ca.pem" -CAkey "$tmp/ca.key" -CAcreateserial -CAserial "$tmp/ca.srl" \
  -days "$days" -sha256 -extfile "$tmp/ext.cnf" -out "$out/server.pem"

# The CA's key is not kept: nothing else is ever signed with it.
openssl verify -CAfile "$out/ca.pem" "$out/server.pem"
