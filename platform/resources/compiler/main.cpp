// zxrc, the resource compiler: a module's resource script into its resource file.
//   zxrc SCRIPT -o FILE.res [-I FOLDER]... [--depfile FILE.d]
// Files the script names are looked up beside the script, then in the -I folders (the
// generated placeholder images). On any mistake it prints "script:line: what" and writes
// nothing; the resource file is written whole or not at all.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

#include "compiler.h"

namespace {

bool WriteWhole(const std::string& path, const char* data, std::size_t size) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

int Usage() {
  std::cerr << "usage: zxrc SCRIPT -o OUTPUT.res [-I FOLDER]... [--depfile FILE]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string script, output, depfile;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-o" || arg == "-I" || arg == "--depfile") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (arg == "-o") output = value;
      else if (arg == "-I") folders.push_back(value);
      else depfile = value;
    } else if (script.empty() && !arg.empty() && arg[0] != '-') {
      script = arg;
    } else {
      return Usage();
    }
  }
  if (script.empty() || output.empty()) return Usage();
  std::ifstream in(script, std::ios::binary);
  if (!in) {
    std::cerr << script << ": cannot be read\n";
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t slash = script.find_last_of('/');
  folders.insert(folders.begin(), slash == std::string::npos ? "." : script.substr(0, slash));

  zx::rc::Lexer lexer(source, script);
  zx::rc::Context context{lexer, folders};
  std::vector<BYTE> file;
  try {
    zx::rc::CompileScript(context);
    std::string error;
    if (!zx::res::WriteResourceFile(std::move(context.resources), file, error))
      throw zx::rc::CompileError(script + ": " + error);
    // The reader checks what the writer made, as a loading program will.
    if (!zx::res::ResourceFile::Parse(file, error))
      throw zx::rc::CompileError(script + ": the compiled file does not read back: " + error);
  } catch (const zx::rc::CompileError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  if (!WriteWhole(output, reinterpret_cast<const char*>(file.data()), file.size())) {
    std::cerr << output << ": cannot be written\n";
    return 1;
  }
  if (!depfile.empty()) {
    std::string rule = output + ":";
    for (const std::string& d : context.dependencies) rule += " " + d;
    rule += "\n";
    if (!WriteWhole(depfile, rule.data(), rule.size())) {
      std::cerr << depfile << ": cannot be written\n";
      return 1;
    }
  }
  return 0;
}
