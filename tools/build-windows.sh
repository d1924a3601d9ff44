#!/usr/bin/env bash
# The Windows build: installs the mingw-w64 cross compiler and Wine when missing, fetches the
# sources of the host's libraries, builds the plug-in files (build-windows/plugins/*.aip), the host
# (build-windows/host/quiltor-host.exe) and the Windows tests, and packs
# dist/quiltor-windows-x64.zip. Run the tests with
#   ctest --test-dir build-windows
# (one of them compares with the Linux build in build/, which tools/run-tests.sh makes).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --windows
# The host's libraries, from Debian's source packages of the archive this machine uses; fetched
# once, into the build folder, never into the repository.
deps=$PWD/build-windows/deps
if ! ls -d "$deps"/pugixml-*/ "$deps"/libpolyclipping-*/ >/dev/null 2>&1; then
  mkdir -p "$deps/apt/lists/partial"
  uri=$(awk '/^URIs:/ {print $2; exit} /^deb / {print $2; exit}' /etc/apt/sources.list.d/debian.sources \
          /etc/apt/sources.list 2>/dev/null || true)
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deb-src ${uri:-http://deb.debian.org/debian} $suite main" > "$deps/apt/sources.list"
  apt=(apt-get -q -o Dir::Etc::sourcelist="$deps/apt/sources.list" -o Dir::Etc::sourceparts=-
       -o Dir::State::Lists="$deps/apt/lists" -o APT::Sandbox::User=root)
  "${apt[@]}" update
  (cd "$deps" && "${apt[@]}" source pugixml libpolyclipping)
fi
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine -DQUILTOR_BUILD_BENCH=OFF -DQUILTOR_WINDOWS_DEPS="$deps"
cmake --build build-windows -j"$(nproc)"

# The zip a Windows user gets: the host, the plug-in files and how to run them.
package=build-windows/package/quiltor-windows-x64
rm -rf build-windows/package && mkdir -p "$package/plugins" dist
cp build-windows/host/quiltor-host.exe "$package/"
cp build-windows/plugins/KTRQuiltorSelectMerge.aip build-windows/plugins/KTRQuiltorAdjust.aip "$package/plugins/"
cp tools/windows-readme.txt "$package/README.txt"
x86_64-w64-mingw32-strip "$package/quiltor-host.exe" "$package"/plugins/*.aip
rm -f dist/quiltor-windows-x64.zip
(cd build-windows/package && zip -q -r ../../dist/quiltor-windows-x64.zip quiltor-windows-x64)
echo "Windows zip: dist/quiltor-windows-x64.zip"
