# Run by CPack once the install tree is staged, before the package is made:
# the staged binaries are stripped as Debian strips them, and the libraries
# they link, as dpkg-shlibdeps names their packages, join the package's
# Depends.
#
# CPack's own dpkg-shlibdeps run is not used: with it CPack also adds
# maintainer scripts that call ldconfig whenever a library lies anywhere
# below /usr/lib, though private libraries in /usr/lib/ostrel are found
# through the binaries' search path and ldconfig has nothing to do with them.
set(stage "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${stage}" "${stage}/*")
set(binaries)
set(own_libraries)
foreach(file IN LISTS files)
  if(IS_SYMLINK "${stage}/${file}")
    # The package's own libraries, by the link their SONAME names.
    if(file MATCHES "/(lib[^/]+)\\.so\\.([0-9]+)$")
      string(APPEND own_libraries "${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CPACK_PACKAGE_NAME}\n")
    endif()
    continue()
  endif()
  file(READ "${stage}/${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    list(APPEND binaries "./${file}")
  endif()
endforeach()
if(NOT binaries)
  message(FATAL_ERROR "PackageStaged: no binaries in ${stage}")
endif()

# Without debugging symbols and the compiler's notes; symbols that nothing
# outside a library needs go too, except from the program itself.
find_program(strip NAMES strip REQUIRED)
foreach(binary IN LISTS binaries)
  set(options --remove-section=.comment --remove-section=.note)
  if(binary MATCHES "\\.so(\\.[0-9]+)*$")
    list(APPEND options --strip-unneeded)
  endif()
  execute_process(COMMAND ${strip} ${options} "${binary}"
    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "PackageStaged: strip ${binary} failed:\n${errors}")
  endif()
endforeach()

# dpkg-shlibdeps wants a debian/control, and a DEBIAN folder to know the
# package's root by, which resolves $ORIGIN; neither may end up in the
# package. The package's own libraries are named in shlibs.local, so that
# every other library must come from a package (no --ignore-missing-info),
# and dependencies on the package itself are left out.
set(scratch "${stage}/debian" "${stage}/DEBIAN")
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch})
file(WRITE "${stage}/debian/control" "")
file(WRITE "${stage}/debian/shlibs.local" "${own_libraries}")
execute_process(COMMAND dpkg-shlibdeps -O -x${CPACK_PACKAGE_NAME} ${binaries}
  WORKING_DIRECTORY "${stage}"
  OUTPUT_VARIABLE substvars
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
file(REMOVE_RECURSE ${scratch})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "PackageStaged: dpkg-shlibdeps failed (${result}):\n${errors}")
endif()
if(errors)
  message(STATUS "dpkg-shlibdeps:\n${errors}")
endif()
if(NOT substvars MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "PackageStaged: dpkg-shlibdeps named no libraries:\n${substvars}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
