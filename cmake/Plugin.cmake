# The VST3 plug-in (JUCE), its embedded resources, the render tool and the
# tests that need JUCE.
find_package(JUCE CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)
# State blocks and preset files are parsed with expat (libexpat1 is on every desktop).
pkg_check_modules(ZORVIK_EXPAT REQUIRED IMPORTED_TARGET expat)
# The settings file's compressed form is checked with zlib before the framework reads it.
pkg_check_modules(ZORVIK_ZLIB REQUIRED IMPORTED_TARGET zlib)

include(${CMAKE_CURRENT_LIST_DIR}/Resources.cmake)

juce_add_plugin(ZorvikReverb
  COMPANY_NAME "ZORVIK"
  COMPANY_WEBSITE ""
  COMPANY_EMAIL ""
  PRODUCT_NAME "ZORVIK Reverb"
  PLUGIN_NAME "ZORVIK Reverb"
  DESCRIPTION "ZORVIK Reverb"
  VERSION 1.2.0
  PLUGIN_MANUFACTURER_CODE Zrvk
  PLUGIN_CODE Rvrb
  FORMATS VST3
  IS_SYNTH FALSE
  NEEDS_MIDI_INPUT FALSE
  NEEDS_MIDI_OUTPUT FALSE
  IS_MIDI_EFFECT FALSE
  EDITOR_WANTS_KEYBOARD_FOCUS FALSE
  VST3_CATEGORIES Fx
  NEEDS_CURL TRUE
  COPY_PLUGIN_AFTER_BUILD FALSE)

file(GLOB_RECURSE ZORVIK_PLUGIN_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/ui/*.cpp ${PROJECT_SOURCE_DIR}/ui/*.h
  ${PROJECT_SOURCE_DIR}/reverb/Plugin/*.cpp ${PROJECT_SOURCE_DIR}/reverb/Plugin/*.h
  ${PROJECT_SOURCE_DIR}/reverb/Editor/*.cpp ${PROJECT_SOURCE_DIR}/reverb/Editor/*.h)
target_sources(ZorvikReverb PRIVATE ${ZORVIK_PLUGIN_SOURCES})
target_include_directories(ZorvikReverb PUBLIC
  ${PROJECT_SOURCE_DIR}/ui ${PROJECT_SOURCE_DIR}/reverb/Plugin ${PROJECT_SOURCE_DIR}/reverb/Editor)

target_compile_definitions(ZorvikReverb PUBLIC
  JUCE_VST3_CAN_REPLACE_VST2=0
  JUCE_WEB_BROWSER=0
  JUCE_USE_CURL=1
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_REPORT_APP_USAGE=0
  JUCE_MODAL_LOOPS_PERMITTED=1)

target_link_libraries(ZorvikReverb
  PRIVATE
    zorvik_engine
    PkgConfig::ZORVIK_EXPAT
    PkgConfig::ZORVIK_ZLIB
    ${ZORVIK_RESOURCE_TARGETS}
    juce::juce_core juce::juce_events juce::juce_data_structures
    juce::juce_graphics juce::juce_gui_basics juce::juce_gui_extra
    juce::juce_audio_basics juce::juce_audio_processors
  PUBLIC
    juce::juce_recommended_config_flags
    juce::juce_recommended_warning_flags)
zorvik_warnings(ZorvikReverb)

# Tests that link the plug-in's shared code take its include folders and
# definitions; the JUCE modules are already compiled into it.
function(zorvik_juce_test_binary name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/JuceTestMain.cpp)
  target_include_directories(${name} PRIVATE
    $<TARGET_PROPERTY:ZorvikReverb,INCLUDE_DIRECTORIES> ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE $<TARGET_PROPERTY:ZorvikReverb,COMPILE_DEFINITIONS>)
  target_link_libraries(${name} PRIVATE ZorvikReverb zorvik_engine GTest::gtest)
  zorvik_warnings(${name})
  target_compile_definitions(${name} PRIVATE
    ZORVIK_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output"
    ZORVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600)
endfunction()

# JUCE's modules for the host-side programs (the render tool, the bundle tests and
# the kernel benchmark), compiled once: JUCE's own VST3 hosting, as a DAW loads the
# bundle. The modules' sources go into this library only; the programs take its
# include folders and definitions.
pkg_check_modules(ZORVIK_CODECS REQUIRED IMPORTED_TARGET flac vorbisenc vorbisfile vorbis ogg)
add_library(zorvik_juce_host STATIC)
target_compile_definitions(zorvik_juce_host PUBLIC
  JUCE_STANDALONE_APPLICATION=1 JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
  JUCE_PLUGINHOST_VST3=1 JUCE_PLUGINHOST_VST=0 JUCE_PLUGINHOST_LADSPA=0 JUCE_PLUGINHOST_LV2=0
  JUCE_USE_CURL=0 JUCE_WEB_BROWSER=0 JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_VST3_CAN_REPLACE_VST2=0 JUCE_MODAL_LOOPS_PERMITTED=1)
target_link_libraries(zorvik_juce_host
  PRIVATE
    juce::juce_core juce::juce_events juce::juce_data_structures juce::juce_graphics
    juce::juce_gui_basics juce::juce_audio_basics juce::juce_audio_formats
    juce::juce_audio_processors juce::juce_dsp
  PUBLIC
    juce::juce_recommended_config_flags juce::pkgconfig_JUCE_IMG_LINUX_DEPS PkgConfig::ZORVIK_CODECS)
target_compile_options(zorvik_juce_host PRIVATE -Wno-dangling-pointer)

function(zorvik_juce_host_program name)
  add_executable(${name} ${ARGN})
  target_include_directories(${name} PRIVATE $<TARGET_PROPERTY:zorvik_juce_host,INCLUDE_DIRECTORIES>)
  target_compile_definitions(${name} PRIVATE $<TARGET_PROPERTY:zorvik_juce_host,COMPILE_DEFINITIONS>)
  target_link_libraries(${name} PRIVATE zorvik_juce_host)
  target_compile_options(${name} PRIVATE -Wno-dangling-pointer)
endfunction()

# A host-side program that loads the bundle.
function(zorvik_vst3_host_app name)
  zorvik_juce_host_program(${name} ${ARGN})
  add_dependencies(${name} ZorvikReverb_VST3)
endfunction()

set(ZORVIK_BUNDLE "${CMAKE_BINARY_DIR}/ZorvikReverb_artefacts/$<CONFIG>/VST3/ZORVIK Reverb.vst3")

# The preset reading code, shared by the plug-in and the render tool.
set(ZORVIK_PRESET_READER_SOURCES
  ${PROJECT_SOURCE_DIR}/ui/Basics/UserFolders.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/FolderListing.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/Preset.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/PresetParser.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/PresetReader.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/RegularFileReader.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/SafeText.cpp
  ${PROJECT_SOURCE_DIR}/ui/Preset/SafeXmlReader.cpp)

file(GLOB ZORVIK_RENDER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/render/*.cpp)
if(ZORVIK_RENDER_SOURCES)
  zorvik_vst3_host_app(zorvik_render ${ZORVIK_RENDER_SOURCES} ${ZORVIK_PRESET_READER_SOURCES})
  set_target_properties(zorvik_render PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/zorvik_render_artefacts/$<CONFIG>")
  # The tool reads the same factory archive as the plug-in, with the plug-in's own
  # preset reading code and parameter table.
  target_include_directories(zorvik_render PRIVATE ${PROJECT_SOURCE_DIR}/ui)
  target_link_libraries(zorvik_render PRIVATE ZorvikBinaryData zorvik_engine PkgConfig::ZORVIK_EXPAT)
  zorvik_warnings(zorvik_render)
endif()

function(zorvik_plugin_tests)
  zorvik_juce_test_binary(plugin_tests plugin)
  zorvik_juce_test_binary(ui_tests ui)

  file(GLOB_RECURSE e2e_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
  if(e2e_sources)
    zorvik_vst3_host_app(e2e_tests ${e2e_sources} ${PROJECT_SOURCE_DIR}/tests/support/JuceTestMain.cpp)
    target_include_directories(e2e_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(e2e_tests PRIVATE GTest::gtest)
    zorvik_warnings(e2e_tests)
    target_compile_definitions(e2e_tests PRIVATE
      ZORVIK_BUNDLE_PATH="${ZORVIK_BUNDLE}"
      ZORVIK_RENDER_TOOL="$<$<TARGET_EXISTS:zorvik_render>:$<TARGET_FILE:zorvik_render>>"
      ZORVIK_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
    if(TARGET zorvik_render)
      add_dependencies(e2e_tests zorvik_render)
    endif()
    gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600)
  endif()

  # The bundle's shared object loaded through the raw VST3 interfaces, as
  # validators load it; no JUCE on the host side.
  file(GLOB_RECURSE conformance_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/conformance/*.cpp)
  if(conformance_sources)
    find_package(Threads REQUIRED)
    add_executable(conformance_tests ${conformance_sources})
    target_include_directories(conformance_tests SYSTEM PRIVATE
      ${JUCE_MODULES_DIR}/juce_audio_processors/format_types/VST3_SDK)
    target_include_directories(conformance_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    # The SDK's headers want its release or development mode named; a Debug build
    # defines neither NDEBUG nor _DEBUG.
    target_compile_definitions(conformance_tests PRIVATE RELEASE=1
      ZORVIK_VST3_BINARY="${ZORVIK_BUNDLE}/Contents/x86_64-linux/ZORVIK Reverb.so")
    target_link_libraries(conformance_tests PRIVATE GTest::gtest Threads::Threads ${CMAKE_DL_LIBS})
    zorvik_warnings(conformance_tests)
    add_dependencies(conformance_tests ZorvikReverb_VST3)
    gtest_discover_tests(conformance_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600)
  endif()
endfunction()

function(zorvik_plugin_benchmarks)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/benchmarks/plugin/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(plugin_benchmarks ${sources})
  target_include_directories(plugin_benchmarks PRIVATE $<TARGET_PROPERTY:ZorvikReverb,INCLUDE_DIRECTORIES>)
  target_compile_definitions(plugin_benchmarks PRIVATE $<TARGET_PROPERTY:ZorvikReverb,COMPILE_DEFINITIONS>)
  target_link_libraries(plugin_benchmarks PRIVATE ZorvikReverb zorvik_engine benchmark::benchmark benchmark::benchmark_main)
  target_compile_options(plugin_benchmarks PRIVATE -Wno-dangling-pointer)
endfunction()
