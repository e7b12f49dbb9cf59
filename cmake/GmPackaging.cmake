# What `cmake --install` puts into a prefix, and the packages CPack makes of
# it (scripts/package builds both):
#
# - Linux, a .deb: carwright, quorvex, model3da and ctcparse in bin/; Heaptally's
#   library in lib/ and its header in include/; the Scenepress host program
#   with its plug-in and the host layer in lib/gravelmoor/ (the host looks
#   for the plug-in beside itself), reached through bin/scenepress; the
#   desktop entry and icon of Carwright's window.
# - Windows, a .zip: the programs and heaptally.dll in bin/, the import
#   library in lib/, the header in include/.
#
# The programs and Scenepress find the project's shared libraries through
# their run path, relative to where they are installed.

set(gm_private_libdir ${CMAKE_INSTALL_LIBDIR}/gravelmoor)

if(NOT WIN32)
  # The shared libraries of ours that the programs need at run time.
  foreach(target carwright model3da_app ctcparse quorvex scenepress scenepress_app
                 scenepress_host model3da_platform)
    if(TARGET ${target})
      set_property(TARGET ${target} PROPERTY INSTALL_RPATH
                   "$ORIGIN" "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}/gravelmoor")
    endif()
  endforeach()
  foreach(target model3da_platform scenepress_host)
    if(TARGET ${target})
      install(TARGETS ${target} LIBRARY DESTINATION ${gm_private_libdir})
    endif()
  endforeach()
  if(TARGET scenepress AND TARGET scenepress_app)
    install(TARGETS scenepress LIBRARY DESTINATION ${gm_private_libdir})
    install(TARGETS scenepress_app RUNTIME DESTINATION ${gm_private_libdir})
    install(CODE "
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
      file(CREATE_LINK ../${gm_private_libdir}/scenepress
           \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/scenepress\" SYMBOLIC)")
  endif()
  file(GLOB gm_desktop_entries ${PROJECT_SOURCE_DIR}/wizard/ui/*.desktop
       ${PROJECT_SOURCE_DIR}/extractor/ui/*.desktop)
  if(gm_desktop_entries)
    install(FILES ${gm_desktop_entries} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
endif()

set(CPACK_PACKAGE_NAME gravelmoor-tools)
set(CPACK_PACKAGE_VENDOR "Gravelmoor modding tools")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Gravelmoor modding tools: Carwright, Scenepress, Heaptally, model3da, ctcparse")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Gravelmoor modding tools <tools@gravelmoor.invalid>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME windows-x86_64)
  else()
    set(CPACK_SYSTEM_NAME windows-i686)
  endif()
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # The run-time libraries (Qt, Assimp, fmt, the C++ runtime) from the
  # programs themselves.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      ${CMAKE_BINARY_DIR}/model3da ${CMAKE_BINARY_DIR}/exporter/host)
  # Qt's own texts of the windows' dialogs and buttons in Polish.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
endif()
include(CPack)
