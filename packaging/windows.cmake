# The Windows program as one folder that runs wherever it is unpacked:
# kavo-panel.exe beside Qt's libraries (kept as DLLs), the plugins Qt loads
# from there, and the compiler's runtime. Packed as a zip and as an NSIS
# installer with a Start-menu entry (cpack -G ZIP, cpack -G NSIS).

# A windowed program: no console opens beside the panel.
set_target_properties(kavo-panel PROPERTIES WIN32_EXECUTABLE ON)
install(TARGETS kavo-panel RUNTIME DESTINATION .)

foreach(module Core Gui Widgets)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
# The USB HID relay boards' library, hidapi's DLL; the serial boards need
# none but the system's.
if(KAVO_WITH_HIDAPI)
    install(FILES $<TARGET_FILE:hidapi::winapi> DESTINATION .)
endif()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
# The skins are BMP (built into Qt), the faces JPEG, the picture a GIF.
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> $<TARGET_FILE:Qt6::QGifPlugin>
    DESTINATION imageformats)
if(TARGET Qt6::QWindowsVistaStylePlugin)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()

# mingw-w64's runtime, posix threads flavour, as the program and Qt link it.
include(${CMAKE_SOURCE_DIR}/cmake/mingw_runtime.cmake)
kavo_mingw_runtime(runtime)
install(FILES ${runtime} DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME kavo-panel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvale)
set(CPACK_PACKAGE_FILE_NAME kavo-panel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "control panel switching four appliances through a relay board")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kavo Panel")
# A 64-bit installer, into the 64-bit Program Files, as the program is.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_SOURCE_DIR}/makensis-amd64.sh)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# One uninstall entry whatever the version, so that installing a newer one
# finds the older one and removes it first.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Kavo Panel")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/debian/copyright)
set(CPACK_STRIP_FILES ON)
# The program sits at the top of the folder, and the Start menu starts it.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES kavo-panel "Kavo Panel")
set(CPACK_NSIS_INSTALLED_ICON_NAME kavo-panel.exe)
set(CPACK_NSIS_DISPLAY_NAME "Kavo Panel")
set(CPACK_NSIS_PACKAGE_NAME "Kavo Panel ${PROJECT_VERSION}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
include(CPack)
