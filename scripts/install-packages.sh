#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet, as root or
# through sudo. A package of another architecture (name:i386) first adds that
# architecture to dpkg.
set -euo pipefail

if [ "$#" -eq 0 ]; then
  echo "usage: $0 PACKAGE..." >&2
  exit 2
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "$@"; do
  # dpkg -s also knows packages that were removed but left their configuration.
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

for package in "${missing[@]}"; do
  case "$package" in
    *:*)
      arch="${package##*:}"
      if [ "$arch" != "$(dpkg --print-architecture)" ] &&
         ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        echo "Adding the $arch architecture to dpkg"
        as_root dpkg --add-architecture "$arch"
      fi
      ;;
  esac
done

echo "Updating the package lists"
as_root apt-get update -qq
echo "Installing ${missing[*]}"
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
