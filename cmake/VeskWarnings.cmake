# Warnings for the project's own code. JUCE's module sources are compiled inside the same targets,
# so the flags go on the project's own source files only.
function(vesk_project_warnings target)
    get_target_property(srcs ${target} SOURCES)
    foreach(src IN LISTS srcs)
        if(src MATCHES "^${CMAKE_SOURCE_DIR}/(source|tests|bench|tools|binding)/" OR NOT IS_ABSOLUTE "${src}")
            if(NOT src MATCHES "juce_|JuceLibraryCode|BinaryData")
                set_property(SOURCE ${src} TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_OPTIONS -Wall -Wextra)
            endif()
        endif()
    endforeach()
endfunction()
