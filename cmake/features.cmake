# The optional parts of the program. Each KAVO_WITH_* option defaults to ON
# where its library is found and the platform has it, and OFF elsewhere; an
# option turned ON where its library is missing stops the configure. Nothing
# here is REQUIRED otherwise: a build with every option OFF is complete.

# kavo_feature(<option> <description> <available> <why not>)
function(kavo_feature name description available why_not)
    option(${name} "${description}" ${available})
    if(${name} AND NOT available)
        message(FATAL_ERROR "${name} is ON, but ${why_not}; configure with -D${name}=OFF to "
            "build without it.")
    endif()
    add_feature_info(${name} ${name} "${description}")
endfunction()

find_package(PkgConfig QUIET)
set(kavo_linux FALSE)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(kavo_linux TRUE)
endif()
set(kavo_x11 FALSE)
if(UNIX AND NOT APPLE)
    set(kavo_x11 TRUE)
endif()

# kavo_pkg_feature(<option> <description> <pkg-config module> <Debian package>
#                  <prefix> [<condition> <why not>]...)
# An option whose library pkg-config finds, as the imported target
# PkgConfig::<prefix>. Each condition (a variable's name) must hold first;
# the first that does not is why the option is not available.
function(kavo_pkg_feature name description module package prefix)
    set(available FALSE)
    set(conditions ${ARGN})
    while(conditions)
        list(POP_FRONT conditions condition why_not)
        if(NOT ${condition})
            kavo_feature(${name} "${description}" FALSE "${why_not}")
            return()
        endif()
    endwhile()
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(${prefix} QUIET IMPORTED_TARGET GLOBAL ${module})
        if(${prefix}_FOUND)
            set(available TRUE)
        endif()
    endif()
    kavo_feature(${name} "${description}" ${available}
        "pkg-config finds no ${module} (scripts/setup.sh installs ${package})")
endfunction()

# USB HID relay boards: hidapi's hidraw backend on Linux, its Windows backend
# (through its CMake package, which scripts/build-windows.sh builds) on
# Windows. KAVO_HIDAPI_LIBRARY is the one the boards link.
if(WIN32)
    find_package(hidapi CONFIG QUIET)
    set(available FALSE)
    if(TARGET hidapi::hidapi)
        set(available TRUE)
    endif()
    kavo_feature(KAVO_WITH_HIDAPI "USB HID relay boards, through hidapi" ${available}
        "hidapi's CMake package is not found (scripts/build-windows.sh builds it)")
    set(KAVO_HIDAPI_LIBRARY hidapi::hidapi)
else()
    kavo_pkg_feature(KAVO_WITH_HIDAPI "USB HID relay boards, through hidapi" hidapi-hidraw
        libhidapi-dev HIDAPI kavo_linux "hidapi's hidraw backend is Linux only")
    set(KAVO_HIDAPI_LIBRARY PkgConfig::HIDAPI)
endif()

# The desktop's bell sound, where Qt's beep is silent: libcanberra, on Linux.
# Only its header is needed to build; the library is loaded when it sounds.
kavo_pkg_feature(KAVO_WITH_CANBERRA "the desktop's bell sound, through libcanberra" libcanberra
    libcanberra-dev CANBERRA kavo_linux "the bell through libcanberra is built on Linux only")

# The rest is Qt's or goes with Qt's windows.
set(available FALSE)
set(why_not "KAVO_WITH_QT is OFF")
if(KAVO_WITH_QT)
    set(why_not "Qt's SerialPort module is not found (scripts/setup.sh installs qt6-serialport-dev)")
    # Windows drives its COM ports through Win32 itself.
    if(Qt6SerialPort_FOUND OR WIN32)
        set(available TRUE)
    endif()
endif()
kavo_feature(KAVO_WITH_SERIALPORT "serial relay boards, through QtSerialPort (Win32 on Windows)"
    ${available} "${why_not}")

set(available FALSE)
set(why_not "KAVO_WITH_QT is OFF")
if(KAVO_WITH_QT)
    set(why_not "Qt's DBus module is not found (scripts/setup.sh installs qt6-base-dev)")
    if(Qt6DBus_FOUND)
        set(available TRUE)
    endif()
endif()
kavo_feature(KAVO_WITH_DBUS "the panel on the session bus and kavo-ctl, through QtDBus"
    ${available} "${why_not}")

kavo_pkg_feature(KAVO_WITH_X11 "window-manager requests on X11, through xcb" xcb libxcb1-dev XCB
    KAVO_WITH_QT "KAVO_WITH_QT is OFF"
    kavo_x11 "X11 window-manager requests are built only where there is X11")

# kavo-mqtt, the bridge to an MQTT broker: libmosquitto, and the session bus
# through which it reaches the panel.
kavo_pkg_feature(KAVO_WITH_MQTT "kavo-mqtt, the panel on an MQTT broker, through libmosquitto"
    libmosquitto libmosquitto-dev MOSQUITTO KAVO_WITH_DBUS
    "the bridge reaches the panel over the session bus, and KAVO_WITH_DBUS is OFF")
