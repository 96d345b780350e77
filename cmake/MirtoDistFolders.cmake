# Completes the distributable folder after the programs were copied into it:
#   cmake -DSOURCE=<res> -DDIST=<dist> -DSHIPPED=<name,name,...> -P MirtoDistFolders.cmake
# Removes programs and libraries that are not shipped any more, and copies the sample folders.
# Checked when the target runs, so that a folder added later ships without a new configure.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" shipped "${SHIPPED}")
file(GLOB present LIST_DIRECTORIES false RELATIVE ${DIST} ${DIST}/*.exe ${DIST}/*.dll)
foreach(name IN LISTS present)
    if(NOT name IN_LIST shipped)
        file(REMOVE ${DIST}/${name})
    endif()
endforeach()
foreach(folder Skin Cliplist)
    if(IS_DIRECTORY ${SOURCE}/${folder})
        file(COPY ${SOURCE}/${folder} DESTINATION ${DIST})
    endif()
endforeach()
