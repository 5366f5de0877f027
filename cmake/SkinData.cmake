# The widget kit: its sources, the embedded fonts (namespace FontData) and the embedded skin images
# (namespace SkinData, one PNG per image under resources/skin, drawn by tools/artgen).

set(ZENTAK_WIDGET_SOURCES
    ui/widgets/SkinImage.cpp
    ui/widgets/SkinLook.cpp
    ui/widgets/StsResor.cpp
    ui/widgets/WavePicture.cpp
    ui/widgets/StsCont.cpp
    ui/widgets/StsBut.cpp
    ui/widgets/SwitchLED.cpp
    ui/widgets/StsLabel.cpp
    ui/widgets/StsGrid.cpp
    ui/widgets/LCD_Comp.cpp
    ui/widgets/Envel.cpp
    ui/widgets/VelIndClass.cpp
    ui/widgets/WheelCnt.cpp
    ui/widgets/ProgBar.cpp
    ui/widgets/RenameCnt.cpp
    ui/widgets/AboutPanel.cpp)

# JUCE's binary-data rule depends only on its list of inputs; make it follow the files themselves.
function(zentak_binary_data target namespace header)
    juce_add_binary_data(${target} NAMESPACE ${namespace} HEADER_NAME ${header} SOURCES ${ARGN})
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE TRUE)
    add_custom_command(OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/juce_binarydata_${target}/JuceLibraryCode/BinaryData1.cpp"
        APPEND DEPENDS ${ARGN})
endfunction()

zentak_binary_data(zentak_font_data FontData FontData.h
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/fonts/LiberationSans-Regular.ttf
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/fonts/LiberationSans-Bold.ttf)

file(GLOB ZENTAK_SKIN_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin/*.png)
list(SORT ZENTAK_SKIN_FILES)
if(ZENTAK_SKIN_FILES)
    zentak_binary_data(zentak_skin_data SkinData SkinData.h ${ZENTAK_SKIN_FILES})
    set(ZENTAK_SKIN_DATA_TARGET zentak_skin_data)
else()
    # Only while bootstrapping the art: build zentak_artgen, run the zentak_skin target, configure again.
    message(WARNING "resources/skin holds no images yet: only the art generator can be built")
    set(ZENTAK_SKIN_DATA_TARGET "")
    set(ZENTAK_WIDGET_SOURCES "")
endif()
