# The Windows program: the Win32 layer, the application, and the release zip.

# Static everything: quillorb.exe needs no DLL beside it.
set(QUILLORB_STATIC_LINK -static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# The project's version, for the About page and the version resources (quillorb_version.h).
configure_file(${CMAKE_SOURCE_DIR}/assets/version.h.in
  ${CMAKE_BINARY_DIR}/generated/quillorb_version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

file(GLOB QUILLORB_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/win/*.cpp)
list(FILTER QUILLORB_WIN_SOURCES EXCLUDE REGEX "file_io_win\\.cpp$")
add_library(quillorb_win STATIC ${QUILLORB_WIN_SOURCES})
target_include_directories(quillorb_win PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillorb_win PUBLIC quillorb_model gdi32 user32 kernel32 psapi)

file(GLOB QUILLORB_APP_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/client/*.cpp
  ${CMAKE_SOURCE_DIR}/controls/*.cpp ${CMAKE_SOURCE_DIR}/dialogs/*.cpp)
list(FILTER QUILLORB_APP_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
add_library(quillorb_app STATIC ${QUILLORB_APP_SOURCES})
target_link_libraries(quillorb_app PUBLIC quillorb_win)

add_executable(quillorb WIN32 app/main.cpp assets/quillorb.rc)
# The resource compiler does not see that the manifest is part of the resources.
set_source_files_properties(assets/quillorb.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/assets/quillorb.manifest)
# Sections aligned in the file as in memory: Wine then maps the program's code from the file,
# shared and clean, where with the usual 512-byte alignment it copies the 0.8 MiB of code into
# private memory of every running Quillorb.
target_link_libraries(quillorb PRIVATE quillorb_app ${QUILLORB_STATIC_LINK} -s
  -Wl,--gc-sections -Wl,--file-alignment,0x1000)
target_compile_options(quillorb_app PRIVATE -ffunction-sections -fdata-sections)

# Release zip: quillorb.exe, spells.txt and the player's readme.
set(QUILLORB_ZIP ${CMAKE_BINARY_DIR}/quillorb-${PROJECT_VERSION}-win64.zip)
add_custom_command(OUTPUT ${QUILLORB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/zip/Quillorb
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillorb> ${CMAKE_BINARY_DIR}/bin/spells.txt
          ${CMAKE_SOURCE_DIR}/docs/player-readme.txt ${CMAKE_BINARY_DIR}/zip/Quillorb/
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
          ${CMAKE_COMMAND} -E tar cf ${QUILLORB_ZIP} --format=zip Quillorb
  DEPENDS quillorb ${CMAKE_SOURCE_DIR}/data/spells.txt ${CMAKE_SOURCE_DIR}/docs/player-readme.txt
  COMMENT "Packing ${QUILLORB_ZIP}")
add_custom_target(release_zip ALL DEPENDS ${QUILLORB_ZIP})

# art_preview.exe: the spell and reagent pictures as BMPs to look at.
add_executable(art_preview tools/art_preview.cpp)
target_link_libraries(art_preview PRIVATE quillorb_app ${QUILLORB_STATIC_LINK})

# window_shot.exe: screenshots of a running window (scripts/run.sh, README pictures).
if(QUILLORB_TESTS)
  add_executable(window_shot tools/window_shot.cpp)
  target_link_libraries(window_shot PRIVATE quillorb_harness ${QUILLORB_STATIC_LINK})
endif()

add_subdirectory(bench)
