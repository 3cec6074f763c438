# The Windows x64 build (mingw-w64, see cmake/toolchain-mingw64.cmake and scripts/build-windows.sh).
# Debian's JUCE leaves out its bundled image codecs, so the framework's image loaders use libpng,
# libjpeg and zlib built for mingw; JUCE links them itself only on Linux. The VST 2 interface
# headers (fst) come from the build machine's /usr/include, which cannot go on the mingw include
# path whole: only their own folder is copied into the build tree.

find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

set(vesk_fst_copy ${CMAKE_BINARY_DIR}/vst2-interface)
if(NOT EXISTS /usr/include/pluginterfaces/fst/aeffect.h)
    message(FATAL_ERROR "fst headers not found in /usr/include/pluginterfaces/fst: install fst-dev")
endif()
file(COPY /usr/include/pluginterfaces/fst DESTINATION ${vesk_fst_copy}/pluginterfaces)
set_property(TARGET juce_vst2_sdk APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${vesk_fst_copy})

# Every target that compiles juce_graphics.
function(vesk_windows_image_libraries target)
    target_include_directories(${target} BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/cmake/windows)
    target_link_libraries(${target} PRIVATE PNG::PNG JPEG::JPEG ZLIB::ZLIB)
endfunction()

vesk_windows_image_libraries(Vesk)
if(TARGET vesk_host_check)
    vesk_windows_image_libraries(vesk_host_check)
endif()
