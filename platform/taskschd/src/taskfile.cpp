// The text file of a registered task: a "[Task]" section of key=value lines, then one
// "[Trigger]" section per log-on trigger and one "[Action]" section per exec action. Values
// are UTF-8 with '%', CR and LF written as %25, %0D and %0A.
#include <charconv>
#include <map>
#include <sstream>

#include "stringapiset.h"
#include "taskdata.h"
#include "zx/jobfile.h"
#include "zx/pathmap.h"

namespace zx::taskschd {
namespace {

constexpr std::size_t kMaxFile = 1 << 20;

std::string Utf8(const std::u16string& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

bool Utf16(const std::string& text, std::u16string& out) {
  out.clear();
  if (text.empty()) return true;
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return false;
  out.resize(static_cast<std::size_t>(size));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), out.data(), size) == size;
}

std::string Escape(const std::u16string& value) {
  std::string out;
  for (char c : Utf8(value)) {
    if (c == '%') out += "%25";
    else if (c == '\r') out += "%0D";
    else if (c == '\n') out += "%0A";
    else out += c;
  }
  return out;
}

bool Unescape(const std::string& value, std::u16string& out) {
  std::string bytes;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      bytes += value[i];
      continue;
    }
    const std::string code = value.substr(i + 1, 2);
    if (code == "25") bytes += '%';
    else if (code == "0D") bytes += '\r';
    else if (code == "0A") bytes += '\n';
    else return false;
    i += 2;
  }
  return Utf16(bytes, out);
}

class Writer {
 public:
  void Section(const char* name) { out_ << '[' << name << "]\n"; }
  void Text(const char* key, const std::u16string& value) { out_ << key << '=' << Escape(value) << '\n'; }
  void Number(const char* key, int value) { out_ << key << '=' << value << '\n'; }
  std::string Done() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

// One section's values by key; each key of the section must be taken exactly once.
class Section {
 public:
  bool Add(const std::string& line) {
    const std::size_t equals = line.find('=');
    return equals != std::string::npos && values_.emplace(line.substr(0, equals), line.substr(equals + 1)).second;
  }
  bool Text(const char* key, std::u16string& value) {
    const auto found = values_.find(key);
    if (found == values_.end() || !Unescape(found->second, value)) return false;
    values_.erase(found);
    return true;
  }
  bool Number(const char* key, int low, int high, int& value) {
    const auto found = values_.find(key);
    if (found == values_.end()) return false;
    const std::string& text = found->second;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) return false;
    values_.erase(found);
    return true;
  }
  bool Flag(const char* key, bool& value) {
    int number = 0;
    if (!Number(key, 0, 1, number)) return false;
    value = number == 1;
    return true;
  }
  bool AllTaken() const { return values_.empty(); }

 private:
  std::map<std::string, std::string> values_;
};

bool ReadTask(Section& in, TaskData& task) {
  int logonType = 0, runLevel = 0;
  if (!in.Text("Author", task.author) || !in.Text("Description", task.description) ||
      !in.Text("UserId", task.userId) || !in.Text("GroupId", task.groupId) ||
      !in.Number("LogonType", TASK_LOGON_NONE, TASK_LOGON_INTERACTIVE_TOKEN_OR_PASSWORD, logonType) ||
      !in.Number("RunLevel", TASK_RUNLEVEL_LUA, TASK_RUNLEVEL_HIGHEST, runLevel) ||
      !in.Flag("AllowDemandStart", task.allowDemandStart) || !in.Flag("AllowHardTerminate", task.allowHardTerminate) ||
      !in.Flag("StartWhenAvailable", task.startWhenAvailable) ||
      !in.Text("ExecutionTimeLimit", task.executionTimeLimit) || !in.Flag("Enabled", task.enabled))
    return false;
  task.logonType = static_cast<TASK_LOGON_TYPE>(logonType);
  task.runLevel = static_cast<TASK_RUNLEVEL_TYPE>(runLevel);
  return in.AllTaken();
}

bool ReadTrigger(Section& in, TaskData& task) {
  LogonTriggerData trigger;
  int type = 0;
  if (!in.Number("Type", TASK_TRIGGER_LOGON, TASK_TRIGGER_LOGON, type) || !in.Text("Id", trigger.id) ||
      !in.Flag("Enabled", trigger.enabled) || !in.Text("Delay", trigger.delay) || !in.Text("UserId", trigger.userId) ||
      !in.AllTaken())
    return false;
  task.triggers.push_back(std::move(trigger));
  return true;
}

bool ReadAction(Section& in, TaskData& task) {
  ExecActionData action;
  int type = 0;
  if (!in.Number("Type", TASK_ACTION_EXEC, TASK_ACTION_EXEC, type) || !in.Text("Id", action.id) ||
      !in.Text("Path", action.path) || !in.Text("Arguments", action.arguments) ||
      !in.Text("WorkingDirectory", action.workingDirectory) || !in.AllTaken())
    return false;
  task.actions.push_back(std::move(action));
  return true;
}

}  // namespace

std::string FormatTask(const TaskData& task) {
  Writer out;
  out.Section("Task");
  out.Text("Author", task.author);
  out.Text("Description", task.description);
  out.Text("UserId", task.userId);
  out.Text("GroupId", task.groupId);
  out.Number("LogonType", task.logonType);
  out.Number("RunLevel", task.runLevel);
  out.Number("AllowDemandStart", task.allowDemandStart);
  out.Number("AllowHardTerminate", task.allowHardTerminate);
  out.Number("StartWhenAvailable", task.startWhenAvailable);
  out.Text("ExecutionTimeLimit", task.executionTimeLimit);
  out.Number("Enabled", task.enabled);
  for (const LogonTriggerData& trigger : task.triggers) {
    out.Section("Trigger");
    out.Number("Type", TASK_TRIGGER_LOGON);
    out.Text("Id", trigger.id);
    out.Number("Enabled", trigger.enabled);
    out.Text("Delay", trigger.delay);
    out.Text("UserId", trigger.userId);
  }
  for (const ExecActionData& action : task.actions) {
    out.Section("Action");
    out.Number("Type", TASK_ACTION_EXEC);
    out.Text("Id", action.id);
    out.Text("Path", action.path);
    out.Text("Arguments", action.arguments);
    out.Text("WorkingDirectory", action.workingDirectory);
  }
  return out.Done();
}

bool ParseTask(const std::string& text, TaskData& task) {
  task = TaskData{};
  if (text.size() > kMaxFile || text.empty() || text.back() != '\n') return false;
  std::istringstream in(text);
  std::string line, kind;
  Section section;
  bool seenTask = false;
  // Finishes the open section (when there is one) into the task.
  const auto finish = [&]() {
    if (kind.empty()) return true;
    if (kind == "[Task]") return ReadTask(section, task);
    if (kind == "[Trigger]") return ReadTrigger(section, task);
    return ReadAction(section, task);
  };
  while (std::getline(in, line)) {
    if (line == "[Task]" || line == "[Trigger]" || line == "[Action]") {
      if (!finish() || (line == "[Task]") == seenTask) return false;
      seenTask = true;
      kind = line;
      section = Section{};
    } else if (kind.empty() || !section.Add(line)) {
      return false;
    }
  }
  return seenTask && finish();
}

bool TaskPath(const std::u16string& path, std::u16string& name, std::string& hostPath) {
  name = !path.empty() && path[0] == u'\\' ? path.substr(1) : path;
  if (!PlainName(name) || !path::WindowsToHost(u"C:\\Windows\\System32\\Tasks\\" + name, hostPath)) return false;
  name = path::HostToWindows(hostPath);  // an existing task's name as it was registered
  name.erase(0, name.find_last_of(u'\\') + 1);
  return true;
}

}  // namespace zx::taskschd
