#include "platform/win32/proxy.h"

#include <windows.h>
#include <winhttp.h>

#include <atomic>

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

struct ProxyFunctions {
  decltype(&::WinHttpGetIEProxyConfigForCurrentUser) userConfig =
      VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpGetIEProxyConfigForCurrentUser);
  decltype(&::WinHttpGetProxyForUrl) forUrl = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpGetProxyForUrl);
  static const ProxyFunctions& Get() {
    static const ProxyFunctions functions;
    return functions;
  }
};

// A text WinHTTP allocated for us.
std::wstring Take(wchar_t* text) {
  if (text == nullptr) return {};
  std::wstring taken(text);
  GlobalFree(text);
  return taken;
}

// The user's proxy settings for the system's browser, read once a run.
struct UserSettings {
  bool detect = false;
  std::wstring script, proxy, bypass;

  static const UserSettings& Get() {
    static const UserSettings settings = Read();
    return settings;
  }

 private:
  static UserSettings Read() {
    UserSettings settings;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    const auto userConfig = ProxyFunctions::Get().userConfig;
    if (userConfig == nullptr || !userConfig(&config)) return settings;
    settings.detect = config.fAutoDetect != FALSE;
    settings.script = Take(config.lpszAutoConfigUrl);
    settings.proxy = Take(config.lpszProxy);
    settings.bypass = Take(config.lpszProxyBypass);
    return settings;
  }
};

// Ways that found nothing in this run, so that a download does not wait on them again.
std::atomic<bool> detectionFailed{false};
std::atomic<bool> scriptFailed{false};

// Asks WinHTTP for the route of `url` by `options`.
std::optional<ProxyRoute> Ask(void* session, const std::wstring& url, WINHTTP_AUTOPROXY_OPTIONS options) {
  const auto forUrl = ProxyFunctions::Get().forUrl;
  if (forUrl == nullptr) return std::nullopt;
  options.fAutoLogonIfChallenged = TRUE;  // a script served behind the logon of the network
  WINHTTP_PROXY_INFO found{};
  if (!forUrl(session, url.c_str(), &options, &found)) return std::nullopt;
  return ProxyRoute{found.dwAccessType, Take(found.lpszProxy), Take(found.lpszProxyBypass)};
}

}  // namespace

ProxyRoute FixedRoute() {
  const UserSettings& user = UserSettings::Get();
  if (!user.proxy.empty()) return {WINHTTP_ACCESS_TYPE_NAMED_PROXY, user.proxy, user.bypass};
  return {WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, {}, {}};
}

std::optional<ProxyRoute> RouteByUserSettings(void* session, const std::wstring& url) {
  const UserSettings& user = UserSettings::Get();
  if (user.detect && !detectionFailed) {
    WINHTTP_AUTOPROXY_OPTIONS detect{};
    detect.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
    detect.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    if (auto route = Ask(session, url, detect)) return route;
    detectionFailed = true;
  }
  if (!user.script.empty() && !scriptFailed) {
    WINHTTP_AUTOPROXY_OPTIONS script{};
    script.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    script.lpszAutoConfigUrl = user.script.c_str();
    if (auto route = Ask(session, url, script)) return route;
    scriptFailed = true;
  }
  return std::nullopt;
}

}  // namespace platform::win32
