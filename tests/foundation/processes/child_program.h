// A copy of the test child program under a name of its own, so that tests which find or end
// programs by name never touch the children of tests running beside them.
#pragma once
#include <windows.h>
#include <winprocess.h>

#include <string>
#include <vector>

class ChildProgram {
 public:
  // Copies the child into hostFolder (the program folder by default) as "zxchild<pid>_<n>".
  explicit ChildProgram(const std::string& hostFolder = "");
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // The name a process list gives it: "<name>.exe" in the program folder, else "<name>".
  const std::u16string& Name() const { return name_; }
  // Starts a copy that waits until it is ended; answers its process (ended and closed with
  // this object).
  PROCESS_INFORMATION Start();

 private:
  std::string path_;
  std::u16string name_;
  std::vector<HANDLE> started_;
};
