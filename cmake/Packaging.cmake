# The release zip: `cpack` in the build folder makes Tintbox-<version>-win64.zip
# with one folder of the same name holding tintbox.exe, palini.dll, help.html,
# help_en.html and readme.txt. The program and its data files are installed by app/; this
# adds the readme and checks the staged folder before it is zipped.

# The readme ships with Windows line ends and the version of this build,
# whatever line ends the checkout gave docs/readme.txt.
configure_file(${CMAKE_SOURCE_DIR}/docs/readme.txt ${CMAKE_BINARY_DIR}/package/readme.txt
  @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/readme.txt DESTINATION .)

# Runs after every other install rule: a package missing one of its files, or
# with a readme Notepad would show wrongly, is refused rather than shipped.
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  foreach(name tintbox.exe palini.dll help.html help_en.html readme.txt)
    if(NOT EXISTS "${root}/${name}")
      message(FATAL_ERROR "package: ${name} was not installed into ${root}")
    endif()
  endforeach()
  file(SIZE "${root}/palini.dll" palette_size)
  if(NOT palette_size EQUAL 512)
    message(FATAL_ERROR "package: palini.dll holds ${palette_size} bytes, not 512")
  endif()
  file(READ "${root}/readme.txt" readme HEX)
  if(NOT readme MATCHES "^efbbbf")
    message(FATAL_ERROR "package: readme.txt does not start with the UTF-8 byte order mark")
  endif()
  string(REGEX MATCHALL ".." readme_bytes "${readme}")
  set(previous "")
  foreach(byte IN LISTS readme_bytes)
    if(byte STREQUAL "0a" AND NOT previous STREQUAL "0d")
      message(FATAL_ERROR "package: readme.txt has a line end without CR")
    endif()
    set(previous "${byte}")
  endforeach()
]])

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tintbox)
set(CPACK_PACKAGE_VENDOR Tintbox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A small color picker for the Windows desktop")
set(CPACK_PACKAGE_FILE_NAME Tintbox-${PROJECT_VERSION}-win64)
# One top folder, so unzipping beside other files does not scatter them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
