// IEnumWbemClassObject over the objects of one query.
#include <mutex>

#include "objects.h"
#include "zx/com.h"

namespace zx::wmi {
namespace {

bool ValidTimeout(LONG timeout) { return timeout >= 0 || timeout == WBEM_INFINITE; }

class Enumerator final : public com::Object<IEnumWbemClassObject> {
 public:
  Enumerator(std::shared_ptr<const QueryResult> result, bool forwardOnly)
      : Object(IID_IEnumWbemClassObject), result_(std::move(result)), forwardOnly_(forwardOnly) {}

  HRESULT Reset() override {
    if (forwardOnly_) return WBEM_E_INVALID_OPERATION;
    std::lock_guard<std::mutex> guard(lock_);
    next_ = 0;
    return WBEM_S_NO_ERROR;
  }

  HRESULT Next(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) override {
    if (!objects || !returned || !ValidTimeout(timeout)) return WBEM_E_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(lock_);
    ULONG n = 0;
    for (; n < count && next_ < result_->rows.size(); ++n) objects[n] = NewClassObject(result_, next_++);
    *returned = n;
    return n == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
  }

  HRESULT Skip(LONG timeout, ULONG count) override {
    if (!ValidTimeout(timeout)) return WBEM_E_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(lock_);
    const std::size_t left = result_->rows.size() - next_;
    next_ += std::min<std::size_t>(count, left);
    return count <= left ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
  }

 private:
  const std::shared_ptr<const QueryResult> result_;
  const bool forwardOnly_;
  std::mutex lock_;
  std::size_t next_ = 0;
};

}  // namespace

IEnumWbemClassObject* NewEnumerator(std::shared_ptr<const QueryResult> result, bool forwardOnly) {
  return new Enumerator(std::move(result), forwardOnly);
}

}  // namespace zx::wmi
