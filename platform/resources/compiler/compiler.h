// The resource compiler's shared state and the statement compilers (one file each).
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lexer.h"
#include "zx/resfile.h"

namespace zx::rc {

// Strings of the STRINGTABLE statements by language and id.
using StringKey = std::pair<WORD, WORD>;

struct Context {
  Context(Lexer& lexer, std::vector<std::string> folders)
      : lexer(lexer), searchFolders(std::move(folders)) {}
  Lexer& lexer;
  std::vector<std::string> searchFolders;  // the script's folder first
  std::vector<std::string> dependencies;   // files read, for the build's dependency list
  std::vector<res::ResourceInput> resources;
  WORD language = res::kDefaultLanguage;
  WORD nextIconImage = 1;
  WORD nextCursorImage = 1;
  std::map<StringKey, std::u16string> strings;

  void Add(res::ResourceId type, res::ResourceId name, std::vector<BYTE> data);
  // The bytes of a file named by the script, looked up in the search folders.
  std::vector<BYTE> ReadFile(const Token& where, const std::string& name);
};

// Token helpers.
Token Expect(Lexer& lexer, Token::Kind kind, const char* what);
bool Accept(Lexer& lexer, Token::Kind kind);
bool AcceptWord(Lexer& lexer, const char* word);
// A value: numbers and symbols joined by | and +, NOT to clear bits, - to negate.
long long Expression(Lexer& lexer, long long initial = 0);
std::u16string ToUtf16(const Token& where, Lexer& lexer, const std::string& utf8);
std::u16string UpperName(const std::string& text);
// A resource name or number: number, word or string.
res::ResourceId NameOrNumber(Lexer& lexer, const Token& token);
// The value of a style, flag or language symbol; false when unknown.
bool Symbol(const std::string& name, long long& value);

void CompileDialog(Context& context, const res::ResourceId& name);
void CompileMenu(Context& context, const res::ResourceId& name);
void CompileToolbar(Context& context, const res::ResourceId& name);
void CompileVersion(Context& context, const res::ResourceId& name);
void CompileStringTable(Context& context);
// ICON and CURSOR files: the images and their directory.
void CompileIconFile(Context& context, const res::ResourceId& name, bool cursor, const Token& file);

// The whole script into resources; throws CompileError.
void CompileScript(Context& context);

}  // namespace zx::rc
