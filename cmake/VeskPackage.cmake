# The Debian package: build/vesk_<version>_amd64.deb, made by CPack's DEB generator.
#
#   cpack --config <build>/CPackConfig.cmake      (scripts/build-deb.sh builds and runs it)
#
# It installs with the "package" scope of VeskInstallPlugins.cmake (prefix /usr): the plug-ins in
# lib/vst3, lib/lv2 and lib/vst, the standalone as bin/vesk and bin/vesk-render, plus the files
# made here: the renderer's manual page generated from its --help at build time, the standalone's
# manual page, the menu entry with its icon (drawn from the editor's background), the copyright
# file and the changelog. Binaries are stripped; the runtime dependencies come from
# dpkg-shlibdeps. The AAX module is left out: no Linux host loads AAX.
# Needs awk, gzip, ImageMagick's convert, file and dpkg-dev (dpkg-shlibdeps).

if(NOT TARGET vesk-render OR NOT TARGET Vesk_Standalone)
    message(STATUS "Debian package: needs the tools and the standalone; not available")
    return()
endif()
find_program(VESK_CONVERT convert)
if(NOT VESK_CONVERT)
    message(STATUS "Debian package: ImageMagick's convert not found; not available")
    return()
endif()

set(vesk_pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(vesk_pkg_out ${CMAKE_BINARY_DIR}/packaging)

# The changelog's newest entry must be this version, so a release cannot ship without one.
file(STRINGS ${vesk_pkg_src}/changelog vesk_changelog_head LIMIT_COUNT 1)
if(NOT vesk_changelog_head MATCHES "^vesk \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()

add_custom_command(OUTPUT ${vesk_pkg_out}/vesk-render.1.gz
    COMMAND ${vesk_pkg_src}/help-to-man.sh $<TARGET_FILE:vesk-render> ${vesk_pkg_out}/vesk-render.1.gz
    DEPENDS vesk-render ${vesk_pkg_src}/help-to-man.sh
    COMMENT "Manual page of vesk-render from its --help")
add_custom_command(OUTPUT ${vesk_pkg_out}/vesk.1.gz ${vesk_pkg_out}/changelog.gz
    COMMAND sh -c "gzip -9n <$0 >$1" ${vesk_pkg_src}/vesk.1 ${vesk_pkg_out}/vesk.1.gz
    COMMAND sh -c "gzip -9n <$0 >$1" ${vesk_pkg_src}/changelog ${vesk_pkg_out}/changelog.gz
    DEPENDS ${vesk_pkg_src}/vesk.1 ${vesk_pkg_src}/changelog
    VERBATIM)
# The icon: the pedal picture centred on a transparent 256 x 256 square, without time stamps.
add_custom_command(OUTPUT ${vesk_pkg_out}/vesk.png
    COMMAND ${VESK_CONVERT} ${CMAKE_SOURCE_DIR}/source/editor/images/background_2x.png
            -resize 256x256 -background none -gravity center -extent 256x256 -strip
            -define png:exclude-chunks=date,time ${vesk_pkg_out}/vesk.png
    DEPENDS ${CMAKE_SOURCE_DIR}/source/editor/images/background_2x.png)
add_custom_target(vesk_package_files ALL DEPENDS
    ${vesk_pkg_out}/vesk-render.1.gz ${vesk_pkg_out}/vesk.1.gz ${vesk_pkg_out}/changelog.gz ${vesk_pkg_out}/vesk.png)

set(VESK_PACKAGE_ITEMS
    "man1|${vesk_pkg_out}/vesk-render.1.gz"
    "man1|${vesk_pkg_out}/vesk.1.gz"
    "applications|${vesk_pkg_src}/vesk.desktop"
    "icon|${vesk_pkg_out}/vesk.png"
    "doc|${vesk_pkg_src}/copyright"
    "doc|${vesk_pkg_out}/changelog.gz")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Ferrow)
set(CPACK_PACKAGE_CONTACT "Ferrow <vesk@ferrow.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guitar overdrive plug-in (VST3, LV2, VST) and offline renderer")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vesk simulates the circuit of the ts9 overdrive pedal sample by sample:
the linear network as small state-space matrices, the clipping diodes
solved by Newton iteration on every sample, at 2x or 4x oversampling.
Knobs for drive, tone and level, an on/off switch, an 808/MOD model switch,
mono or stereo processing, input gain and quality; four factory programs.

This package holds the VST3, LV2 and VST 2.4 plug-ins in the system folders
that Linux hosts scan, the pedal as a stand-alone application (vesk) and
vesk-render, which runs audio files through the same processor offline.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ferrow.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps sees the linked libraries only. JUCE opens the X11 libraries at run time for
# every window (the editors, the standalone): libX11 and libXext are required, the others used
# when present.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6, libxext6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxcursor1, libxinerama1, libxrandr2, libxrender1")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Read by cpack before it installs: selects the package scope of the install step.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/VeskPackageScope.cmake)
include(CPack)
