# Flags for our own targets. The charset flags are set per target, never globally:
# GoogleTest and any unit that includes <chrono> must build without them.
function(mirto_own_code target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932)
    if(MIRTO_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX STRICT
                                                     _WIN32_WINNT=0x0601 WINVER=0x0601)
        target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++)
    endif()
endfunction()

# Test programs: GoogleTest, run through Wine when cross-compiling (see cmake/mingw-w64.cmake).
function(mirto_add_gtest target)
    add_executable(${target} ${ARGN})
    mirto_own_code(${target})
    target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
endfunction()
