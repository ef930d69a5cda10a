# Host build: the hook's sources against the simulated Windows, with the unit tests.
option(UNINST_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(UNINST_FUZZ "Build the libFuzzer targets (clang) instead of the unit tests" OFF)
if(UNINST_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(UNINST_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

add_library(simwin STATIC
    platform/sim/sim_devices.cpp
    platform/sim/sim_files.cpp
    platform/sim/sim_memory.cpp
    platform/sim/sim_output.cpp
    platform/sim/sim_profile.cpp
    platform/sim/sim_state.cpp
)
target_include_directories(simwin PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(simwin PRIVATE ${WARNINGS})

add_library(hook_core STATIC ${HOOK_SOURCES})
target_link_libraries(hook_core PUBLIC simwin)
target_compile_options(hook_core PRIVATE ${WARNINGS})

enable_testing()
if(UNINST_FUZZ)
    add_subdirectory(tests/fuzz)
else()
    find_package(GTest REQUIRED)
    add_subdirectory(tests)
endif()
