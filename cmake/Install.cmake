# Installing: the program in bin/, its data in share/zentavo-logger/ (read only; each user's
# files are copied from there into their own folder), the menu entry, the icons, the
# AppStream metadata and the manual page. `cpack -G DEB` packages the same tree under /usr.
include(GNUInstallDirs)
find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)

set(ZL_APPSTREAM_ID "cz.zentavo.logger" CACHE STRING "AppStream component id")
set(ZL_HOMEPAGE_URL "https://zentavo-logger.example.org" CACHE STRING
    "Home page; the AppStream screenshot is <url>/screenshot-main.png")
include(${CMAKE_CURRENT_LIST_DIR}/Changelog.cmake)
zl_read_changelog(${PROJECT_SOURCE_DIR}/data/changelog ZL_CHANGELOG_RELEASES ZL_CHANGELOG_DATE ZL_CHANGELOG_VERSION)
if(NOT ZL_CHANGELOG_VERSION STREQUAL PROJECT_VERSION)
  message(WARNING "data/changelog begins with ${ZL_CHANGELOG_VERSION}, the project is ${PROJECT_VERSION}: "
                  "add an entry for this version")
endif()
# A reproducible build dates the release by SOURCE_DATE_EPOCH; otherwise the changelog does.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP ZL_RELEASE_DATE "%Y-%m-%d" UTC)
else()
  set(ZL_RELEASE_DATE ${ZL_CHANGELOG_DATE})
endif()
# Installed into ~/.local, share/zentavo-logger would be the user's own folder itself:
# scripts/install.sh puts the data in lib/zentavo-logger there instead.
set(ZL_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zentavo-logger CACHE STRING
    "Folder of the installed data, relative to the prefix")
set(ZL_INSTALL_DATA_SUBDIR ${ZL_INSTALL_DATA_DIR})
set(ZL_ICON_SIZES 16 22 24 32 48 64 128 256)

# The program finds the installed data relative to itself, so any prefix works.
# The command lies in bin/, the window program in a folder of its own in libexec/ (where
# programs that no user starts by name belong).
set(ZL_WINDOW_DIR ${CMAKE_INSTALL_LIBEXECDIR}/zentavo-logger)
file(RELATIVE_PATH ZL_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${ZL_WINDOW_DIR} ${CMAKE_INSTALL_PREFIX}/${ZL_INSTALL_DATA_DIR})
target_compile_definitions(zentavo-logger PRIVATE ZL_DATA_FROM_BIN="${ZL_DATA_FROM_BIN}")
file(RELATIVE_PATH ZL_WINDOW_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${ZL_WINDOW_DIR}/zentavo-logger-window)
target_compile_definitions(zentavo-logger-front PRIVATE ZL_WINDOW_FROM_BIN="${ZL_WINDOW_FROM_BIN}")

set(ZL_GENERATED_DIR ${CMAKE_BINARY_DIR}/install-files)
string(REPLACE "-" "\\-" ZL_INSTALL_DATA_DIR_ROFF "${ZL_INSTALL_DATA_DIR}")
configure_file(${PROJECT_SOURCE_DIR}/data/zentavo-logger.1.in ${ZL_GENERATED_DIR}/zentavo-logger.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/zentavo-logger.metainfo.xml.in
               ${ZL_GENERATED_DIR}/${ZL_APPSTREAM_ID}.metainfo.xml @ONLY)

add_executable(zl_draw_program_icons ${PROJECT_SOURCE_DIR}/src/tools/Draw_Program_Icons.cpp
                                     ${PROJECT_SOURCE_DIR}/src/ui/main/Program_Icon.cpp)
target_include_directories(zl_draw_program_icons PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(zl_draw_program_icons PRIVATE Qt6::Gui)

set(ZL_ICON_PNGS)
foreach(size IN LISTS ZL_ICON_SIZES)
  list(APPEND ZL_ICON_PNGS ${ZL_GENERATED_DIR}/icons/${size}x${size}/apps/zentavo-logger.png)
endforeach()
add_custom_command(OUTPUT ${ZL_ICON_PNGS} ${ZL_GENERATED_DIR}/zentavo-logger.1.gz
  COMMAND zl_draw_program_icons ${ZL_GENERATED_DIR}/icons ${ZL_ICON_SIZES}
  COMMAND gzip -9nf -k ${ZL_GENERATED_DIR}/zentavo-logger.1
  DEPENDS zl_draw_program_icons ${ZL_GENERATED_DIR}/zentavo-logger.1
  COMMENT "Drawing the icons, compressing the manual page")
add_custom_command(OUTPUT ${ZL_GENERATED_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/changelog ${ZL_GENERATED_DIR}/changelog
  COMMAND gzip -9nf ${ZL_GENERATED_DIR}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog
  COMMENT "Compressing the changelog")
add_custom_target(zl_install_files ALL DEPENDS ${ZL_ICON_PNGS} ${ZL_GENERATED_DIR}/zentavo-logger.1.gz
                                               ${ZL_GENERATED_DIR}/changelog.gz)

install(TARGETS zentavo-logger-front RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS zentavo-logger RUNTIME DESTINATION ${ZL_WINDOW_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/Czech.lng ${PROJECT_SOURCE_DIR}/data/English.lng
              ${PROJECT_SOURCE_DIR}/data/File_List ${PROJECT_SOURCE_DIR}/data/Work_Type_List
              ${PROJECT_SOURCE_DIR}/data/Work_Type_List_English
              ${PROJECT_SOURCE_DIR}/data/Setup.ini
        DESTINATION ${ZL_INSTALL_DATA_SUBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Skin DESTINATION ${ZL_INSTALL_DATA_SUBDIR}
        FILES_MATCHING PATTERN "*.bmp")
install(FILES ${PROJECT_SOURCE_DIR}/data/zentavo-logger.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${ZL_GENERATED_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zentavo-logger.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZL_GENERATED_DIR}/${ZL_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZL_GENERATED_DIR}/zentavo-logger.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${ZL_GENERATED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zentavo-logger)

# The Debian package: zentavo-logger_<version>_amd64.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME zentavo-logger)
set(CPACK_PACKAGE_VENDOR "The Zentavo Logger developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps the log of one working day")
# Lines of the long description stay under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "A small desktop panel with the day's work records: the whole day since
the first start, the time no record covers yet, and what was booked (work
type, duration, remark). It starts with the working day, lives in the
notification area and appends each finished day to a long-term text log.")
set(CPACK_PACKAGE_CONTACT "The Zentavo Logger developers <maintainers@users.noreply.c-seed-6bf24907.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZL_HOMEPAGE_URL})
# Without an X server (a Wayland session without XWayland) Qt needs its Wayland plugin.
# O opens the target log with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, libxcb-screensaver0")
set(CPACK_GENERATOR DEB)
include(CPack)
