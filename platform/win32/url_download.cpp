#include "platform/win32/url_download.h"

// clang-format off
#include <windows.h>
#include <urlmon.h>
// clang-format on

namespace platform::win32 {

namespace {

// Watches one download: the server's final status code and how many of the
// announced bytes arrived. Heap-allocated and reference-counted, as COM wants.
class DownloadWatch final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  DWORD statusCode = 0;  // 0: no HTTP response (another scheme, or no answer)
  ULONG received = 0;
  ULONG announced = 0;  // 0: the length was not announced

  bool CutShort() const { return announced != 0 && received < announced; }
  bool ServerRefused() const { return statusCode >= 400; }

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
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG status, LPCWSTR) override {
    if (status == BINDSTATUS_DOWNLOADINGDATA || status == BINDSTATUS_ENDDOWNLOADDATA) {
      received = progress;
      announced = progressMax;
    }
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
    statusCode = responseCode;  // the last one counts: redirects come before it
    if (additionalHeaders != nullptr) *additionalHeaders = nullptr;
    return S_OK;
  }

 private:
  ~DownloadWatch() = default;
  LONG references_ = 1;
};

}  // namespace

long DownloadUrlToFile(const std::string& url, const std::string& path) {
  auto* watch = new DownloadWatch;
  HRESULT result = URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, watch);
  if (SUCCEEDED(result) && (watch->ServerRefused() || watch->CutShort())) {
    DeleteFileA(path.c_str());  // the error page or the partial body
    result = INET_E_DOWNLOAD_FAILURE;
  }
  watch->Release();
  return result;
}

}  // namespace platform::win32
