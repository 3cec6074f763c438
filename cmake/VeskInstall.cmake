# The install step for the plug-ins, the standalone application and the renderer.
#
#   cmake --install <build-dir>
#
# As an ordinary user it copies the plug-ins into the folders Linux hosts scan in the home
# directory: ~/.vst/Vesk.so, ~/.vst3/Vesk.vst3, ~/.lv2/Vesk.lv2, and the programs to
# ~/.local/bin (Vesk, vesk-render). As root it uses the system folders under the install prefix
# (default /usr/local): lib/vst, lib/vst3, lib/lv2 and bin. The choice is made when installing, so
# `sudo cmake --install <build-dir>` works on a tree configured by a user. The environment
# variable VESK_INSTALL_SCOPE (user, system, or package: the Debian package's layout, see
# VeskPackage.cmake) overrides it. DESTDIR and --strip are honoured.
#
# The AAX module has no Linux host to go to and stays in the build folder.

set(VESK_INSTALL_ITEMS "")
if(TARGET Vesk_VST)
    list(APPEND VESK_INSTALL_ITEMS "vst|$<TARGET_FILE:Vesk_VST>")
endif()
if(TARGET Vesk_VST3)
    list(APPEND VESK_INSTALL_ITEMS "vst3|$<GENEX_EVAL:$<TARGET_PROPERTY:Vesk_VST3,JUCE_PLUGIN_ARTEFACT_FILE>>")
endif()
if(TARGET Vesk_LV2)
    list(APPEND VESK_INSTALL_ITEMS "lv2|$<TARGET_FILE_DIR:Vesk_LV2>")
endif()
if(TARGET Vesk_Standalone)
    list(APPEND VESK_INSTALL_ITEMS "bin|$<TARGET_FILE:Vesk_Standalone>")
endif()
if(TARGET vesk-render)
    list(APPEND VESK_INSTALL_ITEMS "bin|$<TARGET_FILE:vesk-render>")
endif()
# Files only the package layout installs (man1, applications, icon, doc) are appended by
# VeskPackage.cmake before the install code is generated.
list(APPEND VESK_INSTALL_ITEMS ${VESK_PACKAGE_ITEMS})

install(CODE "set(VESK_INSTALL_ITEMS \"${VESK_INSTALL_ITEMS}\")
set(VESK_STRIP \"${CMAKE_STRIP}\")
include(\"${CMAKE_CURRENT_LIST_DIR}/VeskInstallPlugins.cmake\")")
