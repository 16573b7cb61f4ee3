// IWbemServices of root\cimv2: WQL queries over the machine's classes.
#include "objects.h"
#include "text.h"
#include "wql.h"
#include "zx/com.h"

namespace zx::wmi {
namespace {

std::string Utf8(const OLECHAR* text) {
  std::size_t length = 0;
  while (text[length]) ++length;
  return ToUtf8(text, length);
}

class Services final : public com::Object<IWbemServices> {
 public:
  Services() : Object(IID_IWbemServices) {}

  HRESULT ExecQuery(const BSTR language, const BSTR queryText, LONG flags, IWbemContext*,
                    IEnumWbemClassObject** enumerator) override {
    if (!enumerator || !queryText) return WBEM_E_INVALID_PARAMETER;
    *enumerator = nullptr;
    if (!language || !SameName(Utf8(language), "WQL")) return WBEM_E_INVALID_QUERY_TYPE;
    Query query;
    if (const HRESULT parsed = ParseQuery(Utf8(queryText), query); FAILED(parsed)) return parsed;
    auto result = std::make_shared<QueryResult>();
    result->info = query.info;
    result->selected = query.selected;
    for (Instance& instance : ReadInstances(*query.info))
      if (!query.where || Matches(*query.where, *query.info, instance)) result->rows.push_back(std::move(instance));
    *enumerator = NewEnumerator(std::move(result), (flags & WBEM_FLAG_FORWARD_ONLY) != 0);
    return WBEM_S_NO_ERROR;
  }
};

}  // namespace

IWbemServices* NewServices() { return new Services(); }

}  // namespace zx::wmi
