// Makes the test run's own certificate authority trusted in the Wine prefix
// it runs in (the local machine's "Root" store), so that the loopback https
// server's certificates pass the system's checks there and nowhere else.
// Authorities of earlier runs (the same subject) go first.
//   test_trust_authority.exe AUTHORITY.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: test_trust_authority AUTHORITY.der\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  PCCERT_CONTEXT authority = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
  if (authority == nullptr) {
    std::fprintf(stderr, "%s is no certificate (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  // The registry's store itself, not the system store that gathers it with
  // others: under Wine only its changes last.
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  if (store == nullptr) {
    std::fprintf(stderr, "the Root store does not open (error %lu)\n", GetLastError());
    return 1;
  }
  // Wine's chain of trust takes the first authority of the issuer's name, so
  // none of an earlier run may stay. Found first, deleted afterwards.
  std::vector<PCCERT_CONTEXT> earlier;
  for (PCCERT_CONTEXT found = nullptr; (found = CertEnumCertificatesInStore(store, found)) != nullptr;) {
    if (CertCompareCertificateName(X509_ASN_ENCODING, &found->pCertInfo->Subject, &authority->pCertInfo->Subject)) {
      earlier.push_back(CertDuplicateCertificateContext(found));
    }
  }
  for (PCCERT_CONTEXT certificate : earlier) CertDeleteCertificateFromStore(certificate);
  const bool added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                                     CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  if (added) {
    std::printf("trusted in this prefix, in place of %u earlier authorities of that name\n",
                static_cast<unsigned>(earlier.size()));
  } else {
    std::fprintf(stderr, "the authority was not added (error %lu)\n", GetLastError());
  }
  CertFreeCertificateContext(authority);
  CertCloseStore(store, 0);
  return added ? 0 : 1;
}
