#!/usr/bin/env bash
# Installs the Debian 12 packages listed in scripts/packages.txt that are not installed yet.
# When everything is present it only asks dpkg and returns: no network, no root needed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
list=${1:-$here/packages.txt}

mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$list")
if ((${#wanted[@]} == 0)); then
    exit 0
fi

# One dpkg-query for the whole list. It exits non-zero when some name is unknown to dpkg (never
# installed), which only means that package is missing.
declare -A installed=()
while read -r name status; do
    [[ $status == installed ]] && installed[${name%%:*}]=1
done < <(dpkg-query -W -f='${binary:Package} ${db:Status-Status}\n' "${wanted[@]}" 2>/dev/null || true)

missing=()
for package in "${wanted[@]}"; do
    [[ -n ${installed[$package]:-} ]] || missing+=("$package")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
as_root=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null; then
        as_root=(sudo)
    else
        echo "install-deps: run as root (or install sudo) to install: ${missing[*]}" >&2
        exit 1
    fi
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# Everything the project needs is listed by name, so recommended extras are left out.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends -o Dpkg::Use-Pty=0 "${missing[@]}" >/dev/null
echo "install-deps: done"
