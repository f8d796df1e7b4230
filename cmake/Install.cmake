# What `cmake --install` puts under the prefix besides the two programs (their own
# rules are beside their targets): the bundled "Program Files" folder, the desktop
# entry and the icons. packaging/ adds the metadata, the manual pages and the package.

# The program looks for its bundled programs in ../lib/tavik/Program Files from its
# own folder, so this path is fixed and does not follow the platform's libdir.
set(TAVIK_BUNDLED_PROGRAM_FILES "${PROJECT_SOURCE_DIR}/Program Files")
if(IS_DIRECTORY "${TAVIK_BUNDLED_PROGRAM_FILES}")
  install(DIRECTORY "${TAVIK_BUNDLED_PROGRAM_FILES}"
          DESTINATION lib/tavik
          USE_SOURCE_PERMISSIONS)
endif()

install(FILES "${PROJECT_SOURCE_DIR}/res/tavik.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

foreach(icon IN ITEMS "tavik-256.png:256x256" "128.png:32x32" "128-16.png:16x16")
  string(REPLACE ":" ";" icon "${icon}")
  list(GET icon 0 source)
  list(GET icon 1 size)
  install(FILES "${PROJECT_SOURCE_DIR}/res/icons/${source}"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
          RENAME tavik.png)
endforeach()
