# Where `cmake --install` puts each part on Linux. The folders are chosen when the install runs,
# from the prefix it is given, so that one build installs either way:
#   - the default prefix (~/.vst): one user's plug-in folders: the VST 2.4 plug-in in ~/.vst, the
#     manual and the typeface in ~/.vst/ZEM Ordwen, the CLAP plug-in in ~/.clap, LV2 bundles in
#     ~/.lv2; the manual's path is recorded in the per-user store;
#   - /usr or /usr/local (the package, `make package`, and a system-wide install): the folders
#     Linux hosts search there: lib/vst, lib/clap, lib/lv2, and share/zem-ordwen for the manual
#     and the typeface, where the plug-in finds them from its own module's place; nothing is
#     recorded in anybody's store;
#   - any other folder: everything in it, the manual and the typeface in its "ZEM Ordwen"
#     subfolder, and the manual's path recorded.
# ZEM_INSTALL_LAYOUT=user|system|folder in the environment of the install chooses a layout for
# any prefix.
#
# Each format's rule names its folder with one of these destinations (relative to the prefix,
# evaluated when the install runs), e.g.
#   install(DIRECTORY ${bundle} DESTINATION ${ZEM_LV2_INSTALL_DIR})
set(ZEM_VST_INSTALL_DIR "\${ZEM_VST_DIR}")
set(ZEM_CLAP_INSTALL_DIR "\${ZEM_CLAP_DIR}")
set(ZEM_LV2_INSTALL_DIR "\${ZEM_LV2_DIR}")
set(ZEM_DATA_INSTALL_DIR "\${ZEM_DATA_DIR}")
# Nonzero when the layout records the manual's path in the per-user store.
set(ZEM_INSTALL_RECORDS_MANUAL "\${ZEM_RECORD_MANUAL}")

install(CODE "
    if(DEFINED ENV{ZEM_INSTALL_LAYOUT} AND NOT \"\$ENV{ZEM_INSTALL_LAYOUT}\" STREQUAL \"\")
        set(ZEM_LAYOUT \"\$ENV{ZEM_INSTALL_LAYOUT}\")
    elseif(CMAKE_INSTALL_PREFIX MATCHES \"^/usr(/local)?/*$\")
        set(ZEM_LAYOUT system)
    elseif(\"${ZEM_DEFAULT_VST_FOLDER}\" STREQUAL CMAKE_INSTALL_PREFIX)
        set(ZEM_LAYOUT user)
    else()
        set(ZEM_LAYOUT folder)
    endif()
    if(ZEM_LAYOUT STREQUAL system)
        set(ZEM_VST_DIR lib/vst)
        set(ZEM_CLAP_DIR lib/clap)
        set(ZEM_LV2_DIR lib/lv2)
        set(ZEM_DATA_DIR share/zem-ordwen)
        set(ZEM_RECORD_MANUAL 0)
    elseif(ZEM_LAYOUT STREQUAL user)
        set(ZEM_VST_DIR .)
        set(ZEM_CLAP_DIR ../.clap)
        set(ZEM_LV2_DIR ../.lv2)
        set(ZEM_DATA_DIR \"ZEM Ordwen\")
        set(ZEM_RECORD_MANUAL 1)
    elseif(ZEM_LAYOUT STREQUAL folder)
        set(ZEM_VST_DIR .)
        set(ZEM_CLAP_DIR .)
        set(ZEM_LV2_DIR .)
        set(ZEM_DATA_DIR \"ZEM Ordwen\")
        set(ZEM_RECORD_MANUAL 1)
    else()
        message(FATAL_ERROR \"ZEM_INSTALL_LAYOUT is user, system or folder, not \${ZEM_LAYOUT}\")
    endif()
    message(STATUS \"Install layout: \${ZEM_LAYOUT}\")
")
