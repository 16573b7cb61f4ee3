// The WMI classes the platform serves: their properties with CIM types, and their instances
// as text values (the host's hardware with the machine profile applied).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "wbemcli.h"

namespace zx::wmi {

struct Property {
  const char* name;
  CIMTYPE type;
};

// UTF-8 text of a value; nothing stands for NULL.
using Value = std::optional<std::string>;
// One value per property of the class, in the class's order.
using Instance = std::vector<Value>;

struct ClassInfo;
using HostReader = std::vector<Instance> (*)(const ClassInfo& info);

struct ClassInfo {
  const char* name;
  std::vector<Property> properties;
  HostReader readHost;
};

bool SameName(const std::string& a, const std::string& b);
// The class of that name (any case), or null.
const ClassInfo* FindClass(const std::string& name);
// The index of the property (any case) in the class, or -1.
int FindProperty(const ClassInfo& info, const std::string& name);
// The instances as the machine shows them: the host's, with the machine profile applied.
std::vector<Instance> ReadInstances(const ClassInfo& info);

// Fills an instance by property name, for the host readers.
class InstanceBuilder {
 public:
  explicit InstanceBuilder(const ClassInfo& info) : info_(info), values_(info.properties.size()) {}
  // Sets a property the class declares (a name it lacks is a programming error, ignored).
  void Set(const char* name, Value value);
  Instance Take() { return std::move(values_); }

 private:
  const ClassInfo& info_;
  Instance values_;
};

}  // namespace zx::wmi
