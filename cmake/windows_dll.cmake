# unMW472.dll: freestanding, so that it imports only KERNEL32, USER32 and SETUPAPI.
add_library(unMW472 SHARED ${HOOK_SOURCES} hook/unMW472.def)
set_target_properties(unMW472 PROPERTIES PREFIX "" OUTPUT_NAME unMW472)
target_include_directories(unMW472 PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(unMW472 PRIVATE
    ${WARNINGS}
    -ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -fno-stack-protector -fno-threadsafe-statics
    # Keep GCC from turning our byte loops into memset or memcpy calls, which nothing provides.
    -fno-tree-loop-distribute-patterns
    # The stack use of each function, read by the stack-depth test.
    -fstack-usage)
target_link_options(unMW472 PRIVATE
    -nostdlib -Wl,--entry,_DllMain@12 -Wl,--no-insert-timestamp -Wl,--disable-auto-import
    # The export names are undecorated: bind them to the stdcall symbols.
    -Wl,--enable-stdcall-fixup
    -Wl,--exclude-all-symbols)
# libgcc is linked statically, for __chkstk_ms should a frame ever need it.
target_link_libraries(unMW472 PRIVATE kernel32 user32 setupapi gcc)

add_subdirectory(tools)
# The same tools for 64-bit Windows: on a machine whose 32-bit programs run emulated, the
# tools that only plant and list run natively and fast.
include(ExternalProject)
ExternalProject_Add(tools64
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${CMAKE_BINARY_DIR}/tools64
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/x86_64-w64-mingw32.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -G Ninja
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
set(TOOLS64_DIR ${CMAKE_BINARY_DIR}/tools64)
enable_testing()
add_subdirectory(tests/e2e)
