#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what Quelmo needs to build, test and run on Debian 12.
# Only packages that are missing are installed, so a ready machine pays nothing.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake ninja-build pkg-config clang-format qt6-declarative-dev-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6: widgets, D-Bus, QML views
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-svg-dev qt6-qpa-plugins
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-shapes qml6-module-qtquick-window qml6-module-qtquick-templates
  qml6-module-qtqml-workerscript qml6-module-qttest
  # the typeface of the settings window and the welcome guide
  fonts-inter
  # X11 specifics: input activity, hot key, display power
  libx11-dev libxi-dev libxss-dev libxext-dev libxrender-dev libgl-dev
  # headless checks: a real X server, synthetic input, screenshots, a private bus
  xvfb xdotool imagemagick dbus dbus-x11 x11-utils
  # frost and tray tests: a compositor, an XEmbed tray
  xcompmgr trayer
  # Wayland input activity over our own connection; headless sway and mutter and
  # synthetic Wayland input for its tests
  libwayland-dev libwayland-bin sway wtype mutter
  # benchmarks: xrandr splits one X screen into two monitors
  x11-xserver-utils
  # translations: lupdate and lrelease with their CMake functions, Qt's own catalogues
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # Wayland frost: protocol definitions, Qt's Wayland platform, and for its tests
  # screenshots of a headless sway and XWayland under mutter
  wayland-protocols qt6-wayland grim xwayland
  # soak and hostile-input scripts: ps and pgrep watch Quelmo's children
  procps
  # the tray test: Waybar as a real StatusNotifier host on the headless sway
  waybar
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
