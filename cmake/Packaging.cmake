# The Debian package: `cmake --build build --target package` gives vigil_<version>_<arch>.deb.
#
# Layout: the program and its help file side by side in a private folder (the help file is found
# in the executable's folder, and the link below resolves to it), a link in the binary folder, the
# command-line program (when built) in the binary folder itself, the desktop entry, the icon in
# the hicolor theme, the AppStream metainfo and the udev rules for USB serial adapters.
if(NOT TARGET Config_Vigil)
  return()
endif()

include(GNUInstallDirs)
set(VIGIL_APP_ID example.orvana.ConfigVigil)
set(VIGIL_PRIVATE_DIR lib/vigil)
set(pkg ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS Config_Vigil RUNTIME DESTINATION ${VIGIL_PRIVATE_DIR})
if(VIGIL_HELP_FILE)
  install(FILES ${VIGIL_HELP_FILE} DESTINATION ${VIGIL_PRIVATE_DIR})
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ../${VIGIL_PRIVATE_DIR}/Config_Vigil ${CMAKE_BINARY_DIR}/packaging/Config_Vigil SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/Config_Vigil DESTINATION ${CMAKE_INSTALL_BINDIR})
# The command-line program `vigil` installs itself into the binary folder (cli/CMakeLists.txt).

install(FILES ${pkg}/${VIGIL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${pkg}/${VIGIL_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/${VIGIL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${VIGIL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/70-vigil-serial.rules DESTINATION lib/udev/rules.d)

# The icon: scalable, and rendered at the usual sizes by a small Qt tool.
install(FILES ${pkg}/vigil.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VIGIL_APP_ID}.svg)
add_executable(render-icon ${pkg}/render_icon.cpp)
target_link_libraries(render-icon PRIVATE Qt6::Gui Qt6::Svg)
vigil_warnings(render-icon)
set(icons)
foreach(size 16 24 32 48 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}/${VIGIL_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}
    COMMAND render-icon ${pkg}/vigil.svg ${size} ${png}
    DEPENDS render-icon ${pkg}/vigil.svg VERBATIM)
  list(APPEND icons ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vigil_icons ALL DEPENDS ${icons})

# What Debian asks of every package: the copyright, the changelog and a manual page for each program,
# compressed reproducibly (no name or time stamp in the gzip header). vigil's page takes each
# command's part from the command's own --help.
set(VIGIL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vigil)
configure_file(${pkg}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(manpages ${pkg}/man/Config_Vigil.1)
if(TARGET vigil)
  set(vigil_page ${CMAKE_BINARY_DIR}/packaging/vigil.1)
  add_custom_command(OUTPUT ${vigil_page}
    COMMAND sh ${pkg}/man/vigil-manpage.sh $<TARGET_FILE:vigil> ${pkg}/man/vigil.1.in ${vigil_page}
    DEPENDS vigil ${pkg}/man/vigil-manpage.sh ${pkg}/man/vigil.1.in VERBATIM)
  list(APPEND manpages ${vigil_page})
endif()
set(compressed)
foreach(source ${CMAKE_BINARY_DIR}/packaging/changelog ${manpages})
  get_filename_component(name ${source} NAME)
  set(gz ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9n -c ${source} > ${gz}
    DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${gz})
endforeach()
add_custom_target(vigil_docs ALL DEPENDS ${compressed})
install(FILES ${pkg}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${VIGIL_DOC_DIR})
foreach(page ${manpages})
  get_filename_component(name ${page} NAME)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vigil)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvana <support@orvana.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator for Vigil panic-button terminals")
set(CPACK_PACKAGE_DESCRIPTION "Reads and writes the settings of Vigil GSM/GPRS alarm terminals over a serial\nlink, keeps them in configuration files and updates the terminals' firmware.\nIncludes udev rules that give the logged-in user access to common USB serial\nadapters (FTDI, CP210x, CH340/CH341, PL2303) and keep ModemManager off them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.orvana.example/)
# The Qt, chmlib and C++ runtime libraries from what the programs link; the platform plugin and
# Qt's Russian texts are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${pkg}/postinst ${pkg}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
