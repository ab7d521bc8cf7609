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

# USB HID relay boards: hidapi's hidraw backend, on Linux.
set(available FALSE)
set(why_not "hidapi's hidraw backend is Linux only")
if(kavo_linux)
    set(why_not "pkg-config finds no hidapi-hidraw (scripts/setup.sh installs libhidapi-dev)")
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(HIDAPI QUIET IMPORTED_TARGET GLOBAL hidapi-hidraw)
        if(HIDAPI_FOUND)
            set(available TRUE)
        endif()
    endif()
endif()
kavo_feature(KAVO_WITH_HIDAPI "USB HID relay boards, through hidapi" ${available} "${why_not}")

# The desktop's bell sound, where Qt's beep is silent: libcanberra, on Linux.
# Only its header is needed to build; the library is loaded when it sounds.
set(available FALSE)
set(why_not "the bell through libcanberra is built on Linux only")
if(kavo_linux)
    set(why_not "pkg-config finds no libcanberra (scripts/setup.sh installs libcanberra-dev)")
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(CANBERRA QUIET IMPORTED_TARGET GLOBAL libcanberra)
        if(CANBERRA_FOUND)
            set(available TRUE)
        endif()
    endif()
endif()
kavo_feature(KAVO_WITH_CANBERRA "the desktop's bell sound, through libcanberra" ${available}
    "${why_not}")

# The rest is Qt's or goes with Qt's windows.
set(available FALSE)
set(why_not "KAVO_WITH_QT is OFF")
if(KAVO_WITH_QT)
    set(why_not "Qt's SerialPort module is not found (scripts/setup.sh installs qt6-serialport-dev)")
    if(Qt6SerialPort_FOUND)
        set(available TRUE)
    endif()
endif()
kavo_feature(KAVO_WITH_SERIALPORT "serial relay boards, through QtSerialPort" ${available}
    "${why_not}")

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

set(available FALSE)
set(why_not "KAVO_WITH_QT is OFF")
if(KAVO_WITH_QT)
    set(why_not "X11 window-manager requests are built only where there is X11")
    if(UNIX AND NOT APPLE)
        set(why_not "pkg-config finds no xcb (scripts/setup.sh installs libxcb1-dev)")
        if(PKG_CONFIG_FOUND)
            pkg_check_modules(XCB QUIET IMPORTED_TARGET GLOBAL xcb)
            if(XCB_FOUND)
                set(available TRUE)
            endif()
        endif()
    endif()
endif()
kavo_feature(KAVO_WITH_X11 "window-manager requests on X11, through xcb" ${available}
    "${why_not}")

# kavo-mqtt, the bridge to an MQTT broker: libmosquitto, and the session bus
# through which it reaches the panel.
set(available FALSE)
set(why_not "the bridge reaches the panel over the session bus, and KAVO_WITH_DBUS is OFF")
if(KAVO_WITH_DBUS)
    set(why_not "pkg-config finds no libmosquitto (scripts/setup.sh installs libmosquitto-dev)")
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(MOSQUITTO QUIET IMPORTED_TARGET GLOBAL libmosquitto)
        if(MOSQUITTO_FOUND)
            set(available TRUE)
        endif()
    endif()
endif()
kavo_feature(KAVO_WITH_MQTT "kavo-mqtt, the panel on an MQTT broker, through libmosquitto"
    ${available} "${why_not}")
