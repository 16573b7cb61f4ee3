// Command lines as Windows passes them between processes. A host process receives only its
// argv; CreateProcessW hands the child the line it was given in the environment value
// kCommandLineVariable, and the child's GetCommandLineW answers that line when its words are
// the child's own arguments (a value inherited by a program started some other way does not
// match and is ignored).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zx::cmdline {

inline constexpr const char* kCommandLineVariable = "ZX_COMMAND_LINE";

// Splits a command line as Windows does: blanks separate words outside quotes; 2n backslashes
// before a quote give n and the quote toggles quoting, 2n+1 give n and a quote.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);
// One argument as a command line's word that SplitCommandLine gives back unchanged: quoted
// when empty or holding blanks or quotes, backslashes doubled only before a quote.
std::u16string QuoteArgument(std::u16string_view argument);

// The line a child gets in kCommandLineVariable (UTF-8), and the check the child makes: the
// recorded line stands for arguments (argv[1...], UTF-8) when its words after the first are
// exactly those arguments.
bool RecordedLineMatches(std::u16string_view line, const std::vector<std::string>& arguments);

}  // namespace zx::cmdline
