# What `cmake --install` (and so the package) puts beside the two programs: the desktop entry,
# the icons, the AppStream metadata, the manual pages, the bash completion and the documents a
# Debian package carries. The programs and the data folder install from their own folders.
#
# Every installed desktop file is named after one reverse-DNS id, QM_APP_ID: the desktop entry,
# the icons, the metadata, and the desktop file name the program announces to the window system.

set(QM_APP_ID io.github.quillmark.Quillmark)
set(QM_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(QM_PACKAGING_BUILD_DIR ${CMAKE_BINARY_DIR}/packaging)

if(NOT UNIX OR APPLE)
  return()
endif()

# Desktop entry and AppStream metadata. The metadata carries the version and its release date, so
# it is configured from the project's version; the screenshot ships beside the data folder.
install(FILES ${QM_PACKAGING_DIR}/${QM_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release date: the build's fixed timestamp when it has one (reproducible builds), else the
# date of the last commit of the sources, else today.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP QM_RELEASE_DATE "%Y-%m-%d" UTC)
  string(TIMESTAMP QM_RELEASE_STAMP "%a, %d %b %Y %H:%M:%S +0000" UTC)
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cd --date=format:%Y-%m-%d
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE QM_RELEASE_DATE
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE QM_RELEASE_STAMP
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT QM_RELEASE_DATE OR NOT QM_RELEASE_STAMP)
    string(TIMESTAMP QM_RELEASE_DATE "%Y-%m-%d" UTC)
    string(TIMESTAMP QM_RELEASE_STAMP "%a, %d %b %Y %H:%M:%S +0000" UTC)
  endif()
endif()
# Software centres fetch screenshots from the web, never from the installed system, so the
# metadata names the address at which the committed screenshot is published; its size is read
# from the PNG header.
set(QM_SCREENSHOT ${QM_PACKAGING_DIR}/screenshots/main-window.png)
set(QM_SCREENSHOT_BASE_URL
    "https://raw.githubusercontent.com/quillmark/quillmark/main/packaging/screenshots"
    CACHE STRING "Where the screenshots of packaging/screenshots are published")
set(QM_SCREENSHOT_URL ${QM_SCREENSHOT_BASE_URL}/main-window.png)
file(READ ${QM_SCREENSHOT} qm_png_size OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING ${qm_png_size} 0 8 qm_png_width)
string(SUBSTRING ${qm_png_size} 8 8 qm_png_height)
math(EXPR QM_SCREENSHOT_WIDTH "0x${qm_png_width}")
math(EXPR QM_SCREENSHOT_HEIGHT "0x${qm_png_height}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QM_SCREENSHOT}
             ${QM_PACKAGING_DIR}/${QM_APP_ID}.metainfo.xml.in ${QM_PACKAGING_DIR}/changelog.in)
configure_file(${QM_PACKAGING_DIR}/${QM_APP_ID}.metainfo.xml.in
               ${QM_PACKAGING_BUILD_DIR}/${QM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${QM_PACKAGING_BUILD_DIR}/${QM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons: the SVG as it is, and PNGs in the sizes desktops ask for, drawn from the SVG at build
# time so nobody has to keep binaries in step with it.
set(QM_ICON_SOURCE ${PROJECT_SOURCE_DIR}/resources/icons/quillmark.svg)
set(QM_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(QM_RSVG_CONVERT rsvg-convert)
if(NOT QM_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert draws the program's PNG icons; install the Debian package "
                      "librsvg2-bin (scripts/setup installs it)")
endif()
set(qm_icon_outputs "")
foreach(size ${QM_ICON_SIZES})
  set(dir ${QM_PACKAGING_BUILD_DIR}/icons/hicolor/${size}x${size}/apps)
  set(png ${dir}/${QM_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${QM_RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
            --output ${png}.part ${QM_ICON_SOURCE}
    COMMAND ${CMAKE_COMMAND} -E rename ${png}.part ${png}
    DEPENDS ${QM_ICON_SOURCE}
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND qm_icon_outputs ${png})
endforeach()
add_custom_target(qm_icons ALL DEPENDS ${qm_icon_outputs})
install(DIRECTORY ${QM_PACKAGING_BUILD_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "*.png")
install(FILES ${QM_ICON_SOURCE} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QM_APP_ID}.svg)

# Manual pages quillmark(1) and quillmark-tool(1): one source, packaging/man/quillmark.man,
# completed with the tool's own --help texts, so the pages list every command the tool has.
find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)
set(qm_man_dir ${QM_PACKAGING_BUILD_DIR}/man)
set(qm_man_pages ${qm_man_dir}/quillmark.1.gz ${qm_man_dir}/quillmark-tool.1.gz)
add_custom_command(
  OUTPUT ${qm_man_pages}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          QUILLMARK_HOME=${QM_PACKAGING_BUILD_DIR}/man-home
          ${Python3_EXECUTABLE} ${QM_PACKAGING_DIR}/man/make-manpages
          --source ${QM_PACKAGING_DIR}/man/quillmark.man --tool $<TARGET_FILE:quillmark-tool>
          --program $<TARGET_FILE:quillmark> --version ${PROJECT_VERSION} --out ${qm_man_dir}
  DEPENDS quillmark-tool quillmark ${QM_PACKAGING_DIR}/man/quillmark.man
          ${QM_PACKAGING_DIR}/man/make-manpages
  COMMENT "Writing the manual pages"
  VERBATIM)
add_custom_target(qm_man_pages ALL DEPENDS ${qm_man_pages})
install(FILES ${qm_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Bash completion, found by bash-completion under the command's name.
install(FILES ${QM_PACKAGING_DIR}/bash-completion/quillmark-tool
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The documents every Debian package carries: the copyright notice and the change log, which
# Debian keeps compressed (without a timestamp inside, so the same sources give the same file).
set(QM_PACKAGE_MAINTAINER "Quillmark developers <quillmark@users.noreply.github.com>"
    CACHE STRING "The package's maintainer, as Debian writes it: Name <address>")
configure_file(${QM_PACKAGING_DIR}/changelog.in ${QM_PACKAGING_BUILD_DIR}/changelog @ONLY)
set(qm_changelog ${QM_PACKAGING_BUILD_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${qm_changelog}
  COMMAND ${Python3_EXECUTABLE} -c
          "import gzip,sys; open(sys.argv[2],'wb').write(gzip.compress(open(sys.argv[1],'rb').read(),9,mtime=0))"
          ${QM_PACKAGING_BUILD_DIR}/changelog ${qm_changelog}
  DEPENDS ${QM_PACKAGING_BUILD_DIR}/changelog
  VERBATIM)
add_custom_target(qm_changelog ALL DEPENDS ${qm_changelog})
install(FILES ${QM_PACKAGING_DIR}/copyright ${qm_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark)
