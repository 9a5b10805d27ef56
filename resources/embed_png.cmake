# The images inside every build, found by number.
# Every image comes at 1x (NNNNN.png) and at each higher scale of kPngHigherScales in
# src/platform/png_resource.h (NNNNN@2x.png ...).
# Windows: resources/plugin.rc puts each PNG into the module as a resource of type "PNG" (its
# higher sets by the same number as types "PNG2X", "PNG3X"); the
# plug-in gets it from src/CMakeLists.txt, and the test program gets it too because the product
# code linked into it looks for the images in its own module.
# Elsewhere: the same bytes are compiled into a table (zemPngResources) generated at build time
# from resources/png for the images of the image table at every scale, part of zem_platform
# (which finds them).
set(ZEM_PNG_DIR ${CMAKE_SOURCE_DIR}/resources/png)
set(ZEM_IMAGE_TABLE ${CMAKE_SOURCE_DIR}/src/controls/image_numbers.h)
set(ZEM_PNG_SCALES ${CMAKE_SOURCE_DIR}/src/platform/png_resource.h)
file(GLOB ZEM_PNG_FILES CONFIGURE_DEPENDS ${ZEM_PNG_DIR}/*.png)

if(WIN32)
    function(zem_add_png_resources_to_tests)
        file(GLOB pngs ${CMAKE_SOURCE_DIR}/resources/png/*.png)
        # The harness carries the images of its controls gallery in its own module too.
        set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/plugin.rc DIRECTORY ${CMAKE_SOURCE_DIR}/tools/host
                     APPEND PROPERTY OBJECT_DEPENDS ${pngs})
        if(TARGET zem_tests)
            target_sources(zem_tests PRIVATE ${CMAKE_SOURCE_DIR}/resources/plugin.rc)
            # windres reports no dependencies: a changed image must rebuild the script's object.
            set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/plugin.rc DIRECTORY ${CMAKE_SOURCE_DIR}/tests
                         APPEND PROPERTY OBJECT_DEPENDS ${pngs})
        endif()
    endfunction()
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/plugin.rc APPEND PROPERTY OBJECT_DEPENDS ${ZEM_PNG_FILES})
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zem_add_png_resources_to_tests)
else()
    set(ZEM_PNG_TABLE ${CMAKE_BINARY_DIR}/generated/png_resources.cpp)
    add_custom_command(OUTPUT ${ZEM_PNG_TABLE}
        COMMAND ${CMAKE_COMMAND} -DPNG_DIR=${ZEM_PNG_DIR} -DIMAGE_TABLE=${ZEM_IMAGE_TABLE}
                -DSCALES_HEADER=${ZEM_PNG_SCALES} -DOUTPUT=${ZEM_PNG_TABLE}
                -P ${CMAKE_SOURCE_DIR}/resources/png_table.cmake
        DEPENDS ${ZEM_PNG_FILES} ${ZEM_IMAGE_TABLE} ${ZEM_PNG_SCALES} ${CMAKE_SOURCE_DIR}/resources/png_table.cmake
        COMMENT "Embedding the PNG images")
    target_sources(zem_platform PRIVATE ${ZEM_PNG_TABLE})
endif()
