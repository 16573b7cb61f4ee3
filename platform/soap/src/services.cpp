// The operations of the update and misc services, with their parts in wire order.
#include "zx/soapservices.h"

namespace zx::soap {
namespace {

const PartDescription kInput{"input", PartType::String};
const PartDescription kInputEncrypted{"b_isInputEncrypted", PartType::Boolean};
const PartDescription kOutputEncrypted{"b_useOutputEncrypted", PartType::Boolean};
const PartDescription kFileName{"filename", PartType::String};

}  // namespace

const OperationDescription& GetUpdateInfoOperation() {
  static const OperationDescription operation{"GetUpdateInfo", {kInput}, "GetUpdateInfoResult"};
  return operation;
}

const OperationDescription& GetUpdateInfoWithEncryptOptionsOperation() {
  static const OperationDescription operation{"GetUpdateInfoWithEncryptOptions",
                                              {kInput, kInputEncrypted, kOutputEncrypted},
                                              "GetUpdateInfoWithEncryptOptionsResult"};
  return operation;
}

const OperationDescription& GetDownloadInformationWithEncryptOptionsOperation() {
  static const OperationDescription operation{"GetDownloadInformationWithEncryptOptions",
                                              {kInput, kInputEncrypted, kOutputEncrypted},
                                              "GetDownloadInformationWithEncryptOptionsResult"};
  return operation;
}

const OperationDescription& UploadFileOperation() {
  static const OperationDescription operation{
      "UploadFile", {{"buffer", PartType::Base64Binary}}, "UploadFileResult"};
  return operation;
}

const OperationDescription& MsUploadFeedbackOperation() {
  static const OperationDescription operation{"MS_UploadFeedback", {kInput, kFileName},
                                              "MS_UploadFeedbackResult"};
  return operation;
}

const OperationDescription& UploadFeedbackOperation() {
  static const OperationDescription operation{"UploadFeedback", {kInput, kFileName},
                                              "UploadFeedbackResult"};
  return operation;
}

}  // namespace zx::soap
