# Packs the game's data folder into main.pak: every file the game reads, none of the files that
# only make or describe the data (scripts, SVG sources, notes, hidden files). Anything in data/
# that is not a regular file is refused rather than packed.
#   cmake -DPAK_TOOL=<quillory-pak> -DDATA_DIR=<data> -DSTAGE_DIR=<scratch> -DOUTPUT=<main.pak>
#         -P pack-data.cmake
foreach(variable IN ITEMS PAK_TOOL DATA_DIR STAGE_DIR OUTPUT)
  if(NOT ${variable})
    message(FATAL_ERROR "pack-data.cmake: ${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${DATA_DIR}" "${DATA_DIR}/*")
set(packed 0)
foreach(file IN LISTS files)
  if(file MATCHES "(^|/)[.]" OR file MATCHES "(^|/)__pycache__/"
     OR file MATCHES "[.](py|pyc|sh|svg|md)$")
    continue()
  endif()
  set(path "${DATA_DIR}/${file}")
  if(IS_SYMLINK "${path}" OR IS_DIRECTORY "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "pack-data.cmake: '${path}' is not a regular file")
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  # file(COPY) keeps the modification time, which the archive stores for each file.
  file(COPY "${path}" DESTINATION "${STAGE_DIR}/${folder}")
  math(EXPR packed "${packed} + 1")
endforeach()
if(packed EQUAL 0)
  message(FATAL_ERROR "pack-data.cmake: no game files in '${DATA_DIR}'")
endif()

execute_process(COMMAND "${PAK_TOOL}" create "${STAGE_DIR}" "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "pack-data.cmake: quillory-pak failed (${result})")
endif()
