// IWbemClassObject: one object of a query result.
#include "objects.h"
#include "text.h"
#include "values.h"
#include "zx/com.h"

namespace zx::wmi {
namespace {

class ClassObject final : public com::Object<IWbemClassObject> {
 public:
  ClassObject(std::shared_ptr<const QueryResult> result, std::size_t row)
      : Object(IID_IWbemClassObject), result_(std::move(result)), row_(row) {}

  HRESULT Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG* flavor) override {
    if (!name) return WBEM_E_INVALID_PARAMETER;
    std::size_t length = 0;
    while (name[length]) ++length;
    const std::string wanted = ToUtf8(name, length);
    const ClassInfo& info = *result_->info;
    Value found;
    CIMTYPE foundType = CIM_STRING;
    if (SameName(wanted, "__CLASS")) {
      found = std::string(info.name);
    } else {
      const int index = FindProperty(info, wanted);
      if (index < 0 || !Selected(index)) return WBEM_E_NOT_FOUND;
      found = result_->rows[row_][static_cast<std::size_t>(index)];
      foundType = info.properties[static_cast<std::size_t>(index)].type;
    }
    if (value) {
      if (const HRESULT made = ToVariant(found, foundType, value); FAILED(made)) return made;
    }
    if (type) *type = foundType;
    if (flavor) *flavor = 0;
    return WBEM_S_NO_ERROR;
  }

 private:
  bool Selected(int index) const {
    for (int selected : result_->selected)
      if (selected == index) return true;
    return false;
  }

  const std::shared_ptr<const QueryResult> result_;
  const std::size_t row_;
};

}  // namespace

IWbemClassObject* NewClassObject(std::shared_ptr<const QueryResult> result, std::size_t row) {
  return new ClassObject(std::move(result), row);
}

}  // namespace zx::wmi
