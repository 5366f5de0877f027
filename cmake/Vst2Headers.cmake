# VST 2 support comes from Debian's fst-dev headers. JUCE's wrapper includes
# "pluginterfaces/vst2.x/aeffect.h" and "aeffectx.h"; a folder in the build tree gives it that layout by
# linking pluginterfaces/vst2.x to the installed fst headers.
function(zentak_prepare_vst2_headers)
    set(fst_dir /usr/include/pluginterfaces/fst)
    if(NOT EXISTS ${fst_dir}/aeffectx.h)
        message(FATAL_ERROR "VST 2 headers not found in ${fst_dir}: install the Debian package fst-dev")
    endif()
    set(sdk ${CMAKE_BINARY_DIR}/vst2sdk)
    file(MAKE_DIRECTORY ${sdk}/pluginterfaces)
    if(NOT EXISTS ${sdk}/pluginterfaces/vst2.x)
        file(CREATE_LINK ${fst_dir} ${sdk}/pluginterfaces/vst2.x SYMBOLIC)
    endif()
    juce_set_vst2_sdk_path(${sdk})
endfunction()

# Settings that only the format wrappers see.
function(zentak_configure_format_targets target)
    if(TARGET ${target}_VST)
        # A VST 2 host reads the vendor version and the plug-in version as the plain number 202, while
        # the other formats keep the version text 2.0.2.
        target_compile_definitions(${target}_VST PRIVATE JUCE_VST_RETURN_HEX_VERSION_NUMBER_DIRECTLY=1)
        target_compile_options(${target}_VST PRIVATE -UJucePlugin_VersionCode -DJucePlugin_VersionCode=202)
        # The fst headers mark their own open questions with #warning; they are not ours to mend.
        target_compile_definitions(${target}_VST PRIVATE FST_DONT_DEPRECATE_UNKNOWN=1)
        target_compile_options(${target}_VST PRIVATE -Wno-cpp)
    endif()
    # Debian's JUCE takes the LV2 URI only from this definition, which the LV2 wrapper and the
    # shared plug-in code both read.
    get_target_property(uri ${target} JUCE_LV2URI)
    target_compile_definitions(${target} PUBLIC "JucePlugin_LV2URI=\"${uri}\"")
endfunction()
