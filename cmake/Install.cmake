# Installing and packaging, in the games layout of Debian: the program lives in a private
# folder under lib/games, its pictures and sounds under share/games, and the PATH gets a link
# in games/. The program looks for its files in its own folder, so that folder holds a link to
# each entry of the data folder. Only the "game" component is installed or packaged: tests,
# benchmarks and assetgen stay in the build tree.
include(GNUInstallDirs)

# Fixed folders rather than the multiarch libdir, so the links and the package layout are
# the same wherever the tree was configured.
set(ZORVO_INSTALL_PROGRAMDIR "lib/games/zorvo" CACHE STRING
    "Folder under the prefix that holds the program and links to its data")
set(ZORVO_INSTALL_GAMEDATADIR "share/games/zorvo" CACHE STRING
    "Folder under the prefix that holds the pictures and sounds")
set(ZORVO_INSTALL_LAUNCHERDIR "games" CACHE STRING
    "Folder under the prefix that holds the link on the PATH")
foreach(dir ZORVO_INSTALL_PROGRAMDIR ZORVO_INSTALL_GAMEDATADIR ZORVO_INSTALL_LAUNCHERDIR
        CMAKE_INSTALL_DATADIR CMAKE_INSTALL_MANDIR)
    if(IS_ABSOLUTE "${${dir}}")
        message(FATAL_ERROR "${dir} must be relative to the prefix, not ${${dir}}")
    endif()
endforeach()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zorvo RUNTIME DESTINATION ${ZORVO_INSTALL_PROGRAMDIR} COMPONENT game)
if(CMAKE_OBJCOPY)
    # Stripped, the program keeps no compiler banners either, as in any Debian package.
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZORVO_INSTALL_PROGRAMDIR}/zorvo\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT game)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${ZORVO_INSTALL_GAMEDATADIR}
    COMPONENT game)

# Links are relative, so the tree can be unpacked under any root. The launcher is a link, not
# a script: the program follows it back to its own folder, keeps its name for the window
# manager, and no shell sits in between.
set(zorvo_links ${PROJECT_BINARY_DIR}/install-links)
file(REMOVE_RECURSE ${zorvo_links})
function(zorvo_install_link from_dir to_dir name)
    cmake_path(RELATIVE_PATH to_dir BASE_DIRECTORY ${from_dir} OUTPUT_VARIABLE relative)
    file(MAKE_DIRECTORY ${zorvo_links}/${from_dir})
    file(CREATE_LINK ${relative}/${name} ${zorvo_links}/${from_dir}/${name} SYMBOLIC)
    install(FILES ${zorvo_links}/${from_dir}/${name} DESTINATION ${from_dir} COMPONENT game)
endfunction()
zorvo_install_link(${ZORVO_INSTALL_LAUNCHERDIR} ${ZORVO_INSTALL_PROGRAMDIR} zorvo)
file(GLOB zorvo_data_entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${PROJECT_SOURCE_DIR}/data
    ${PROJECT_SOURCE_DIR}/data/*)
foreach(entry IN LISTS zorvo_data_entries)
    zorvo_install_link(${ZORVO_INSTALL_PROGRAMDIR} ${ZORVO_INSTALL_GAMEDATADIR} ${entry})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/zorvo.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
set(ZORVO_ICON_SIZES 16 32 48 64 128 256)
foreach(size IN LISTS ZORVO_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvo-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME zorvo.png COMPONENT game)
endforeach()

# What a Debian package documents: the copyright file in its machine-readable form, made
# around LICENSE so the two cannot drift apart; the changelog and the manual page gzipped
# without a name or time, so the same sources give the same bytes.
set(ZORVO_HOMEPAGE "https://zorvo.example/")
set(ZORVO_PACKAGE_MAINTAINER "Zorvo developers <maintainers@zorvo.example>" CACHE STRING
    "Maintainer field of the Debian package")
set(ZORVO_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE zorvo_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" zorvo_match "${zorvo_license}")
set(ZORVO_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${zorvo_license}" "Permission" zorvo_start)
if(NOT ZORVO_COPYRIGHT OR zorvo_start LESS 0)
    message(FATAL_ERROR "LICENSE lacks its copyright line or its permission text")
endif()
# Continuation lines of a field start with a space, and an empty one is a lone dot.
string(SUBSTRING "${zorvo_license}" ${zorvo_start} -1 zorvo_license)
string(STRIP "${zorvo_license}" zorvo_license)
string(REPLACE "\n\n" "\n.\n" zorvo_license "${zorvo_license}")
string(REPLACE "\n" "\n " ZORVO_LICENSE_TEXT " ${zorvo_license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${ZORVO_PACKAGING_OUT}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/example.zorvo.Zorvo.metainfo.xml.in
    ${ZORVO_PACKAGING_OUT}/example.zorvo.Zorvo.metainfo.xml @ONLY)

find_program(ZORVO_GZIP gzip)
if(ZORVO_GZIP)
    set(zorvo_gzipped)
    foreach(name changelog.Debian zorvo.6)
        add_custom_command(OUTPUT ${ZORVO_PACKAGING_OUT}/${name}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/${name}
                ${ZORVO_PACKAGING_OUT}/${name}
            COMMAND ${ZORVO_GZIP} -9nf ${ZORVO_PACKAGING_OUT}/${name}
            DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${name} VERBATIM)
        list(APPEND zorvo_gzipped ${ZORVO_PACKAGING_OUT}/${name}.gz)
    endforeach()
    add_custom_target(zorvo_docs ALL DEPENDS ${zorvo_gzipped})
    install(FILES ${ZORVO_PACKAGING_OUT}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvo COMPONENT game)
    install(FILES ${ZORVO_PACKAGING_OUT}/zorvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
        COMPONENT game)
endif()
install(FILES ${ZORVO_PACKAGING_OUT}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvo
    COMPONENT game)
install(FILES ${ZORVO_PACKAGING_OUT}/example.zorvo.Zorvo.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME zorvo COMPONENT game)

if(ZORVO_TESTS)
    list(JOIN ZORVO_ICON_SIZES " " zorvo_icon_sizes)
    add_test(NAME install_layout
        COMMAND ${PROJECT_SOURCE_DIR}/tests/install_test.sh cmake=${CMAKE_COMMAND}
            cpack=${CMAKE_CPACK_COMMAND} build=${PROJECT_BINARY_DIR} data=${PROJECT_SOURCE_DIR}/data
            program=${ZORVO_INSTALL_PROGRAMDIR} gamedata=${ZORVO_INSTALL_GAMEDATADIR}
            launcherdir=${ZORVO_INSTALL_LAUNCHERDIR} datadir=${CMAKE_INSTALL_DATADIR}
            mandir=${CMAKE_INSTALL_MANDIR} "sizes=${zorvo_icon_sizes}" hardened=${ZORVO_HARDENED})
    set_tests_properties(install_layout PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()

# The Debian package: `cmake --build <tree> --target package` in a Release tree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZORVO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZORVO_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Klondike patience card game / 克朗代克纸牌游戏")
set(CPACK_PACKAGE_DESCRIPTION
"Zorvo is Klondike patience for one player. Drag cards and runs with the mouse,
double-click a card to send it to its goal pile, turn the stock one or three
cards at a time, take back the last move, and choose among card fronts, backs,
table backgrounds and sounds.

Zorvo 是单人克朗代克纸牌游戏：用鼠标拖动纸牌，双击把牌送到目标牌堆，
每次翻一张或三张，可撤销上一步，并可选择牌面、牌背、背景和音效。")
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};game;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps, which reads only the local
# dpkg database. The menus and texts are Chinese, so a CJK font is needed although
# nothing links it. The xcb platform plugin ships in libqt6gui6 itself.
# The sound library is loaded at run time rather than linked, so it is named here too, and so
# is the Wayland platform plugin, which Qt loads on a Wayland desktop.
set(zorvo_depends "fonts-wqy-microhei | fonts-noto-cjk" "libsdl2-2.0-0 (>= 2.0.18)"
    "qt6-translations-l10n" "qt6-wayland")
find_program(ZORVO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZORVO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    list(PREPEND zorvo_depends "libc6" "libstdc++6" "libqt6core6 (>= 6.4)" "libqt6gui6 (>= 6.4)"
        "libqt6widgets6 (>= 6.4)")
endif()
list(JOIN zorvo_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
