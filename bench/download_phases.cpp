// Where the time of a download through the URL download service goes, beside
// plainer fetches of the same address in the same process:
//   bench_download_phases URL FOLDER
// Prints one line per figure, "<name> <milliseconds>":
//   service-answer    URLDownloadToFileA: from the call to the server's answer
//   service-transfer  from the answer to the last byte, which the service
//                     writes into its internet cache file
//   service-copy      from the last byte to the end of the binding: the
//                     service copies its cache file onto the target
//   service-total     the whole call
//   wininet-8k-cache  the same address read with WinINet in 8 KiB pieces (the
//                     size urlmon reads in), its cache file written
//   wininet-8k        the same without a cache file
//   wininet-64k       64 KiB pieces without a cache file
//   copy              CopyFileA of the downloaded file
// The WinINet reads keep no copy of their own; every cache entry of the
// address is removed before and after each fetch.
#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

double Milliseconds() {
  static const double perMillisecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMillisecond;
}

void Print(const char* name, double milliseconds) { std::printf("%s %.0f\n", name, milliseconds); }

// Notes when the service's steps happen. It lives on the stack of the call it
// watches (reference counting is not needed); its methods only read the
// clock and cannot throw.
class PhaseWatch final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  double answered = 0;
  double lastByte = 0;
  double stopped = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) noexcept override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
      *object = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
      *object = static_cast<IHttpNegotiate*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG status, LPCWSTR) noexcept override {
    if (status == BINDSTATUS_ENDDOWNLOADDATA) lastByte = Milliseconds();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) noexcept override {
    stopped = Milliseconds();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) noexcept override { return S_OK; }

  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* headers) noexcept override {
    *headers = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD, LPCWSTR, LPCWSTR, LPWSTR* headers) noexcept override {
    if (answered == 0) answered = Milliseconds();
    if (headers != nullptr) *headers = nullptr;
    return S_OK;
  }
};

bool TimeService(const char* url, const std::string& target) {
  PhaseWatch watch;
  const double start = Milliseconds();
  const HRESULT result = URLDownloadToFileA(nullptr, url, target.c_str(), 0, &watch);
  const double end = Milliseconds();
  if (FAILED(result) || watch.answered == 0 || watch.lastByte == 0 || watch.stopped == 0) {
    std::fprintf(stderr, "the URL download service failed: 0x%08lx\n", static_cast<unsigned long>(result));
    return false;
  }
  Print("service-answer", watch.answered - start);
  Print("service-transfer", watch.lastByte - watch.answered);
  Print("service-copy", watch.stopped - watch.lastByte);
  Print("service-total", end - start);
  return true;
}

struct InternetCloser {
  void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Reads the whole body in pieces of `piece` bytes and drops them.
bool TimeWinInet(const char* name, const char* url, DWORD piece, bool writeCache) {
  const double start = Milliseconds();
  const InternetHandle session(InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  const DWORD flags = INTERNET_FLAG_RELOAD | (writeCache ? 0 : INTERNET_FLAG_NO_CACHE_WRITE);
  const InternetHandle request(InternetOpenUrlA(session.get(), url, nullptr, 0, flags, 0));
  if (!request) return false;
  std::vector<char> buffer(piece);
  DWORD read = 0;
  while (InternetReadFile(request.get(), buffer.data(), piece, &read) && read != 0) {
  }
  Print(name, Milliseconds() - start);
  return true;
}

bool TimeCopy(const std::string& from, const std::string& to) {
  const double start = Milliseconds();
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
  Print("copy", Milliseconds() - start);
  DeleteFileA(to.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_download_phases URL FOLDER\n");
    return 2;
  }
  const char* url = argv[1];
  const std::string folder = std::string(argv[2]) + "\\";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = true;
  DeleteUrlCacheEntryA(url);  // none may be there: the result does not matter
  ok = ok && TimeService(url, folder + "service.bin");
  DeleteUrlCacheEntryA(url);
  ok = ok && TimeWinInet("wininet-8k-cache", url, 8 * 1024, true);
  DeleteUrlCacheEntryA(url);
  ok = ok && TimeWinInet("wininet-8k", url, 8 * 1024, false);
  ok = ok && TimeWinInet("wininet-64k", url, 64 * 1024, false);
  ok = ok && TimeCopy(folder + "service.bin", folder + "copy.bin");
  DeleteFileA((folder + "service.bin").c_str());
  CoUninitialize();
  if (!ok) std::fprintf(stderr, "a fetch failed\n");
  return ok ? 0 : 1;
}
