# Runs during the install: writes the desktop entry with the absolute path of the installed
# program, so the menu entry starts it even when <prefix>/bin is not on the PATH, and installs it
# into share/applications (recorded in install_manifest.txt like every other file).
# Expects QUILLORY_DESKTOP_TEMPLATE and QUILLORY_DESKTOP_STAGING (a scratch folder in the build
# tree); CMAKE_INSTALL_PREFIX is this install run's prefix.
set(program "${CMAKE_INSTALL_PREFIX}/bin/quillory")
if(program MATCHES "[\n\r\t]")
  message(FATAL_ERROR "The install prefix holds a line break or tab: '${CMAKE_INSTALL_PREFIX}'")
endif()

# The Exec key's rules: a path with reserved characters is quoted, with \ " ` $ escaped inside
# the quotes; then the string value escapes its backslashes, and a literal % is written %%.
if(program MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
  set(exec "${program}")
else()
  string(REPLACE "\\" "\\\\" exec "${program}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
string(REPLACE "%" "%%" QUILLORY_EXEC "${exec}")

# Staged in a folder of this run's own, removed afterwards: an install run through sudo leaves
# nothing in the build tree that a later install could not overwrite.
string(RANDOM LENGTH 12 run)
get_filename_component(entry "${QUILLORY_DESKTOP_TEMPLATE}" NAME_WLE)
set(staged "${QUILLORY_DESKTOP_STAGING}/${run}/${entry}")
configure_file("${QUILLORY_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${staged}")
file(REMOVE_RECURSE "${QUILLORY_DESKTOP_STAGING}/${run}")
