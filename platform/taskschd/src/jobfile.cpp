// Reading and writing job files: a fixed section of 68 bytes, then the variable section
// (strings, user data, reserved data, triggers). All numbers little-endian.
#include <cstring>

#include "zx/jobfile.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::taskschd {
namespace {

constexpr std::size_t kFixedSize = 68;
constexpr WORD kFileVersion = 1;

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  template <class T>
  bool Read(T& value) {
    if (bytes_.size() - at_ < sizeof value) return false;
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    at_ += sizeof value;
    return true;
  }
  // A count of characters (terminator included, 0 for none) and the characters.
  bool ReadString(std::u16string& text) {
    WORD count = 0;
    if (!Read(count)) return false;
    text.clear();
    if (count == 0) return true;
    if ((bytes_.size() - at_) / 2 < count) return false;
    text.resize(count);
    std::memcpy(text.data(), bytes_.data() + at_, count * 2u);
    at_ += count * 2u;
    if (text.back() != 0) return false;
    text.pop_back();
    return text.find(u'\0') == std::u16string::npos;
  }
  bool ReadBlock(std::vector<std::uint8_t>& block) {
    WORD size = 0;
    if (!Read(size) || bytes_.size() - at_ < size) return false;
    block.assign(bytes_.begin() + at_, bytes_.begin() + at_ + size);
    at_ += size;
    return true;
  }
  std::size_t At() const { return at_; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

class Writer {
 public:
  template <class T>
  void Write(const T& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
  }
  void WriteString(const std::u16string& text) {
    if (text.empty()) {
      Write(WORD{0});
      return;
    }
    Write(static_cast<WORD>(text.size() + 1));
    for (char16_t c : text) Write(static_cast<WORD>(c));
    Write(WORD{0});
  }
  std::vector<std::uint8_t> out;
};

}  // namespace

HRESULT ParseJob(const std::vector<std::uint8_t>& bytes, Job& job) {
  Reader in(bytes);
  WORD fileVersion = 0, nameOffset = 0, triggerOffset = 0;
  job = Job{};
  if (!in.Read(job.productVersion) || !in.Read(fileVersion)) return SCHED_E_INVALID_TASK;
  if (fileVersion != kFileVersion) return SCHED_E_UNKNOWN_OBJECT_VERSION;
  if (!in.Read(job.id) || !in.Read(nameOffset) || !in.Read(triggerOffset) ||
      !in.Read(job.errorRetryCount) || !in.Read(job.errorRetryInterval) ||
      !in.Read(job.idleDeadline) || !in.Read(job.idleWait) || !in.Read(job.priority) ||
      !in.Read(job.maxRunTimeMs) || !in.Read(job.exitCode) || !in.Read(job.status) ||
      !in.Read(job.flags) || !in.Read(job.lastRun) || !in.Read(job.runningInstances) ||
      in.At() != nameOffset + 0u)
    return SCHED_E_INVALID_TASK;
  std::vector<std::uint8_t> reserved;
  if (!in.ReadString(job.applicationName) || !in.ReadString(job.parameters) ||
      !in.ReadString(job.workingDirectory) || !in.ReadString(job.author) ||
      !in.ReadString(job.comment) || !in.ReadBlock(job.userData) || !in.ReadBlock(reserved) ||
      (reserved.size() != 0 && reserved.size() != 8) || in.At() != triggerOffset + 0u)
    return SCHED_E_INVALID_TASK;
  if (reserved.size() == 8) {
    std::memcpy(&job.startError, reserved.data(), 4);
    std::memcpy(&job.taskFlags, reserved.data() + 4, 4);
  }
  WORD count = 0;
  if (!in.Read(count)) return SCHED_E_INVALID_TASK;
  for (WORD i = 0; i < count; ++i) {
    TASK_TRIGGER trigger{};
    if (!in.Read(trigger) || trigger.cbTriggerSize != sizeof trigger ||
        trigger.TriggerType > TASK_EVENT_TRIGGER_AT_LOGON)
      return SCHED_E_INVALID_TASK;
    job.triggers.push_back(trigger);
  }
  // A signature section may follow; it is kept by nobody here.
  return S_OK;
}

std::vector<std::uint8_t> SerializeJob(const Job& job) {
  constexpr std::size_t kLimit = 0xFFFF;
  for (const std::u16string* text : {&job.applicationName, &job.parameters, &job.workingDirectory, &job.author, &job.comment})
    if (text->size() >= kLimit) return {};
  if (job.userData.size() > kLimit || job.triggers.size() > kLimit) return {};
  Writer strings;
  strings.WriteString(job.applicationName);
  strings.WriteString(job.parameters);
  strings.WriteString(job.workingDirectory);
  strings.WriteString(job.author);
  strings.WriteString(job.comment);
  strings.Write(static_cast<WORD>(job.userData.size()));
  strings.out.insert(strings.out.end(), job.userData.begin(), job.userData.end());
  strings.Write(WORD{8});
  strings.Write(job.startError);
  strings.Write(job.taskFlags);

  const WORD nameOffset = kFixedSize + 2;
  if (nameOffset + strings.out.size() > kLimit) return {};
  Writer out;
  out.Write(job.productVersion);
  out.Write(kFileVersion);
  out.Write(job.id);
  out.Write(nameOffset);
  out.Write(static_cast<WORD>(nameOffset + strings.out.size()));
  out.Write(job.errorRetryCount);
  out.Write(job.errorRetryInterval);
  out.Write(job.idleDeadline);
  out.Write(job.idleWait);
  out.Write(job.priority);
  out.Write(job.maxRunTimeMs);
  out.Write(job.exitCode);
  out.Write(job.status);
  out.Write(job.flags);
  out.Write(job.lastRun);
  out.Write(job.runningInstances);
  out.out.insert(out.out.end(), strings.out.begin(), strings.out.end());
  out.Write(static_cast<WORD>(job.triggers.size()));
  for (TASK_TRIGGER trigger : job.triggers) {
    trigger.cbTriggerSize = sizeof trigger;
    out.Write(trigger);
  }
  return out.out;
}

bool PlainName(const std::u16string& name) {
  return !name.empty() && name.size() <= 200 && name != u"." && name != u".." &&
         name.find_first_of(u"\\/:*?\"<>|") == std::u16string::npos;
}

bool JobPath(const std::u16string& name, std::string& hostPath) {
  return PlainName(name) && path::WindowsToHost(u"C:\\Windows\\Tasks\\" + name + u".job", hostPath);
}

std::string TasksFolder() {
  std::string folder;
  path::WindowsToHost(u"C:\\Windows\\Tasks", folder);
  return folder;
}

}  // namespace zx::taskschd
