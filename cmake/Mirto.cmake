# Flags for our own targets. The charset flags are set per target, never globally:
# GoogleTest and any unit that includes <chrono> must build without them. They are given to the
# C and C++ compilers only; the resource compiler takes none of them.
function(mirto_own_code target)
    set(code "$<COMPILE_LANGUAGE:C,CXX>")
    target_compile_options(${target} PRIVATE
        $<${code}:-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932>)
    if(MIRTO_SANITIZE)
        target_compile_options(${target} PRIVATE
            $<${code}:-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined>)
        target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX STRICT
                                                     _WIN32_WINNT=0x0601 WINVER=0x0601)
        # Sections start on a page of the file (the linker's default is 512 bytes): a loader
        # can then map each section from the file, shared and dropped when memory is short,
        # rather than read it into private memory (Wine reads an image whose sections are not
        # page-aligned; the images grow by under a page a section).
        target_link_options(${target} PUBLIC -static -static-libgcc -static-libstdc++
                                             -Wl,--file-alignment=4096)
    endif()
endfunction()

# Test programs: GoogleTest, run through Wine when cross-compiling (see cmake/mingw-w64.cmake).
function(mirto_add_gtest target)
    add_executable(${target} ${ARGN})
    mirto_own_code(${target})
    target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
endfunction()

# The programs and libraries that targets under the folder (and its subfolders) build, except
# those with the target property MIRTO_TEST_ONLY (fixtures for the tests).
function(_mirto_shipped_targets dir out)
    set(found)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
        get_target_property(type ${t} TYPE)
        get_target_property(test_only ${t} MIRTO_TEST_ONLY)
        if(test_only)
            continue()
        endif()
        if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
            list(APPEND found ${t})
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        _mirto_shipped_targets(${sub} more)
        list(APPEND found ${more})
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# Files that a target outside src/'s own targets builds (the 32-bit half of the hook, built by
# a project of its own) and that dist must carry as well.
function(mirto_ship_files target)
    set_property(GLOBAL APPEND PROPERTY MIRTO_SHIP_FILES ${ARGN})
    set_property(GLOBAL APPEND PROPERTY MIRTO_SHIP_TARGETS ${target})
endfunction()

# `dist`: the folder a Windows user unzips and runs, <repo>/dist. It holds every program and
# library built from src/ (Mirto.exe, and Mirto.dll, Skin.dll, Support.exe as they arrive; not
# the test fixtures marked MIRTO_TEST_ONLY) and the sample folders res/Skin and res/Cliplist
# when they exist. Programs and libraries that are no longer built leave it; settings files a
# run left there are kept. Runs once every folder has declared its targets.
function(_mirto_add_dist)
    set(dist ${CMAKE_SOURCE_DIR}/dist)
    set(shipped)
    get_property(subdirs DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${sub})
        if(rel MATCHES "^src/")
            _mirto_shipped_targets(${sub} found)
            list(APPEND shipped ${found})
        endif()
    endforeach()
    if(NOT shipped)
        return()
    endif()
    set(files)
    set(names)
    foreach(t IN LISTS shipped)
        list(APPEND files $<TARGET_FILE:${t}>)
        list(APPEND names $<TARGET_FILE_NAME:${t}>)
    endforeach()
    get_property(extra_files GLOBAL PROPERTY MIRTO_SHIP_FILES)
    get_property(extra_targets GLOBAL PROPERTY MIRTO_SHIP_TARGETS)
    foreach(f IN LISTS extra_files)
        list(APPEND files ${f})
        get_filename_component(name ${f} NAME)
        list(APPEND names ${name})
    endforeach()
    list(JOIN names "," names)
    add_custom_target(dist
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} ${dist}
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/res -DDIST=${dist} -DSHIPPED=${names}
                -P ${CMAKE_SOURCE_DIR}/cmake/MirtoDistFolders.cmake
        COMMENT "Filling ${dist}"
        VERBATIM)
    add_dependencies(dist ${shipped} ${extra_targets})
endfunction()

if(WIN32)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _mirto_add_dist)
endif()
