# The release packages, made by CPack from the release presets (scripts/release):
# - a Windows build: paddytherm-<version>-win64.zip, one folder holding paddytherm.exe,
#   paddytherm-cli.exe, the Japanese guide and a README.txt that Notepad reads;
# - a native build: paddytherm-cli_<version>_amd64.deb with the console program and the
#   simulated logger, their man pages and their READMEs;
# - the arm64 cross build: paddytherm-cli_<version>_arm64.deb, the same for a Raspberry Pi.
# The package version is the program's three numbers; the build number stays in the version
# record.
set(PT_RELEASE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})

set(CPACK_PACKAGE_NAME paddytherm)
set(CPACK_PACKAGE_VENDOR "paddytherm developers")
set(CPACK_PACKAGE_CONTACT "paddytherm developers")
set(CPACK_PACKAGE_VERSION ${PT_RELEASE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads and sets up a paddy water-temperature logger")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Everything in the top of one folder: the farmer unzips it and double-clicks paddytherm.exe,
  # which writes tavovalu.html and COM_STA.INI beside itself.
  install(TARGETS paddytherm paddytherm-cli RUNTIME DESTINATION .)

  # Notepad before Windows 10 1903 shows a UTF-8 file right only with a byte-order mark, and LF
  # alone only as one long line. The source keeps LF (and its mark); the copy gets CR LF.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt ${PROJECT_BINARY_DIR}/packaging/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/README.txt DESTINATION .)
  # paddytherm-cli.exe has CLI11 compiled in, whose licence asks for its notice beside binaries.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.txt ${PROJECT_BINARY_DIR}/packaging/COPYRIGHT.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/COPYRIGHT.txt DESTINATION .)

  # The guide with its pictures. Both are looked for when the package is made, so a release
  # without the guide fails there instead of shipping without it.
  set(guide ${PROJECT_SOURCE_DIR}/docs/guide-ja)
  install(FILES ${guide}/index.html DESTINATION guide)
  install(DIRECTORY ${guide}/ DESTINATION guide FILES_MATCHING PATTERN "*.png")

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME paddytherm-${PT_RELEASE_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  include(GNUInstallDirs)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  install(TARGETS paddytherm-cli paddytherm-logger-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # Man pages are installed compressed, without a name or time stamp in the gzip header, so the
  # package's bytes do not depend on when it was built.
  set(man_pages)
  foreach(page IN ITEMS paddytherm-cli.1 paddytherm-logger-sim.1)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page})
    set(packed ${PROJECT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${packed}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                       COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${source} ${packed}
                       DEPENDS ${source} VERBATIM)
    list(APPEND man_pages ${packed})
  endforeach()
  add_custom_target(pt_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  set(doc ${CMAKE_INSTALL_DATADIR}/doc/paddytherm-cli)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/cli/README.md DESTINATION ${doc})
  install(FILES ${PROJECT_SOURCE_DIR}/tools/logger-sim/README.md DESTINATION ${doc}
          RENAME README.logger-sim.md)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright.txt DESTINATION ${doc} RENAME copyright)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME paddytherm-cli)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  if(CMAKE_CROSSCOMPILING)
    # The arm64 build (a Raspberry Pi). dpkg-shlibdeps finds the programs' libraries among the
    # cross toolchain's, but their packages here are the cross ones (libc6-arm64-cross) and name
    # what they provide as libc6:arm64 or libgcc-s1-arm64-cross, names a Pi does not know. So it
    # runs when the package is made (arm64_depends.cmake) and its answer is turned into the
    # target's own package names. Those packages ship shlibs rather than symbols files, so the
    # minimum versions are the toolchain's (libc6 2.36), not the newest symbol the programs use,
    # and libstdc++6 gets none (a system with Debian 12's libc6 has GCC 12's libstdc++6).
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    set(depends_script ${PROJECT_BINARY_DIR}/packaging/arm64_depends.cmake)
    file(GENERATE OUTPUT ${depends_script} CONTENT
"if(CPACK_GENERATOR STREQUAL \"DEB\")
  set(work ${PROJECT_BINARY_DIR}/packaging/shlibdeps)
  file(REMOVE_RECURSE \${work})
  file(WRITE \${work}/debian/control \"\")
  execute_process(COMMAND dpkg-shlibdeps -O -l${CMAKE_FIND_ROOT_PATH}/lib
                          $<TARGET_FILE:paddytherm-cli> $<TARGET_FILE:paddytherm-logger-sim>
                  WORKING_DIRECTORY \${work} OUTPUT_VARIABLE found ERROR_VARIABLE complaints
                  RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed OR NOT found MATCHES \"^shlibs:Depends=(.+)$\")
    message(FATAL_ERROR \"dpkg-shlibdeps on the arm64 programs: \${complaints}\")
  endif()
  string(REGEX REPLACE \"(:arm64|-arm64-cross)\" \"\" CPACK_DEBIAN_PACKAGE_DEPENDS \"\${CMAKE_MATCH_1}\")
endif()
")
    set(CPACK_PROJECT_CONFIG_FILE ${depends_script})
  else()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  endif()
  # The summary line is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "paddytherm-cli runs the jobs of the paddy water-temperature logger from a
terminal or a script: in spring it sets the logger's clock, memo and
measurement period over a serial line; in autumn it reads every stored
hourly sample and writes tavovalu.html, the colour-banded table of the
season, with a raw archive of the readout, CSV files, daily figures with
the accumulated water temperature and a printable season page.

paddytherm-logger-sim plays the logger on a pseudo-terminal, with
switchable line faults, so that the programs can be tried without the
device.")
endif()

include(CPack)
