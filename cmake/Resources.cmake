# Embedded resources. The entry order of each table is the order listed here.
set(ZORVIK_RESOURCE_TARGETS "")
set(_res ${PROJECT_SOURCE_DIR}/resources)

set(ZORVIK_FONT_FILES
  ${_res}/images/ZORVIK.png
  ${_res}/fonts/Oswald-Bold.ttf
  ${_res}/fonts/Oswald-ExtraLight.ttf
  ${_res}/fonts/Oswald-Light.ttf
  ${_res}/fonts/Oswald-Regular.ttf)

set(ZORVIK_BINARY_FILES
  ${_res}/images/LogoSmall.png
  ${_res}/images/LogoTransparent.png
  ${_res}/presets/Presets.zip)

function(_zorvik_binary_data target namespace header)
  foreach(f IN LISTS ARGN)
    if(NOT EXISTS ${f})
      message(STATUS "Resource ${f} missing: ${target} not built")
      return()
    endif()
  endforeach()
  juce_add_binary_data(${target} NAMESPACE ${namespace} HEADER_NAME ${header} SOURCES ${ARGN})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  # Editing a resource must re-embed it.
  get_target_property(_gen ${target} SOURCES)
  set_source_files_properties(${_gen} PROPERTIES OBJECT_DEPENDS "${ARGN}")
  set(ZORVIK_RESOURCE_TARGETS ${ZORVIK_RESOURCE_TARGETS} ${target} PARENT_SCOPE)
endfunction()

_zorvik_binary_data(ZorvikFontData FontData FontData.h ${ZORVIK_FONT_FILES})
_zorvik_binary_data(ZorvikBinaryData BinaryData BinaryData.h ${ZORVIK_BINARY_FILES})
