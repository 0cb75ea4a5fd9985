# Installing and packaging. The program looks for its pictures and sounds in its own folder,
# so it and data/ go together into one private folder; the PATH gets a link to it, and the
# desktop gets a menu entry and icons. Only the "game" component is installed or packaged:
# tests, benchmarks and assetgen stay in the build tree.
include(GNUInstallDirs)

# A fixed lib/zorvo rather than the multiarch libdir, so the launcher link and the
# package layout are the same wherever the tree was configured.
set(ZORVO_INSTALL_PRIVATEDIR "lib/zorvo" CACHE STRING
    "Folder under the prefix that holds the program and its data")
foreach(dir ZORVO_INSTALL_PRIVATEDIR CMAKE_INSTALL_BINDIR CMAKE_INSTALL_DATADIR)
    if(IS_ABSOLUTE "${${dir}}")
        message(FATAL_ERROR "${dir} must be relative to the prefix, not ${${dir}}")
    endif()
endforeach()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zorvo RUNTIME DESTINATION ${ZORVO_INSTALL_PRIVATEDIR} COMPONENT game)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${ZORVO_INSTALL_PRIVATEDIR}
    COMPONENT game)

# The launcher is a relative symlink, not a script: the program follows links back to its
# own folder, keeps its name for the window manager, and no shell sits in between.
cmake_path(RELATIVE_PATH ZORVO_INSTALL_PRIVATEDIR BASE_DIRECTORY ${CMAKE_INSTALL_BINDIR}
    OUTPUT_VARIABLE zorvo_link_dir)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/launcher)
file(CREATE_LINK ${zorvo_link_dir}/zorvo ${PROJECT_BINARY_DIR}/launcher/zorvo SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/launcher/zorvo DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT game)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/zorvo.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
set(ZORVO_ICON_SIZES 16 32 48 64 128 256)
foreach(size IN LISTS ZORVO_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvo-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME zorvo.png COMPONENT game)
endforeach()

if(ZORVO_TESTS)
    list(JOIN ZORVO_ICON_SIZES " " zorvo_icon_sizes)
    add_test(NAME install_layout
        COMMAND ${PROJECT_SOURCE_DIR}/tests/install_test.sh ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR}
            ${PROJECT_SOURCE_DIR}/data ${ZORVO_INSTALL_PRIVATEDIR} ${CMAKE_INSTALL_BINDIR}
            ${CMAKE_INSTALL_DATADIR} "${zorvo_icon_sizes}")
    set_tests_properties(install_layout PROPERTIES TIMEOUT 300)
endif()

# The Debian package: `cmake --build <tree> --target package` in a Release tree.
set(ZORVO_PACKAGE_MAINTAINER "Zorvo developers <maintainers@zorvo.example>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZORVO_PACKAGE_MAINTAINER}")
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
# The sound library is loaded at run time rather than linked, so it is named here too.
set(zorvo_depends "fonts-wqy-microhei | fonts-noto-cjk" "libsdl2-2.0-0 (>= 2.0.18)"
    "qt6-translations-l10n")
find_program(ZORVO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZORVO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    list(PREPEND zorvo_depends "libc6" "libstdc++6" "libqt6core6 (>= 6.4)" "libqt6gui6 (>= 6.4)"
        "libqt6widgets6 (>= 6.4)")
endif()
list(JOIN zorvo_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
