// Tokens of the resource script (the compiler's input): words, numbers (decimal or 0x hex,
// an L suffix marks 32-bit values), double-quoted strings (UTF-8; escapes \\ \" \n \r \t
// \0 \xHH, and "" for a quote), punctuation, "//" and "/* */" comments. BEGIN and END are
// the same as { and }.
#pragma once
#include <stdexcept>
#include <string>

namespace zx::rc {

// A mistake in the script: where and what.
class CompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Token {
  enum class Kind { End, Word, Number, String, Comma, Bar, Plus, Minus, Open, Close, Begin, Finish };
  Kind kind = Kind::End;
  std::string text;  // word (upper case kept as written) or string contents
  long long number = 0;
  bool wide = false;  // number with an L suffix
  int line = 0;
};

class Lexer {
 public:
  Lexer(std::string source, std::string fileName);
  Token Next();
  const Token& Peek();
  // Errors name the file and the line of the token at hand.
  [[noreturn]] void Fail(const std::string& message) const;
  [[noreturn]] void FailAt(const Token& token, const std::string& message) const;
  const std::string& fileName() const { return fileName_; }

 private:
  Token Scan();
  std::string source_;
  std::string fileName_;
  std::size_t at_ = 0;
  int line_ = 1;
  bool peeked_ = false;
  Token next_;
};

}  // namespace zx::rc
