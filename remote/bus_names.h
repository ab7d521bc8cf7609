#pragma once
// Where the running panel is found on the session bus, and the names of the
// errors it answers a refused request with. Shared by the panel and kavo-ctl;
// the interface itself is com.quorvale.KavoPanel.xml.

namespace remote {

inline constexpr const char* ServiceName = "com.quorvale.KavoPanel";
inline constexpr const char* ObjectPath = "/com/quorvale/KavoPanel";
inline constexpr const char* Interface = "com.quorvale.KavoPanel1";
inline constexpr const char* PropertiesInterface = "org.freedesktop.DBus.Properties";

namespace error {
// Every refusal of the panel's own starts with this.
inline constexpr const char* Prefix = "com.quorvale.KavoPanel1.Error.";
inline constexpr const char* NoSuchChannel = "com.quorvale.KavoPanel1.Error.NoSuchChannel";
inline constexpr const char* AlreadyOn = "com.quorvale.KavoPanel1.Error.AlreadyOn";
inline constexpr const char* AlreadyOff = "com.quorvale.KavoPanel1.Error.AlreadyOff";
inline constexpr const char* NotATime = "com.quorvale.KavoPanel1.Error.NotATime";
inline constexpr const char* AlreadyArmed = "com.quorvale.KavoPanel1.Error.AlreadyArmed";
inline constexpr const char* NotArmed = "com.quorvale.KavoPanel1.Error.NotArmed";
inline constexpr const char* Closed = "com.quorvale.KavoPanel1.Error.Closed";
} // namespace error

} // namespace remote
