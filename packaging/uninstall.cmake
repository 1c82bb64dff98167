# Removes what the last install from a build folder put in place, as listed in its
# install_manifest.txt, and the game's data folder when that is left empty. Only regular files
# and links are removed; the player's own files (in the user folder) are never touched.
#   cmake -DMANIFEST=<build>/install_manifest.txt -P uninstall.cmake
if(NOT MANIFEST OR NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: '${MANIFEST}' does not exist (install first)")
endif()

file(STRINGS "${MANIFEST}" installed)
set(folders "")
foreach(file IN LISTS installed)
  if(IS_SYMLINK "${file}" OR (EXISTS "${file}" AND NOT IS_DIRECTORY "${file}"))
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
      message(FATAL_ERROR "Cannot remove '${file}'")
    endif()
  elseif(IS_DIRECTORY "${file}")
    message(WARNING "Not removing '${file}': it is a folder")
  else()
    message(STATUS "Already gone: ${file}")
  endif()
  if(file MATCHES "/share/quillory/[^/]+$")
    get_filename_component(folder "${file}" DIRECTORY)
    list(APPEND folders "${folder}")
  endif()
endforeach()

list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
  # rmdir removes only an empty folder: anything someone else put there stays.
  execute_process(COMMAND rmdir -- "${folder}" RESULT_VARIABLE result ERROR_QUIET)
  if(result EQUAL 0)
    message(STATUS "Removed ${folder}")
  endif()
endforeach()
