// The COM objects of this component: the result of one query, its enumerator and class
// objects, and the namespace services.
#pragma once
#include <memory>

#include "classes.h"

namespace zx::wmi {

// The objects one query found: their class, the selected properties and their values.
struct QueryResult {
  const ClassInfo* info = nullptr;
  std::vector<int> selected;
  std::vector<Instance> rows;
};

IWbemClassObject* NewClassObject(std::shared_ptr<const QueryResult> result, std::size_t row);
IEnumWbemClassObject* NewEnumerator(std::shared_ptr<const QueryResult> result, bool forwardOnly);
IWbemServices* NewServices();

}  // namespace zx::wmi
