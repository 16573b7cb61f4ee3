// WQL SELECT parser (a tokenizer and a recursive-descent reader with a depth limit) and the
// evaluation of its conditions. Keywords and names are compared without regard to case, and
// so are texts, as WMI compares them.
#include "wql.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace zx::wmi {
namespace {

constexpr int kMaxDepth = 32;

struct Token {
  enum class Kind { Word, Text, Number, Symbol, End } kind = Kind::End;
  std::string text;
};

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool Tokenize(const std::string& text, std::vector<Token>& tokens) {
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (IsWordStart(c)) {
      std::size_t end = i;
      while (end < text.size() && IsWordChar(text[end])) ++end;
      tokens.push_back({Token::Kind::Word, text.substr(i, end - i)});
      i = end;
    } else if (IsDigit(c) || ((c == '-' || c == '+') && i + 1 < text.size() && IsDigit(text[i + 1]))) {
      std::size_t end = i + 1;
      while (end < text.size() && IsDigit(text[end])) ++end;
      tokens.push_back({Token::Kind::Number, text.substr(i, end - i)});
      i = end;
    } else if (c == '\'' || c == '"') {
      std::string value;
      std::size_t at = i + 1;
      for (; at < text.size() && text[at] != c; ++at) {
        if (text[at] == '\\' && at + 1 < text.size()) ++at;
        value += text[at];
      }
      if (at >= text.size()) return false;  // not closed
      tokens.push_back({Token::Kind::Text, value});
      i = at + 1;
    } else {
      static const char* const kSymbols[] = {"<>", "!=", "<=", ">=", "=", "<", ">", "*", ",", "(", ")"};
      const char* found = nullptr;
      for (const char* symbol : kSymbols)
        if (text.compare(i, std::char_traits<char>::length(symbol), symbol) == 0) {
          found = symbol;
          break;
        }
      if (!found) return false;
      tokens.push_back({Token::Kind::Symbol, found});
      i += std::char_traits<char>::length(found);
    }
  }
  tokens.push_back({});
  return true;
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, Query& query) : tokens_(std::move(tokens)), query_(query) {}

  HRESULT Parse() {
    if (!Keyword("SELECT")) return WBEM_E_INVALID_QUERY;
    std::vector<std::string> names;
    if (!Symbol("*")) {
      do {
        if (Peek().kind != Token::Kind::Word) return WBEM_E_INVALID_QUERY;
        names.push_back(Next().text);
      } while (Symbol(","));
    }
    if (!Keyword("FROM") || Peek().kind != Token::Kind::Word) return WBEM_E_INVALID_QUERY;
    query_.info = FindClass(Next().text);
    if (!query_.info) return WBEM_E_INVALID_CLASS;
    for (const std::string& name : names) {
      const int index = FindProperty(*query_.info, name);
      if (index < 0) return WBEM_E_INVALID_QUERY;
      query_.selected.push_back(index);
    }
    if (names.empty())
      for (std::size_t i = 0; i < query_.info->properties.size(); ++i) query_.selected.push_back(static_cast<int>(i));
    if (Keyword("WHERE")) {
      Condition condition;
      if (!ReadOr(condition, 0)) return WBEM_E_INVALID_QUERY;
      query_.where = std::move(condition);
    }
    return Peek().kind == Token::Kind::End ? WBEM_S_NO_ERROR : WBEM_E_INVALID_QUERY;
  }

 private:
  const Token& Peek() const { return tokens_[position_]; }
  // The current token; the position stays on the end token once there.
  const Token& Next() {
    const Token& token = tokens_[position_];
    if (position_ + 1 < tokens_.size()) ++position_;
    return token;
  }
  bool Keyword(const char* word) {
    if (Peek().kind != Token::Kind::Word || !SameName(Peek().text, word)) return false;
    Next();
    return true;
  }
  bool Symbol(const char* symbol) {
    if (Peek().kind != Token::Kind::Symbol || Peek().text != symbol) return false;
    Next();
    return true;
  }

  // Reads operands joined by the keyword into one condition of that kind. depth counts the
  // parentheses and NOTs around the operands.
  template <class ReadOperand>
  bool ReadJoined(Condition& out, int depth, const char* keyword, Condition::Kind kind, ReadOperand read) {
    if (!(this->*read)(out, depth)) return false;
    if (Peek().kind != Token::Kind::Word || !SameName(Peek().text, keyword)) return true;
    Condition joined;
    joined.kind = kind;
    joined.operands.push_back(std::move(out));
    while (Keyword(keyword)) {
      Condition operand;
      if (!(this->*read)(operand, depth)) return false;
      joined.operands.push_back(std::move(operand));
    }
    out = std::move(joined);
    return true;
  }
  bool ReadOr(Condition& out, int depth) { return ReadJoined(out, depth, "OR", Condition::Kind::Or, &Parser::ReadAnd); }
  bool ReadAnd(Condition& out, int depth) { return ReadJoined(out, depth, "AND", Condition::Kind::And, &Parser::ReadTerm); }

  bool ReadTerm(Condition& out, int depth) {
    if (depth > kMaxDepth) return false;
    if (Keyword("NOT")) {
      out.kind = Condition::Kind::Not;
      out.operands.emplace_back();
      return ReadTerm(out.operands.back(), depth + 1);
    }
    if (Symbol("(")) return ReadOr(out, depth + 1) && Symbol(")");
    return ReadComparison(out);
  }

  bool ReadComparison(Condition& out) {
    if (Peek().kind != Token::Kind::Word) return false;
    out.kind = Condition::Kind::Compare;
    out.property = FindProperty(*query_.info, Next().text);
    if (out.property < 0) return false;
    if (Keyword("IS")) {
      out.op = Keyword("NOT") ? Op::IsNotNull : Op::IsNull;
      return Keyword("NULL");
    }
    static const std::pair<const char*, Op> kOps[] = {
        {"=", Op::Equal},        {"<>", Op::NotEqual},      {"!=", Op::NotEqual},   {"<", Op::Less},
        {">", Op::Greater},      {"<=", Op::LessEqual},     {">=", Op::GreaterEqual}};
    bool found = false;
    for (const auto& [symbol, op] : kOps)
      if (!found && Symbol(symbol)) {
        out.op = op;
        found = true;
      }
    return found && ReadLiteral(out.literal);
  }

  bool ReadLiteral(Literal& literal) {
    const Token token = Next();
    switch (token.kind) {
      case Token::Kind::Text:
        literal.kind = Literal::Kind::Text;
        literal.text = token.text;
        return true;
      case Token::Kind::Number:
        literal.kind = Literal::Kind::Number;
        literal.text = token.text;
        return true;
      case Token::Kind::Word:
        if (SameName(token.text, "NULL")) {
          literal.kind = Literal::Kind::Null;
          return true;
        }
        if (SameName(token.text, "TRUE") || SameName(token.text, "FALSE")) {
          literal.kind = Literal::Kind::Boolean;
          literal.boolean = SameName(token.text, "TRUE");
          return true;
        }
        return false;
      default:
        return false;
    }
  }

  std::vector<Token> tokens_;
  std::size_t position_ = 0;
  Query& query_;
};

// A whole number with its sign, compared exactly over the full unsigned 64-bit range.
struct Number {
  bool negative = false;
  unsigned long long magnitude = 0;
};

std::optional<Number> ParseNumber(const std::string& text) {
  std::size_t at = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (at == text.size() || text.find_first_not_of("0123456789", at) != std::string::npos) return std::nullopt;
  errno = 0;
  const unsigned long long magnitude = std::strtoull(text.c_str() + at, nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return Number{text[0] == '-' && magnitude != 0, magnitude};
}

int Compare(const Number& a, const Number& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  const int order = a.magnitude < b.magnitude ? -1 : (a.magnitude > b.magnitude ? 1 : 0);
  return a.negative ? -order : order;
}

int CompareText(const std::string& a, const std::string& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int x = std::tolower(static_cast<unsigned char>(a[i]));
    const int y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The order of a value against a literal; nothing when the two cannot be compared.
std::optional<int> Order(const std::string& value, CIMTYPE type, const Literal& literal) {
  switch (type) {
    case CIM_BOOLEAN: {
      const bool own = SameName(value, "TRUE");
      bool other = literal.boolean;
      if (literal.kind == Literal::Kind::Number) {
        const auto n = ParseNumber(literal.text);
        if (!n) return std::nullopt;
        other = n->magnitude != 0;
      } else if (literal.kind != Literal::Kind::Boolean) {
        return std::nullopt;
      }
      return own == other ? 0 : (own ? 1 : -1);
    }
    case CIM_UINT16: case CIM_UINT32: case CIM_UINT64: {
      const auto own = ParseNumber(value);
      const auto other = ParseNumber(literal.text);
      if (!own || !other || literal.kind == Literal::Kind::Boolean) return std::nullopt;
      return Compare(*own, *other);
    }
    default:
      if (literal.kind != Literal::Kind::Text && literal.kind != Literal::Kind::Number) return std::nullopt;
      return CompareText(value, literal.text);
  }
}

bool Test(Op op, int order) {
  switch (op) {
    case Op::Equal: return order == 0;
    case Op::NotEqual: return order != 0;
    case Op::Less: return order < 0;
    case Op::Greater: return order > 0;
    case Op::LessEqual: return order <= 0;
    case Op::GreaterEqual: return order >= 0;
    default: return false;
  }
}

bool MatchesComparison(const Condition& condition, const ClassInfo& info, const Instance& instance) {
  const Value& value = instance[static_cast<std::size_t>(condition.property)];
  // "= NULL" and "<> NULL" read as IS NULL and IS NOT NULL, as WQL reads them.
  const bool nullTest = condition.op == Op::IsNull || condition.op == Op::IsNotNull ||
                        condition.literal.kind == Literal::Kind::Null;
  if (nullTest) {
    const bool wantsNull = condition.op == Op::IsNull || condition.op == Op::Equal;
    const bool wantsValue = condition.op == Op::IsNotNull || condition.op == Op::NotEqual;
    return value ? wantsValue : wantsNull;
  }
  if (!value) return false;
  const auto order = Order(*value, info.properties[static_cast<std::size_t>(condition.property)].type, condition.literal);
  return order && Test(condition.op, *order);
}

}  // namespace

HRESULT ParseQuery(const std::string& text, Query& query) {
  query = Query{};
  std::vector<Token> tokens;
  if (!Tokenize(text, tokens)) return WBEM_E_INVALID_QUERY;
  return Parser(std::move(tokens), query).Parse();
}

bool Matches(const Condition& condition, const ClassInfo& info, const Instance& instance) {
  switch (condition.kind) {
    case Condition::Kind::Or:
      for (const Condition& operand : condition.operands)
        if (Matches(operand, info, instance)) return true;
      return false;
    case Condition::Kind::And:
      for (const Condition& operand : condition.operands)
        if (!Matches(operand, info, instance)) return false;
      return true;
    case Condition::Kind::Not:
      return !Matches(condition.operands.front(), info, instance);
    case Condition::Kind::Compare:
      return MatchesComparison(condition, info, instance);
  }
  return false;
}

}  // namespace zx::wmi
