#include "platform/win32/url_download.h"

#include <algorithm>
#include <memory>
#include <utility>

// clang-format off
#include <windows.h>
#include <urlmon.h>
// clang-format on

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

struct ComReleaser {
  template <class Object>
  void operator()(Object* object) const noexcept {
    object->Release();
  }
};

// Initialises COM on the thread for the life of the object.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

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
// blocked in the download service, so the last of the two to let go cleans
// up: the part file goes with the transfer unless the caller delivered it.
struct Transfer {
  std::string url;
  std::string partPath;  // empty until made
  OwnedHandle progress{CreateEventA(nullptr, FALSE, FALSE, nullptr)};  // auto-reset: something moved
  OwnedHandle finished{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HRESULT result = E_FAIL;  // the thread's, valid once `finished` is set
  bool delivered = false;   // the caller moved the part file to its target

  explicit Transfer(std::string address) : url(std::move(address)) {}
  ~Transfer() {
    if (!partPath.empty() && !delivered) DeleteFileA(partPath.c_str());
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
};

// Watches one download: the server's final status code and how many of the
// announced bytes arrived; every notification counts as progress for the
// caller's stall limit. Heap-allocated and reference-counted, as COM wants.
// Its methods are called by the download service and cannot throw.
class DownloadWatch final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  explicit DownloadWatch(std::shared_ptr<Transfer> transfer) : transfer_(std::move(transfer)) {}

  // False for an HTTP error page, a connection closed without any answer and
  // a body cut short.
  bool Complete() const { return !NoAnswer() && !ServerRefused() && !CutShort(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
      *object = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
      *object = static_cast<IHttpNegotiate*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IBindStatusCallback
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override {
    Moved();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG status, LPCWSTR) override {
    if (status == BINDSTATUS_DOWNLOADINGDATA || status == BINDSTATUS_ENDDOWNLOADDATA) {
      received_ = progress;
      announced_ = progressMax;
    }
    Moved();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  // IHttpNegotiate
  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override {
    if (additionalHeaders != nullptr) *additionalHeaders = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders) override {
    answered_ = true;
    statusCode_ = responseCode;  // the last one counts: redirects come before it
    if (additionalHeaders != nullptr) *additionalHeaders = nullptr;
    Moved();
    return S_OK;
  }

 private:
  ~DownloadWatch() = default;

  void Moved() const { SetEvent(transfer_->progress.get()); }
  // Wine reports status 0 when the server closed the connection without a
  // word, and then success with an empty file.
  bool NoAnswer() const { return answered_ && statusCode_ == 0; }
  bool ServerRefused() const { return statusCode_ >= 400; }
  bool CutShort() const { return announced_ != 0 && received_ < announced_; }

  std::shared_ptr<Transfer> transfer_;
  bool answered_ = false;  // false: no HTTP exchange (another scheme)
  DWORD statusCode_ = 0;
  ULONG received_ = 0;
  ULONG announced_ = 0;  // 0: the length was not announced
  LONG references_ = 1;
};

HRESULT Fetch(const std::shared_ptr<Transfer>& transfer) {
  const ComApartment com;
  const std::unique_ptr<DownloadWatch, ComReleaser> watch(new DownloadWatch(transfer));
  static const auto download = VANDREL_SYSTEM_FUNCTION(kUrlLibrary, URLDownloadToFileA);
  if (download == nullptr) return E_FAIL;
  const HRESULT result = download(nullptr, transfer->url.c_str(), transfer->partPath.c_str(), 0, watch.get());
  return SUCCEEDED(result) && !watch->Complete() ? INET_E_DOWNLOAD_FAILURE : result;
}

// The transfer's thread: it owns one reference to the transfer, handed over
// on the heap, and touches nothing but the transfer and its part file.
DWORD WINAPI RunTransfer(void* parameter) noexcept {
  const std::unique_ptr<std::shared_ptr<Transfer>> transfer(static_cast<std::shared_ptr<Transfer>*>(parameter));
  HRESULT result = E_UNEXPECTED;
  try {
    result = Fetch(*transfer);
  } catch (...) {
    // Out of memory: the caller learns of it as a failed download.
  }
  (*transfer)->result = result;
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
    // Progress: the stall limit starts again. Anything else is a stall (or a
    // failed wait): the thread is left to end whenever its server lets go.
    if (woken != WAIT_OBJECT_0 + 1) return INET_E_CONNECTION_TIMEOUT;
  }

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
