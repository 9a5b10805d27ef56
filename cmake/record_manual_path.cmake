# Run by `cmake --install`: records the installed manual's full path as "ManualPath" in the
# per-user defaults file, where the plug-in looks for the manual and, beside it, the typeface
# (the file the plug-in keeps its meter defaults in: $XDG_CONFIG_HOME or ~/.config, then
# Velmora/ZEMMETERS300, one "name=value" line each). The other lines stay as they are; the file is
# replaced in one rename, so an interrupted install never leaves half a file.
# Expects ZEM_MANUAL_PATH. Staged installs (DESTDIR) record nothing: the files are not in place.
if(DEFINED ENV{DESTDIR} AND NOT "$ENV{DESTDIR}" STREQUAL "")
    message(STATUS "Staged install: ManualPath not recorded")
    return()
endif()
if(DEFINED ENV{XDG_CONFIG_HOME} AND "$ENV{XDG_CONFIG_HOME}" MATCHES "^/")
    set(store_dir "$ENV{XDG_CONFIG_HOME}/Velmora")
elseif(DEFINED ENV{HOME} AND NOT "$ENV{HOME}" STREQUAL "")
    set(store_dir "$ENV{HOME}/.config/Velmora")
else()
    message(WARNING "No HOME: ManualPath not recorded")
    return()
endif()
get_filename_component(manual "${ZEM_MANUAL_PATH}" ABSOLUTE)
set(store "${store_dir}/ZEMMETERS300")
set(kept "")
if(EXISTS "${store}")
    file(STRINGS "${store}" lines)
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^ManualPath=")
            string(APPEND kept "${line}\n")
        endif()
    endforeach()
endif()
file(MAKE_DIRECTORY "${store_dir}")
file(WRITE "${store}.install" "${kept}ManualPath=${manual}\n")
file(RENAME "${store}.install" "${store}")
message(STATUS "Recorded ManualPath=${manual} in ${store}")
