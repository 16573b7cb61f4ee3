// The resource script's tokens.
#include "lexer.h"

#include <cctype>

namespace zx::rc {
namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, unsigned value) {
  if (value < 0x80) {
    out.push_back(static_cast<char>(value));
  } else if (value < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (value >> 6)));
    out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (value >> 12)));
    out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
  }
}

}  // namespace

Lexer::Lexer(std::string source, std::string fileName)
    : source_(std::move(source)), fileName_(std::move(fileName)) {}

void Lexer::Fail(const std::string& message) const {
  throw CompileError(fileName_ + ":" + std::to_string(line_) + ": " + message);
}

void Lexer::FailAt(const Token& token, const std::string& message) const {
  throw CompileError(fileName_ + ":" + std::to_string(token.line) + ": " + message);
}

const Token& Lexer::Peek() {
  if (!peeked_) {
    next_ = Scan();
    peeked_ = true;
  }
  return next_;
}

Token Lexer::Next() {
  if (peeked_) {
    peeked_ = false;
    return next_;
  }
  return Scan();
}

Token Lexer::Scan() {
  // Blanks and comments.
  for (;;) {
    while (at_ < source_.size() && std::isspace(static_cast<unsigned char>(source_[at_]))) {
      if (source_[at_] == '\n') ++line_;
      ++at_;
    }
    if (source_.compare(at_, 2, "//") == 0) {
      while (at_ < source_.size() && source_[at_] != '\n') ++at_;
    } else if (source_.compare(at_, 2, "/*") == 0) {
      const std::size_t end = source_.find("*/", at_ + 2);
      if (end == std::string::npos) Fail("a comment is not closed");
      for (std::size_t i = at_; i < end; ++i) line_ += source_[i] == '\n';
      at_ = end + 2;
    } else {
      break;
    }
  }
  Token t;
  t.line = line_;
  if (at_ >= source_.size()) return t;
  const char c = source_[at_];
  auto single = [&](Token::Kind kind) {
    ++at_;
    t.kind = kind;
    return t;
  };
  switch (c) {
    case ',': return single(Token::Kind::Comma);
    case '|': return single(Token::Kind::Bar);
    case '+': return single(Token::Kind::Plus);
    case '-': return single(Token::Kind::Minus);
    case '(': return single(Token::Kind::Open);
    case ')': return single(Token::Kind::Close);
    case '{': return single(Token::Kind::Begin);
    case '}': return single(Token::Kind::Finish);
    default: break;
  }
  if (IsWordStart(c)) {
    const std::size_t start = at_;
    while (at_ < source_.size() && IsWordPart(source_[at_])) ++at_;
    t.text = source_.substr(start, at_ - start);
    t.kind = t.text == "BEGIN" ? Token::Kind::Begin : t.text == "END" ? Token::Kind::Finish : Token::Kind::Word;
    return t;
  }
  if (std::isdigit(static_cast<unsigned char>(c))) {
    t.kind = Token::Kind::Number;
    unsigned long long value = 0;
    const bool hex = source_.compare(at_, 2, "0x") == 0 || source_.compare(at_, 2, "0X") == 0;
    if (hex) {
      at_ += 2;
      if (at_ >= source_.size() || HexValue(source_[at_]) < 0) Fail("a hexadecimal number has no digits");
      while (at_ < source_.size() && HexValue(source_[at_]) >= 0) {
        value = value * 16 + static_cast<unsigned>(HexValue(source_[at_++]));
        if (value > 0xFFFFFFFFull) Fail("a number is larger than 32 bits");
      }
    } else {
      while (at_ < source_.size() && std::isdigit(static_cast<unsigned char>(source_[at_]))) {
        value = value * 10 + static_cast<unsigned>(source_[at_++] - '0');
        if (value > 0xFFFFFFFFull) Fail("a number is larger than 32 bits");
      }
    }
    while (at_ < source_.size() && (source_[at_] == 'L' || source_[at_] == 'l' ||
                                    source_[at_] == 'U' || source_[at_] == 'u')) {
      if (source_[at_] == 'L' || source_[at_] == 'l') t.wide = true;
      ++at_;
    }
    if (at_ < source_.size() && IsWordPart(source_[at_])) Fail("a number runs into a word");
    t.number = static_cast<long long>(value);
    return t;
  }
  if (c == '"') {
    t.kind = Token::Kind::String;
    ++at_;
    for (;;) {
      if (at_ >= source_.size() || source_[at_] == '\n') Fail("a string is not closed on its line");
      const char d = source_[at_++];
      if (d == '"') {
        if (at_ < source_.size() && source_[at_] == '"') {
          t.text.push_back('"');
          ++at_;
          continue;
        }
        return t;
      }
      if (d != '\\') {
        t.text.push_back(d);
        continue;
      }
      if (at_ >= source_.size()) Fail("a string ends in the middle of an escape");
      const char e = source_[at_++];
      switch (e) {
        case '\\': t.text.push_back('\\'); break;
        case '"': t.text.push_back('"'); break;
        case 'n': t.text.push_back('\n'); break;
        case 'r': t.text.push_back('\r'); break;
        case 't': t.text.push_back('\t'); break;
        case '0': t.text.push_back('\0'); break;
        case 'x': {
          unsigned value = 0;
          int digits = 0;
          while (digits < 4 && at_ < source_.size() && HexValue(source_[at_]) >= 0) {
            value = value * 16 + static_cast<unsigned>(HexValue(source_[at_++]));
            ++digits;
          }
          if (digits == 0) Fail("\\x in a string has no digits");
          AppendUtf8(t.text, value);
          break;
        }
        default: Fail(std::string("unknown escape \\") + e + " in a string");
      }
    }
  }
  Fail(std::string("unexpected character '") + c + "'");
}

}  // namespace zx::rc
