#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root, only when
# something is missing. Wine runs the 32-bit Windows programs, so i386 is
# added as a foreign architecture.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3 file xxd man-db
  # Debian's own checker of the tools' package
  lintian
  clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix
  wine wine64 wine32:i386 wine32-preloader:i386 fonts-wine
  xvfb xdotool x11-apps x11-utils imagemagick fonts-wqy-microhei locales
  # the engines that the exported tables are typed in: Rime and fcitx5's table engine
  librime-bin librime-dev libime-bin libimetable-dev libimecore-dev libfcitx5utils-dev libboost-dev
  # what every Rime front end ships: the presets (punctuation, keys) and simplified pinyin
  rime-prelude rime-data-pinyin-simp
  # Rime dictionaries' YAML headers and default.custom.yaml, read as Rime
  # reads them (yaml-cpp); the phones' bundles are zips (libzip)
  libyaml-cpp-dev libzip-dev
  # the lookup page: clang for WebAssembly, and a headless browser for its tests
  wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 binaryen
  chromium chromium-driver python3-selenium
)
# The module's tests run in node; any node on PATH will do.
command -v node >/dev/null || packages+=(nodejs)
# npm installs axe-core for the page's accessibility check (web/tests/package-lock.json).
command -v npm >/dev/null || packages+=(npm)

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: run as root (apt-get is needed)" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "install-deps: installing ${missing[*]:-(package lists)}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  [ ${#missing[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# axe-core, as the lock pins it, for the page's accessibility check.
tests_dir="$(cd "$(dirname "$0")/../web/tests" && pwd)"
if [ ! -f "$tests_dir/node_modules/axe-core/axe.min.js" ]; then
  echo "install-deps: axe-core (npm ci in web/tests)"
  (cd "$tests_dir" && npm ci --no-audit --no-fund)
fi

# Wine's 32-bit side is made of i386 Linux programs. Where the kernel runs
# them itself, nothing more is needed; where its IA-32 support is switched
# off, they run through qemu-i386, registered with binfmt_misc (which lasts
# until the machine restarts). The preloader gives Wine the address space
# layout it needs under qemu as well.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! dpkg-query -W -f='${db:Status-Status}' qemu-user-static 2>/dev/null | grep -qx installed; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > "$binfmt/register"
  fi
  /usr/lib/wine/wine --version >/dev/null || { echo "install-deps: 32-bit Wine cannot run" >&2; exit 1; }
  echo "install-deps: 32-bit programs run through qemu-i386 on this kernel"
fi
