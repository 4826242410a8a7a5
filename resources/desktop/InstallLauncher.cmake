# Runs at install time (see CMakeLists.txt): the launcher names the installed
# program by its absolute path, which is known only once the prefix is.
# In: OSTREL_LAUNCHER_TEMPLATE, OSTREL_LAUNCHER_BUILD (file to write),
#     OSTREL_LAUNCHER_BINDIR, OSTREL_LAUNCHER_DESTINATION (both below the prefix).
if(IS_ABSOLUTE "${OSTREL_LAUNCHER_BINDIR}")
  set(program "${OSTREL_LAUNCHER_BINDIR}/Ostrel")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${OSTREL_LAUNCHER_BINDIR}/Ostrel")
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

configure_file("${OSTREL_LAUNCHER_TEMPLATE}" "${OSTREL_LAUNCHER_BUILD}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${OSTREL_LAUNCHER_DESTINATION}" TYPE FILE
     FILES "${OSTREL_LAUNCHER_BUILD}")
