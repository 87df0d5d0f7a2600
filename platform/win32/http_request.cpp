#include "platform/win32/http_request.h"

#include <winhttp.h>
#include <shlwapi.h>

#include <algorithm>

#include "platform/win32/proxy.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// WinHTTP, bound on first use.
struct WinHttp {
  decltype(&::WinHttpOpen) open = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpOpen);
  decltype(&::WinHttpSetTimeouts) setTimeouts = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpSetTimeouts);
  decltype(&::WinHttpCrackUrl) crackUrl = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpCrackUrl);
  decltype(&::WinHttpConnect) connect = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpConnect);
  decltype(&::WinHttpOpenRequest) openRequest = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpOpenRequest);
  decltype(&::WinHttpSetOption) setOption = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpSetOption);
  decltype(&::WinHttpSendRequest) send = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpSendRequest);
  decltype(&::WinHttpReceiveResponse) receive = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpReceiveResponse);
  decltype(&::WinHttpQueryHeaders) queryHeaders = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpQueryHeaders);
  decltype(&::WinHttpQueryDataAvailable) queryData = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpQueryDataAvailable);
  decltype(&::WinHttpReadData) read = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpReadData);
  decltype(&::WinHttpCloseHandle) close = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpCloseHandle);
  decltype(&::UrlCombineW) combineUrl = VANDREL_SYSTEM_FUNCTION(kShellUtilityLibrary, UrlCombineW);

  bool Bound() const {
    return open && setTimeouts && crackUrl && connect && openRequest && setOption && send && receive &&
           queryHeaders && queryData && read && close && combineUrl;
  }
  static const WinHttp& Functions() {
    static const WinHttp functions;
    return functions;
  }
};

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The `index`th header of that kind (counting from 0); false when there is none.
bool QueryHeader(HINTERNET request, DWORD query, DWORD index, std::wstring& text) {
  const auto& http = WinHttp::Functions();
  DWORD size = 0;
  DWORD at = index;
  http.queryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size, &at);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
  text.assign(size / sizeof(wchar_t) + 1, L'\0');
  at = index;
  if (!http.queryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size, &at)) return false;
  text.resize(size / sizeof(wchar_t));
  return true;
}

std::string Header(HINTERNET request, DWORD query) {
  std::wstring text;
  return QueryHeader(request, query, 0, text) ? Narrow(text) : std::string();
}

Answer ReadAnswer(HINTERNET request) {
  Answer answer;
  DWORD size = sizeof answer.status;
  WinHttp::Functions().queryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                    WINHTTP_HEADER_NAME_BY_INDEX, &answer.status, &size, WINHTTP_NO_HEADER_INDEX);
  std::wstring length;
  for (DWORD index = 0; QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH, index, length); ++index) {
    answer.contentLengths.push_back(Narrow(length));
  }
  answer.contentEncoding = Header(request, WINHTTP_QUERY_CONTENT_ENCODING);
  answer.contentRange = Header(request, WINHTTP_QUERY_CONTENT_RANGE);
  answer.acceptRanges = Header(request, WINHTTP_QUERY_ACCEPT_RANGES);
  answer.etag = Header(request, WINHTTP_QUERY_ETAG);
  answer.lastModified = Header(request, WINHTTP_QUERY_LAST_MODIFIED);
  return answer;
}

// Where a redirect leads, as a whole address; empty when it leads nowhere.
std::wstring RedirectTarget(const std::wstring& from, HINTERNET request) {
  std::wstring location;
  if (!QueryHeader(request, WINHTTP_QUERY_LOCATION, 0, location) || location.empty()) return {};
  std::wstring target(2084, L'\0');  // the longest address the system takes (INTERNET_MAX_URL_LENGTH)
  DWORD size = static_cast<DWORD>(target.size());
  if (FAILED(WinHttp::Functions().combineUrl(from.c_str(), location.c_str(), target.data(), &size, URL_DONT_SIMPLIFY))) {
    return {};
  }
  target.resize(size);
  return target;
}

}  // namespace

void InternetCloser::operator()(void* handle) const noexcept { WinHttp::Functions().close(handle); }

namespace {

InternetHandle OpenRouted(const ProxyRoute& route, std::chrono::milliseconds stallLimit) {
  const auto& http = WinHttp::Functions();
  if (!http.Bound()) return nullptr;
  const bool named = route.accessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  InternetHandle session(http.open(L"Vandrel download manager", route.accessType,
                                   named ? route.proxy.c_str() : WINHTTP_NO_PROXY_NAME,
                                   named && !route.bypass.empty() ? route.bypass.c_str() : WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return nullptr;
  DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
  if (!http.setOption(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    // Refused too (a Windows 7 without the update that teaches WinHTTP TLS
    // 1.2): the system's own protocols stay, and a server that needs more fails.
    http.setOption(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
  }
  const int limit = static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(stallLimit.count(), 1, 0x7FFFFFFF));
  if (!http.setTimeouts(session.get(), limit, limit, limit, limit)) return nullptr;
  DWORD headers = static_cast<DWORD>(limit);
  http.setOption(session.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headers, sizeof headers);
  return session;
}

}  // namespace

InternetHandle OpenSession(std::chrono::milliseconds stallLimit) { return OpenRouted(FixedRoute(), stallLimit); }

Sessions::Sessions(std::chrono::milliseconds stallLimit) : stallLimit_(stallLimit), fixed_(OpenSession(stallLimit)) {}

void* Sessions::For(const std::wstring& url) {
  if (!fixed_) return nullptr;
  const std::optional<ProxyRoute> route = RouteByUserSettings(fixed_.get(), url);
  if (!route) return fixed_.get();
  const std::wstring key = std::to_wstring(route->accessType) + L" " + route->proxy + L" " + route->bypass;
  InternetHandle& session = routed_[key];
  if (!session) session = OpenRouted(*route, stallLimit_);
  return session.get();
}

bool HttpRequest::Send(Sessions& sessions, const std::wstring& url, std::uint64_t from, const std::string& validator,
                       WaitWatch& watch, std::uint32_t limitMs) {
  const auto& http = WinHttp::Functions();
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!http.crackUrl(url.c_str(), 0, 0, &parts)) return false;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                      std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  request_.reset();
  watch.Begin(2 * limitMs);  // a proxy script's download and its evaluation
  void* session = sessions.For(url);
  if (session == nullptr) return false;
  connection_.reset(http.connect(session, host.c_str(), parts.nPort, 0));
  if (!connection_) return false;
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  request_.reset(http.openRequest(connection_.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                  WINHTTP_DEFAULT_ACCEPT_TYPES, secure | WINHTTP_FLAG_REFRESH));
  if (!request_) return false;
  // Redirects come back to us to be checked; no cookie is kept or sent.
  DWORD features = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  http.setOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features);
  http.setOption(request_.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  std::wstring headers;
  if (from != 0) headers = Wide("Range: bytes=" + std::to_string(from) + "-\r\nIf-Range: " + validator + "\r\n");
  for (bool proxyLogon = false;; proxyLogon = true) {
    watch.Begin(3 * limitMs);  // resolving, connecting, the handshake and sending: each up to the limit
    if (!http.send(request_.get(), headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                   static_cast<DWORD>(headers.size()), WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
      return false;
    }
    watch.Begin(limitMs);
    if (!http.receive(request_.get(), nullptr)) return false;
    answer_ = ReadAnswer(request_.get());
    // A proxy that asks for the user's logon gets it by the system's
    // integrated methods (Negotiate, NTLM), once; the low policy is set only
    // on a request that a proxy challenged, never for the server alone.
    if (answer_.status != HTTP_STATUS_PROXY_AUTH_REQ || proxyLogon) break;
    DWORD logon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
    if (!http.setOption(request_.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &logon, sizeof logon)) break;
  }
  available_ = 0;
  return answer_.status != 0;
}

bool HttpRequest::Open(Sessions& sessions, const std::string& address, std::uint64_t from, const std::string& validator,
                       WaitWatch& watch, std::chrono::milliseconds stallLimit) {
  const auto limit = static_cast<std::uint32_t>(std::clamp<std::chrono::milliseconds::rep>(stallLimit.count(), 1, 600000));
  limitMs_ = limit;
  std::wstring url = Wide(address);
  bool secure = false;  // a request went over https: every later one must too
  for (int redirects = 0;; ++redirects) {
    const std::wstring scheme = url.substr(0, url.find(L':'));
    const bool https = _wcsicmp(scheme.c_str(), L"https") == 0;
    if (!https && (_wcsicmp(scheme.c_str(), L"http") != 0 || secure)) return false;
    secure = secure || https;
    if (!Send(sessions, url, from, validator, watch, limit)) return false;
    if (!IsRedirect(answer_.status)) return true;
    if (redirects == kDownloadRedirectLimit) return false;
    url = RedirectTarget(url, request_.get());
    if (url.empty()) return false;
  }
}

DWORD ReadPiece(DWORD available, DWORD space, std::uint64_t readSoFar, DWORD elapsedMs, std::uint32_t limitMs) {
  constexpr std::uint64_t kLargestPiece = 256 * 1024;
  const std::uint64_t pieceMs = std::min<std::uint64_t>(100, limitMs / 400);
  // Over at least a tenth of a second, so that the first quick reads do not count as a rate.
  const std::uint64_t piece = std::min(readSoFar * pieceMs / std::max<DWORD>(elapsedMs, 100), kLargestPiece);
  return std::min<DWORD>(space, std::max<DWORD>(available, static_cast<DWORD>(piece)));
}

BodyRead HttpRequest::Read(char* buffer, DWORD space, DWORD& read) {
  const auto& http = WinHttp::Functions();
  read = 0;
  if (available_ == 0) {
    if (!http.queryData(request_.get(), &available_)) return BodyRead::Broken;
    if (available_ == 0) return BodyRead::End;
  }
  if (bodyRead_ == 0) bodyStarted_ = GetTickCount();
  const DWORD piece = ReadPiece(available_, space, bodyRead_, GetTickCount() - bodyStarted_, limitMs_);
  if (!http.read(request_.get(), buffer, piece, &read)) return BodyRead::Broken;
  if (read == 0) return BodyRead::End;
  available_ -= std::min(read, available_);
  bodyRead_ += read;
  return BodyRead::Bytes;
}

}  // namespace platform::win32
