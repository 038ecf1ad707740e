# Third-party libraries, compiled from the sources that scripts/fetch-deps.sh
# prepared in VANTREL_DEPS_DIR. Warnings are theirs, not ours: keep them quiet.
set(D ${VANTREL_DEPS_DIR})
foreach(stamp sqlite/.stamp jsoncpp/.stamp minizip/.stamp stb/.stamp)
  if(NOT EXISTS ${D}/${stamp})
    message(FATAL_ERROR "Missing ${D}/${stamp}: run scripts/fetch-deps.sh ${D}")
  endif()
endforeach()

add_library(sqlite3 STATIC ${D}/sqlite/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${D}/sqlite)
target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
target_compile_options(sqlite3 PRIVATE -w -O2)

file(GLOB JSONCPP_SOURCES ${D}/jsoncpp/src/*.cpp)
add_library(jsoncpp STATIC ${JSONCPP_SOURCES})
target_include_directories(jsoncpp SYSTEM PUBLIC ${D}/jsoncpp/include)
target_include_directories(jsoncpp PRIVATE ${D}/jsoncpp/src)
target_compile_options(jsoncpp PRIVATE -w -O2)

add_library(zlib_mingw STATIC IMPORTED)
set_target_properties(zlib_mingw PROPERTIES
  IMPORTED_LOCATION ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)

add_library(minizip STATIC ${D}/minizip/unzip.c ${D}/minizip/ioapi.c ${D}/minizip/zip.c)
target_include_directories(minizip SYSTEM PUBLIC ${D}/minizip)
target_compile_definitions(minizip PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w -O2)
target_link_libraries(minizip PUBLIC zlib_mingw)

add_library(stb_headers INTERFACE)
target_include_directories(stb_headers SYSTEM INTERFACE ${D}/stb)

set(GTEST_SRC /usr/src/googletest/googletest)
add_library(gtest STATIC ${GTEST_SRC}/src/gtest-all.cc)
target_include_directories(gtest SYSTEM PUBLIC ${GTEST_SRC}/include)
target_include_directories(gtest PRIVATE ${GTEST_SRC})
target_compile_options(gtest PRIVATE -w)
add_library(gtest_main STATIC ${GTEST_SRC}/src/gtest_main.cc)
target_link_libraries(gtest_main PUBLIC gtest)
target_compile_options(gtest_main PRIVATE -w)
