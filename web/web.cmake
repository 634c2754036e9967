# The game for a browser: index.html, index.js, index.wasm and index.data (the data set, preloaded
# at /game). SDL2, SDL2_image and SDL2_mixer come from the prefix that scripts/web-sdl.sh builds.
set(ZORVANE_WEB_SDL "" CACHE PATH "Prefix of SDL2, SDL2_image and SDL2_mixer built for the browser")
set(ZORVANE_WEB_DATA "${CMAKE_SOURCE_DIR}/game" CACHE PATH "The data set packed into the page")
foreach(library SDL2 SDL2_image SDL2_mixer)
  if(NOT EXISTS "${ZORVANE_WEB_SDL}/lib/lib${library}.a")
    message(FATAL_ERROR "No ${library} for the browser under ZORVANE_WEB_SDL='${ZORVANE_WEB_SDL}' (make web builds it)")
  endif()
endforeach()
if(NOT EXISTS "${ZORVANE_WEB_DATA}/DATA")
  message(FATAL_ERROR "ZORVANE_WEB_DATA='${ZORVANE_WEB_DATA}' holds no DATA folder")
endif()

# EM_ASM's arguments are named $0, $1, ...
add_compile_options(-Wall -Wextra -Wpedantic -Wno-dollar-in-identifier-extension)

file(GLOB_RECURSE TESSERA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
# The modding tools stay on the desktop; the tests' hooks are for the tests.
list(REMOVE_ITEM TESSERA_SOURCES ${CMAKE_SOURCE_DIR}/src/game/modding_tools.cpp
     ${CMAKE_SOURCE_DIR}/src/platform/platform_testing.cpp)

add_executable(zorvane ${TESSERA_SOURCES})
set_target_properties(zorvane PROPERTIES OUTPUT_NAME index SUFFIX .html)
# Our SDL's headers first: Emscripten's own include path holds SDL 1.2's.
target_include_directories(zorvane PRIVATE ${CMAKE_SOURCE_DIR}/src ${ZORVANE_WEB_SDL}/include/SDL2
                           ${ZORVANE_WEB_SDL}/include)
target_compile_definitions(zorvane PRIVATE ZORVANE_VERSION="${PROJECT_VERSION}")
# By full path: -lSDL2_mixer would switch on Emscripten's downloading port.
target_link_libraries(zorvane PRIVATE ${ZORVANE_WEB_SDL}/lib/libSDL2_mixer.a
                      ${ZORVANE_WEB_SDL}/lib/libSDL2_image.a ${ZORVANE_WEB_SDL}/lib/libSDL2.a)

file(GLOB_RECURSE ZORVANE_WEB_DATA_FILES CONFIGURE_DEPENDS ${ZORVANE_WEB_DATA}/DATA/*)
set(web_page ${CMAKE_SOURCE_DIR}/web/shell.html)
set(web_pre ${CMAKE_SOURCE_DIR}/web/pre.js)
target_link_options(zorvane PRIVATE
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  # Debian's Emscripten calls its HTML minifier wrongly; the page is small anyway.
  -sMINIFY_HTML=0
  # Without these SDL's audio start throws and the canvas stays black.
  # (From a file: CMake would double the "$" of their names.)
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library_functions.json"
  "-sEXPORTED_RUNTIME_METHODS=['FS']"
  -lidbfs.js
  "SHELL:--preload-file ${ZORVANE_WEB_DATA}/DATA@/game/DATA"
  "SHELL:--exclude-file *.log"
  "SHELL:--shell-file ${web_page}"
  "SHELL:--pre-js ${web_pre}")
set_property(TARGET zorvane PROPERTY LINK_DEPENDS ${web_page} ${web_pre}
             ${CMAKE_SOURCE_DIR}/web/library_functions.json ${ZORVANE_WEB_DATA_FILES})
