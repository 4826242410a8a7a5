# Runs at install time (see CMakeLists.txt): the launcher names the installed
# program by its absolute path, which is known only once the prefix is.
# In: OSTREL_LAUNCHER_TEMPLATE, OSTREL_LAUNCHER_BUILD_DIR (where to write it),
#     OSTREL_LAUNCHER_BINDIR, OSTREL_LAUNCHER_DESTINATION (both below the prefix),
#     OSTREL_LAUNCHER_COMMAND (the command's name in the bin folder).
if(IS_ABSOLUTE "${OSTREL_LAUNCHER_BINDIR}")
  set(program "${OSTREL_LAUNCHER_BINDIR}/${OSTREL_LAUNCHER_COMMAND}")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${OSTREL_LAUNCHER_BINDIR}/${OSTREL_LAUNCHER_COMMAND}")
endif()
if(program MATCHES "[\n\r\t]")
  message(FATAL_ERROR "The launcher cannot name a program whose path holds a line break or tab: ${program}")
endif()

# Exec: one quoted argument, in which " ` $ and \ take a backslash and % is
# doubled (no field code); the value level then escapes every backslash once
# more. TryExec is a plain value: only that second level.
string(REPLACE "\\" "\\\\" exec "${program}")
string(REPLACE "\"" "\\\"" exec "${exec}")
string(REPLACE "`" "\\`" exec "${exec}")
string(REPLACE "$" "\\$" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
set(OSTREL_LAUNCHER_EXEC "\"${exec}\"")
string(REPLACE "\\" "\\\\" OSTREL_LAUNCHER_TRYEXEC "${program}")

# One file per destination: installs into two places at once (a package
# being made while the tests install the tree elsewhere) must not write each
# other's launcher.
string(SHA1 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(written "${OSTREL_LAUNCHER_BUILD_DIR}/${destination}/${OSTREL_APP_ID}.desktop")
configure_file("${OSTREL_LAUNCHER_TEMPLATE}" "${written}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${OSTREL_LAUNCHER_DESTINATION}" TYPE FILE
     FILES "${written}")
