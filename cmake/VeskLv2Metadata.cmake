# Runs after the LV2 bundle's metadata has been generated (cmake -P, BUNDLE=<bundle folder>,
# URI=<plug-in URI>). Adds the statements the generated files leave out, so that the bundle
# validates against the LV2 vocabulary:
# - the plug-in is a distortion plug-in (hosts sort it by this class) and a doap:Project (the
#   subject of its doap:maintainer and doap:release);
# - the preset property <URI:Program> is a labelled rdf:Property;
# - in the editor's description, ui:noUserResize (a feature) is not listed as extension data and
#   opts:interface (extension data, listed there too) is not listed as an optional feature.
if(NOT BUNDLE OR NOT URI)
    message(FATAL_ERROR "BUNDLE and URI must be set")
endif()

set(ui "${BUNDLE}/ui.ttl")
if(EXISTS "${ui}")
    file(READ "${ui}" uiText)
    set(tab "\t")
    string(REPLACE "${tab}lv2:extensionData\n${tab}${tab}ui:idleInterface ,\n${tab}${tab}opts:interface ,\n${tab}${tab}ui:noUserResize ,\n"
                   "${tab}lv2:extensionData\n${tab}${tab}ui:idleInterface ,\n${tab}${tab}opts:interface ,\n" uiText "${uiText}")
    string(REPLACE "${tab}lv2:optionalFeature\n${tab}${tab}ui:noUserResize ,\n${tab}${tab}opts:interface ,\n"
                   "${tab}lv2:optionalFeature\n${tab}${tab}ui:noUserResize ,\n" uiText "${uiText}")
    file(WRITE "${ui}" "${uiText}")
endif()

set(manifest "${BUNDLE}/manifest.ttl")
file(READ "${manifest}" text)
if(text MATCHES "vesk-metadata-completion")
    return()
endif()

file(APPEND "${manifest}" "
# vesk-metadata-completion
<${URI}>
	a <http://lv2plug.in/ns/lv2core#DistortionPlugin> , <http://usefulinc.com/ns/doap#Project> .

<${URI}:Program>
	a <http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> ;
	rdfs:label \"Program\" ;
	rdfs:comment \"The number of the factory program a preset selects.\" .
")
