#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillmere need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build make g++ pkg-config
  qt6-base-dev qt6-qpa-plugins
  libcurl4-openssl-dev libicu-dev libssl-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev libbenchmark-dev
  fonts-wqy-microhei
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
