// The route of a download's request, chosen from the user's settings as the
// system's browser chooses it: automatic detection where the settings ask
// for it, then a proxy auto-configuration script they name, then a fixed
// proxy, else a direct connection (or WinHTTP's own setting).
#pragma once

#include <optional>
#include <string>

namespace platform::win32 {

// A route as WinHTTP's session takes it.
struct ProxyRoute {
  unsigned long accessType = 0;  // WINHTTP_ACCESS_TYPE_*
  std::wstring proxy, bypass;
};

// The route of the user's fixed proxy, when one is set; else WinHTTP's own
// setting (netsh winhttp; under Wine also http_proxy).
ProxyRoute FixedRoute();

// The route that detection or the script gives `url`, asked through
// `session`; nothing when neither gives one and the fixed route stands. The
// user's settings are read once a run, and a detection or a script that
// gave nothing is not asked again in that run: on a network without one, it
// costs nothing after the first time.
std::optional<ProxyRoute> RouteByUserSettings(void* session, const std::wstring& url);

}  // namespace platform::win32
