# SPDX-License-Identifier: MIT
# Every library Quelmo builds against, found once, here. A missing one stops
# the configure with the Debian package that brings it (scripts/setup-deps.sh
# installs them all).

function(quelmo_require found what package)
  if(NOT ${found})
    message(FATAL_ERROR "${what} is missing: install the Debian package ${package} "
                        "(or run scripts/setup-deps.sh)")
  endif()
endfunction()

find_package(Qt6 QUIET COMPONENTS Core Gui Widgets DBus Network Test)
quelmo_require(Qt6_FOUND "Qt 6 (Core, Gui, Widgets, D-Bus, Network, Test)" qt6-base-dev)
find_package(Qt6 QUIET COMPONENTS Qml Quick QuickTest)
quelmo_require(Qt6Quick_FOUND "Qt 6 Quick" qt6-declarative-dev)
quelmo_require(Qt6QuickTest_FOUND "Qt 6 Quick Test" qt6-declarative-dev)
find_package(Qt6 QUIET COMPONENTS LinguistTools)
quelmo_require(Qt6LinguistTools_FOUND "Qt 6 Linguist tools (lupdate, lrelease)" qt6-tools-dev)
find_package(Qt6 QUIET COMPONENTS Svg)
quelmo_require(Qt6Svg_FOUND "Qt 6 Svg" qt6-svg-dev)

find_package(X11 QUIET)
quelmo_require(X11_FOUND "libX11" libx11-dev)
quelmo_require(X11_Xi_FOUND "libXi" libxi-dev)
quelmo_require(X11_Xss_FOUND "libXss" libxss-dev)
quelmo_require(X11_Xext_FOUND "libXext" libxext-dev)
quelmo_require(X11_Xrender_FOUND "libXrender" libxrender-dev)
find_package(Threads REQUIRED)

# Wayland sessions: a Wayland connection of Quelmo's own, with protocol code
# generated from our protocol definitions.
find_package(PkgConfig QUIET)
quelmo_require(PkgConfig_FOUND "pkg-config" pkg-config)
pkg_check_modules(WAYLAND_CLIENT QUIET IMPORTED_TARGET GLOBAL wayland-client)
quelmo_require(WAYLAND_CLIENT_FOUND "libwayland-client" libwayland-dev)
find_program(WAYLAND_SCANNER wayland-scanner)
quelmo_require(WAYLAND_SCANNER "wayland-scanner" libwayland-bin)
pkg_get_variable(QUELMO_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
quelmo_require(QUELMO_WAYLAND_PROTOCOLS_DIR "wayland-protocols" wayland-protocols)

# The one way protocol code is made: the client header and the interface code
# of protocol `xml`, generated into the calling folder's build tree and added
# to `target`. The header is included by the file's base name plus
# "-client.h"; the code is compiled as C (the XML may name an argument
# `namespace`, which C++ cannot take).
function(quelmo_wayland_protocol target xml)
  get_filename_component(base ${xml} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
  file(MAKE_DIRECTORY ${out})
  add_custom_command(
    OUTPUT ${out}/${base}-client.h ${out}/${base}.c
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${out}/${base}-client.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${out}/${base}.c
    DEPENDS ${xml} VERBATIM)
  target_sources(${target} PRIVATE ${out}/${base}-client.h ${out}/${base}.c)
  target_include_directories(${target} PUBLIC ${out})
endfunction()

if(QUELMO_BUILD_TESTS)
  find_package(GTest QUIET)
  quelmo_require(GTest_FOUND "GoogleTest" libgtest-dev)
endif()
if(QUELMO_BUILD_BENCHMARKS)
  find_package(benchmark QUIET)
  quelmo_require(benchmark_FOUND "Google Benchmark" libbenchmark-dev)
endif()

# Adds the listed subfolders of the current folder, in order. A subfolder
# with a CMakeLists.txt that is not listed stops the configure, so a new area
# can never drop out of the build (and its tests out of the suite) unseen.
function(quelmo_add_subdirectories)
  file(GLOB present LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}"
       "${CMAKE_CURRENT_SOURCE_DIR}/*")
  foreach(child IN LISTS present)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt" AND NOT child IN_LIST ARGN)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${child} has a CMakeLists.txt but is "
                          "not listed in ${CMAKE_CURRENT_LIST_FILE}")
    endif()
  endforeach()
  foreach(child IN LISTS ARGN)
    add_subdirectory(${child})
  endforeach()
endfunction()
