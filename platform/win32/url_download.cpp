#include "platform/win32/url_download.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// clang-format off
#include <windows.h>
#include <urlmon.h>
#include <wininet.h>
// clang-format on

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

HRESULT LastErrorResult() {
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// A new empty file in the temporary folder that reserves its name; empty
// when none could be made.
std::string NewPartFile() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH) return {};
  char name[MAX_PATH];
  if (GetTempFileNameA(folder, kDownloadPartPrefix, 0, name) == 0) return {};
  return name;
}

// One transfer, shared by the caller and the thread that runs it. The caller
// may give up on a stalled transfer and return while the thread is still
// blocked in an internet read, so the last of the two to let go cleans up:
// the part file goes with the transfer unless the caller delivered it.
struct Transfer {
  std::string url;
  std::string partPath;  // empty until made
  OwnedHandle progress{CreateEventA(nullptr, FALSE, FALSE, nullptr)};  // auto-reset: bytes arrived
  OwnedHandle finished{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  // The thread's outcome, valid once `finished` is set.
  HRESULT result = E_FAIL;
  std::exception_ptr error;
  bool delivered = false;   // the caller moved the part file to its target

  explicit Transfer(std::string address) : url(std::move(address)) {}
  ~Transfer() {
    if (!partPath.empty() && !delivered) DeleteFileA(partPath.c_str());
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
};

// The internet functions, bound on first use.
struct Internet {
  decltype(&::InternetOpenA) open = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, InternetOpenA);
  decltype(&::InternetOpenUrlA) openUrl = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, InternetOpenUrlA);
  decltype(&::HttpQueryInfoA) queryInfo = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, HttpQueryInfoA);
  decltype(&::InternetReadFile) read = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, InternetReadFile);
  decltype(&::InternetCombineUrlA) combineUrl = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, InternetCombineUrlA);
  decltype(&::InternetCloseHandle) close = VANDREL_SYSTEM_FUNCTION(kInternetLibrary, InternetCloseHandle);

  bool Bound() const { return open && openUrl && queryInfo && read && combineUrl && close; }
  static const Internet& Functions() {
    static const Internet functions;
    return functions;
  }
};

struct InternetCloser {
  void operator()(HINTERNET handle) const noexcept { Internet::Functions().close(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Every request asks the server: nothing comes from the internet cache or
// goes into it, and redirects come back to us to be checked.
constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_KEEP_CONNECTION;
// Large pieces: with the URL download service's 8 KiB the internet functions
// read at a fraction of the connection's speed (every piece a round through
// Wine's server). A read returns only once its piece is full (or the body
// ends), so a piece must also arrive within the stall limit: 64 KiB keeps a
// connection of 2.2 KB/s a steady one, and reads as fast here as 1 MiB.
constexpr DWORD kPieceSize = 64 * 1024;
constexpr DWORD kPiecesPerWrite = 16;

enum class Scheme { kOther, kHttp, kHttps };

Scheme SchemeOf(const std::string& url) {
  const auto starts = [&url](std::string_view prefix) {
    return url.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), url.begin(), [](char a, char b) {
             return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
           });
  };
  if (starts("https://")) return Scheme::kHttps;
  return starts("http://") ? Scheme::kHttp : Scheme::kOther;
}

bool IsRedirect(DWORD status) {
  return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
         status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == HTTP_STATUS_PERMANENT_REDIRECT;
}

DWORD StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  const auto& internet = Internet::Functions();
  if (!internet.queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    return 0;
  }
  return status;
}

// A header's text; empty when the answer has none.
std::string Header(HINTERNET request, DWORD query) {
  std::string text(256, '\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(text.size());
    if (Internet::Functions().queryInfo(request, query, text.data(), &size, nullptr)) return text.substr(0, size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= text.size()) return {};
    text.resize(size);
  }
}

// Where a redirect leads, as a whole address; empty when it leads nowhere.
std::string RedirectTarget(const std::string& from, HINTERNET request) {
  const std::string location = Header(request, HTTP_QUERY_LOCATION);
  if (location.empty()) return {};
  std::string target(INTERNET_MAX_URL_LENGTH, '\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(target.size());
    if (Internet::Functions().combineUrl(from.c_str(), location.c_str(), target.data(), &size, ICU_NO_ENCODE)) {
      return target.substr(0, size);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= target.size()) return {};
    target.resize(size + 1);
  }
}

// The announced length of the body; nothing when none was announced.
std::optional<std::uint64_t> ContentLength(HINTERNET request) {
  const std::string text = Header(request, HTTP_QUERY_CONTENT_LENGTH);
  std::uint64_t length = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return length;
}

// Reads the answer's body into `file`; every piece is progress. Pieces are
// gathered and written a megabyte at a time: under Wine, writing 100 MB in
// 64 KiB pieces took about 0.4 s, in 1 MiB pieces about 0.15 s.
HRESULT ReceiveBody(HINTERNET request, HANDLE file, const Transfer& transfer) {
  const std::optional<std::uint64_t> announced = ContentLength(request);
  std::vector<char> pieces(kPiecesPerWrite * kPieceSize);
  DWORD gathered = 0;
  const auto write = [&] {
    DWORD written = 0;
    const bool ok = WriteFile(file, pieces.data(), gathered, &written, nullptr) && written == gathered;
    gathered = 0;
    return ok;
  };
  std::uint64_t received = 0;
  for (;;) {
    DWORD read = 0;
    if (!Internet::Functions().read(request, pieces.data() + gathered, kPieceSize, &read)) return LastErrorResult();
    if (read == 0) break;
    received += read;
    gathered += read;
    SetEvent(transfer.progress.get());
    if (gathered + kPieceSize > pieces.size() && !write()) return LastErrorResult();
  }
  if (gathered != 0 && !write()) return LastErrorResult();
  // Wine ends the body without an error when the server closes the
  // connection early.
  return announced.has_value() && received != *announced ? INET_E_DOWNLOAD_FAILURE : S_OK;
}

// Asks for the transfer's address, follows its redirects and writes the
// file's body into `file`.
HRESULT Fetch(const Transfer& transfer, HANDLE file) {
  const auto& internet = Internet::Functions();
  if (!internet.Bound()) return E_FAIL;
  const InternetHandle session(internet.open("Vandrel download manager", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return LastErrorResult();
  std::string url = transfer.url;
  bool secure = false;  // a request went over https: every later one must too
  for (int redirects = 0;; ++redirects) {
    const Scheme scheme = SchemeOf(url);
    if (scheme == Scheme::kOther) return INET_E_UNKNOWN_PROTOCOL;
    if (scheme == Scheme::kHttp && secure) return HRESULT_FROM_WIN32(ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
    secure = secure || scheme == Scheme::kHttps;
    const InternetHandle request(internet.openUrl(session.get(), url.c_str(), nullptr, 0, kRequestFlags, 0));
    if (!request) return LastErrorResult();
    const DWORD status = StatusCode(request.get());
    if (!IsRedirect(status)) {
      // Wine reports status 0 when the server closed the connection without a word.
      return status == HTTP_STATUS_OK ? ReceiveBody(request.get(), file, transfer) : INET_E_DOWNLOAD_FAILURE;
    }
    if (redirects == kDownloadRedirectLimit) return HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED);
    url = RedirectTarget(url, request.get());
    if (url.empty()) return HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED);
  }
}

// The whole transfer into its part file, which is closed when this returns.
HRESULT FetchIntoPartFile(const Transfer& transfer) {
  HANDLE file =
      CreateFileA(transfer.partPath.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastErrorResult();
  const OwnedHandle closer(file);
  return Fetch(transfer, file);
}

// The transfer's thread: it owns one reference to the transfer, handed over
// on the heap, and touches nothing but the transfer and its part file.
DWORD WINAPI RunTransfer(void* parameter) noexcept {
  const std::unique_ptr<std::shared_ptr<Transfer>> transfer(static_cast<std::shared_ptr<Transfer>*>(parameter));
  try {
    (*transfer)->result = FetchIntoPartFile(**transfer);
  } catch (...) {
    // Nothing may unwind into the system's frames: the caller rethrows it.
    (*transfer)->error = std::current_exception();
  }
  SetEvent((*transfer)->finished.get());
  return 0;
}

DWORD Milliseconds(std::chrono::milliseconds limit) {
  return static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(limit.count(), 0, INFINITE - 1));
}

HRESULT Download(const std::string& url, const std::string& path, std::chrono::milliseconds stallLimit) {
  auto transfer = std::make_shared<Transfer>(url);
  if (!transfer->progress || !transfer->finished) return LastErrorResult();
  transfer->partPath = NewPartFile();
  if (transfer->partPath.empty()) return LastErrorResult();

  auto* handover = new std::shared_ptr<Transfer>(transfer);
  const OwnedHandle thread(CreateThread(nullptr, 0, RunTransfer, handover, 0, nullptr));
  if (!thread) {
    delete handover;
    return LastErrorResult();
  }

  const HANDLE events[] = {transfer->finished.get(), transfer->progress.get()};
  for (;;) {
    const DWORD woken = WaitForMultipleObjects(2, events, FALSE, Milliseconds(stallLimit));
    if (woken == WAIT_OBJECT_0) break;
    // Bytes arrived: the stall limit starts again. Anything else is a stall (or a
    // failed wait): the thread is left to end whenever its server lets go.
    if (woken != WAIT_OBJECT_0 + 1) return INET_E_CONNECTION_TIMEOUT;
  }

  if (transfer->error) std::rethrow_exception(transfer->error);
  if (FAILED(transfer->result)) return transfer->result;
  if (!MoveFileExA(transfer->partPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    return LastErrorResult();
  }
  transfer->delivered = true;
  return S_OK;
}

}  // namespace

long DownloadUrlToFile(const std::string& url, const std::string& path) {
  return DownloadUrlToFile(url, path, kDownloadStallLimit);
}

long DownloadUrlToFile(const std::string& url, const std::string& path, std::chrono::milliseconds stallLimit) {
  // After a failure nothing partial may be run, nor an older file of that name.
  HRESULT result = E_FAIL;
  try {
    result = Download(url, path, stallLimit);
  } catch (...) {
    DeleteFileA(path.c_str());
    throw;
  }
  if (FAILED(result)) DeleteFileA(path.c_str());
  return result;
}

}  // namespace platform::win32
