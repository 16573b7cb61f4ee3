// WQL: the SELECT queries the platform answers, parsed into a class, the selected properties
// and a condition, and the test of that condition against an instance.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "classes.h"

namespace zx::wmi {

enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, IsNull, IsNotNull };

struct Literal {
  enum class Kind { Null, Text, Number, Boolean } kind = Kind::Null;
  std::string text;  // text, or the digits of a number with its sign
  bool boolean = false;
};

struct Condition {
  enum class Kind { Or, And, Not, Compare } kind = Kind::Compare;
  std::vector<Condition> operands;  // Or, And: two or more; Not: one
  int property = -1;                // Compare: index in the class
  Op op = Op::Equal;
  Literal literal;
};

struct Query {
  const ClassInfo* info = nullptr;
  std::vector<int> selected;  // property indexes in query order; every property for "*"
  std::optional<Condition> where;
};

// WBEM_S_NO_ERROR, WBEM_E_INVALID_CLASS for a class the platform lacks, WBEM_E_INVALID_QUERY
// for anything else it cannot read (including conditions nested more than 32 deep).
HRESULT ParseQuery(const std::string& text, Query& query);

bool Matches(const Condition& condition, const ClassInfo& info, const Instance& instance);

}  // namespace zx::wmi
