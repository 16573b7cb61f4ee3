// Client proxy of the maker's misc service: uploads of files and feedback documents. Built
// over either transport of atlsoap.h; the socket client by default.
#pragma once
#include "atlsoap.h"
#include "zx/soapservices.h"

namespace MiscService {

template <class TClient = CSoapSocketClientT<>>
class CMiscServiceT : public TClient {
 public:
  explicit CMiscServiceT(LPCWSTR url = zx::soap::kMiscServiceUrl) : TClient(url) {}

  HRESULT UploadFile(ATLSOAP_BLOB buffer, BSTR* UploadFileResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::Bytes(buffer)};
    return this->CallOperation(zx::soap::kServiceNamespace, zx::soap::UploadFileOperation(), parts, 1,
                               UploadFileResult);
  }

  HRESULT MS_UploadFeedback(BSTR input, BSTR filename, BSTR* MS_UploadFeedbackResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::String(input),
                                         zx::soap::PartValue::String(filename)};
    return this->CallOperation(zx::soap::kServiceNamespace, zx::soap::MsUploadFeedbackOperation(),
                               parts, 2, MS_UploadFeedbackResult);
  }

  HRESULT UploadFeedback(BSTR input, BSTR filename, BSTR* UploadFeedbackResult) {
    const zx::soap::PartValue parts[] = {zx::soap::PartValue::String(input),
                                         zx::soap::PartValue::String(filename)};
    return this->CallOperation(zx::soap::kServiceNamespace, zx::soap::UploadFeedbackOperation(),
                               parts, 2, UploadFeedbackResult);
  }
};

using CMiscService = CMiscServiceT<>;

}  // namespace MiscService
