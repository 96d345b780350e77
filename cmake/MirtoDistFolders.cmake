# Copies the sample folders into the distributable folder: cmake -DSOURCE=<res> -DDIST=<dist> -P.
# Checked when the target runs, so that a folder added later ships without a new configure.
foreach(folder Skin Cliplist)
    if(IS_DIRECTORY ${SOURCE}/${folder})
        file(COPY ${SOURCE}/${folder} DESTINATION ${DIST})
    endif()
endforeach()
