# Installing and packaging. On Linux the GNU layout: the programs in bin/, the demo
# characters in share/zelvotta/Characters/, the menu entry, the icons and the documents;
# the program knows it runs installed from the relative path bin → share/zelvotta. On
# Windows everything sits flat in one folder, where the program looks for its data.
# CPack makes a .deb of the Linux install and a zip of the Windows one.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS zelvotta zelvotta-tool RUNTIME DESTINATION .)
  # By folder, not by file list: the demo characters change without the build knowing.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/characters/ DESTINATION Characters)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
else()
  set(ZV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zelvotta)
  file(RELATIVE_PATH ZV_INSTALLED_DATA_PATH ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${ZV_INSTALL_DATADIR})
  target_compile_definitions(zelvotta PRIVATE ZV_INSTALLED_DATA_PATH="${ZV_INSTALLED_DATA_PATH}")

  install(TARGETS zelvotta zelvotta-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/characters/ DESTINATION ${ZV_INSTALL_DATADIR}/Characters)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/zelvotta.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # Drawn by scripts/make-windows-icon.sh, which makes the Windows icon too.
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/icons/zelvotta-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zelvotta.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME zelvotta)
set(CPACK_PACKAGE_VENDOR "The Zelvotta authors")
set(CPACK_PACKAGE_CONTACT "The Zelvotta authors <zelvotta@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated characters that live on the desktop")
# One line of the package's long description per line here, as Debian wants them short.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Zelvotta shows animated characters as transparent windows on the desktop:"
  "they walk along screen lines, react to clicks, drags and their menu, speak"
  "in text balloons and play sounds. Each character is a folder of images,"
  "sounds and scripts; Walker and Hopper come with the program, and"
  "zelvotta-tool checks and runs characters without a desktop.")
# Debug information stays in the build folder; packages hold the stripped programs.
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zelvotta-${PROJECT_VERSION}-win64)
  # The zip holds one folder of that name, with the programs and Characters in it.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries come from dpkg-shlibdeps. Balloons need a Japanese face, and Qt finds
  # its X11 platform plugin at run time, so no library dependency names it.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
  if(ZV_HAVE_QT)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
  endif()
endif()
include(CPack)
