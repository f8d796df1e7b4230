#!/usr/bin/env bash
# Installs every Debian package tavik needs to build, run, test, benchmark and package.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-l10n-tools libgl-dev
  libjpeg62-turbo-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-noto-cjk
  espeak-ng libespeak-ng-dev mecab libmecab-dev mecab-ipadic-utf8
  xvfb xauth openbox xdotool x11vnc x11-utils imagemagick sox iproute2 util-linux xdg-utils file shared-mime-info
  dpkg-dev lintian desktop-file-utils appstream
  locales libc-l10n
  python3-pyatspi at-spi2-core dbus-daemon
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

if [ ${#missing[@]} -ne 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Failure reasons are the C library's own Japanese messages (libc-l10n), which it gives only
# through a Japanese locale. Listed in /etc/locale.gen too, so that a later locale-gen keeps it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  if [ -f /etc/locale.gen ]; then
    $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)$/\1/' /etc/locale.gen
  fi
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
