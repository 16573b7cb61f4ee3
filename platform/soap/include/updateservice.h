// Client proxy of the maker's update service: the scan exchange and the download information
// of one driver. Built over either transport of atlsoap.h; the socket client by default.
#pragma once
#include "atlsoap.h"
#include "zx/soapservices.h"

namespace UpdateService {

template <class TClient = CSoapSocketClientT<>>
class CUpdateServiceT : public TClient {
 public:
  explicit CUpdateServiceT(LPCWSTR url = zx::soap::kUpdateServiceUrl) : TClient(url) {}

  HRESULT GetUpdateInfo(BSTR input, BSTR* GetUpdateInfoResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::String(input)};
    return this->CallOperation(zx::soap::kServiceNamespace, zx::soap::GetUpdateInfoOperation(), parts,
                               1, GetUpdateInfoResult);
  }

  HRESULT GetUpdateInfoWithEncryptOptions(BSTR input, bool b_isInputEncrypted,
                                          bool b_useOutputEncrypted,
                                          BSTR* GetUpdateInfoWithEncryptOptionsResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::String(input),
                                         zx::soap::PartValue::Boolean(b_isInputEncrypted),
                                         zx::soap::PartValue::Boolean(b_useOutputEncrypted)};
    return this->CallOperation(zx::soap::kServiceNamespace,
                               zx::soap::GetUpdateInfoWithEncryptOptionsOperation(), parts, 3,
                               GetUpdateInfoWithEncryptOptionsResult);
  }

  HRESULT GetDownloadInformationWithEncryptOptions(
      BSTR input, bool b_isInputEncrypted, bool b_useOutputEncrypted,
      BSTR* GetDownloadInformationWithEncryptOptionsResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::String(input),
                                         zx::soap::PartValue::Boolean(b_isInputEncrypted),
                                         zx::soap::PartValue::Boolean(b_useOutputEncrypted)};
    return this->CallOperation(zx::soap::kServiceNamespace,
                               zx::soap::GetDownloadInformationWithEncryptOptionsOperation(), parts,
                               3, GetDownloadInformationWithEncryptOptionsResult);
  }
};

using CUpdateService = CUpdateServiceT<>;

}  // namespace UpdateService
