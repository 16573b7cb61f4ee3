// The maker's two web services as their clients and the loopback stand-in see them: the
// namespace, the default addresses and the operations the system calls, with their parts in
// wire order. Platform-internal.
#pragma once
#include "zx/soapwire.h"

namespace zx::soap {

inline constexpr const char* kServiceNamespace = "http://update.zephrin-tunevo.example/webservices/";
inline constexpr const char16_t* kUpdateServiceUrl =
    u"http://update.zephrin-tunevo.example/updateservice/updateservice.asmx";
inline constexpr const char16_t* kMiscServiceUrl =
    u"http://update.zephrin-tunevo.example/miscservice/miscservice.asmx";

// The update service.
const OperationDescription& GetUpdateInfoOperation();
const OperationDescription& GetUpdateInfoWithEncryptOptionsOperation();
const OperationDescription& GetDownloadInformationWithEncryptOptionsOperation();
// The misc service.
const OperationDescription& UploadFileOperation();
const OperationDescription& MsUploadFeedbackOperation();
const OperationDescription& UploadFeedbackOperation();

}  // namespace zx::soap
