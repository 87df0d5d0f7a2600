// URLDownloadToFileA with the checks its result lacks.
#pragma once

#include <string>

namespace platform::win32 {

// Downloads `url` into the file `path`; 0 (S_OK) on success, else an HRESULT.
//
// URLDownloadToFileA by itself reports success for an HTTP error page (the
// page becomes the file) and, under Wine, for a body the server cut short.
// A status callback sees the server's final status code and the byte counts,
// so both become failures here (INET_E_DOWNLOAD_FAILURE), and the page or the
// partial body that the download left at `path` is deleted: a failed download
// leaves no file of the target's name behind, as on Windows.
long DownloadUrlToFile(const std::string& url, const std::string& path);

}  // namespace platform::win32
