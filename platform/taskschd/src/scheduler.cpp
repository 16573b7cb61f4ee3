// The scheduler object over the job files of the Tasks folder: enumerating, opening,
// creating and deleting jobs.
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "objbase.h"
#include "task.h"
#include "zx/casefold.h"
#include "zx/com.h"
#include "zx/pathmap.h"

const CLSID CLSID_CTaskScheduler = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_ITaskScheduler = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
const IID IID_IEnumWorkItems = {0x148BD528, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

namespace zx::taskschd {
namespace {

using Names = std::vector<std::u16string>;

// The "<name>.job" files of the Tasks folder.
Names JobNames() {
  Names names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(TasksFolder(), error)) {
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    std::u16string name = path::HostToWindows(entry.path().string());
    name.erase(0, name.find_last_of(u'\\') + 1);
    if (name.size() > 4 && EqualNoCase(name.c_str() + name.size() - 4, u".job")) names.push_back(std::move(name));
  }
  return names;
}

class EnumWorkItems final : public com::Object<IEnumWorkItems> {
 public:
  EnumWorkItems(std::shared_ptr<const Names> names, std::size_t at)
      : Object(IID_IEnumWorkItems), names_(std::move(names)), at_(at) {}

  HRESULT Next(ULONG count, LPWSTR** names, ULONG* fetched) override {
    if (!names || count == 0 || (count > 1 && !fetched)) return E_INVALIDARG;
    *names = nullptr;
    const std::size_t take = std::min<std::size_t>(count, names_->size() - at_);
    if (take != 0) {
      *names = static_cast<LPWSTR*>(CoTaskMemAlloc(take * sizeof(LPWSTR)));
      if (!*names) return E_OUTOFMEMORY;
      for (std::size_t i = 0; i < take; ++i) {
        if (FAILED(TaskText((*names_)[at_ + i], &(*names)[i]))) {
          for (std::size_t j = 0; j < i; ++j) CoTaskMemFree((*names)[j]);
          CoTaskMemFree(*names);
          *names = nullptr;
          return E_OUTOFMEMORY;
        }
      }
    }
    at_ += take;
    if (fetched) *fetched = static_cast<ULONG>(take);
    return take == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t skipped = std::min<std::size_t>(count, names_->size() - at_);
    at_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumWorkItems** copy) override {
    if (!copy) return E_INVALIDARG;
    *copy = new EnumWorkItems(names_, at_);
    return S_OK;
  }

 private:
  const std::shared_ptr<const Names> names_;
  std::size_t at_;
};

bool Offered(REFIID iid) {
  return iid == IID_ITask || iid == IID_IScheduledWorkItem || iid == IID_IUnknown || iid == IID_IPersistFile;
}

class Scheduler final : public com::Object<ITaskScheduler> {
 public:
  Scheduler() : Object(IID_ITaskScheduler) {}

  HRESULT Enum(IEnumWorkItems** items) override {
    if (!items) return E_INVALIDARG;
    *items = new EnumWorkItems(std::make_shared<const Names>(JobNames()), 0);
    return S_OK;
  }
  HRESULT Activate(LPCWSTR name, REFIID iid, IUnknown** unknown) override {
    if (!unknown) return E_INVALIDARG;
    *unknown = nullptr;
    std::string path;
    if (!name || !JobPath(name, path)) return E_INVALIDARG;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    Job job;
    const HRESULT parsed = ParseJob(bytes, job);
    if (FAILED(parsed)) return parsed;
    if (!Offered(iid)) return E_NOINTERFACE;
    return MakeTask(std::move(job), name, iid, reinterpret_cast<void**>(unknown));
  }
  HRESULT Delete(LPCWSTR name) override {
    std::string path;
    if (!name || !JobPath(name, path)) return E_INVALIDARG;
    if (::unlink(path.c_str()) == 0) return S_OK;
    return errno == ENOENT || errno == ENOTDIR ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : E_ACCESSDENIED;
  }
  HRESULT NewWorkItem(LPCWSTR name, REFCLSID clsid, REFIID iid, IUnknown** unknown) override {
    if (!unknown) return E_INVALIDARG;
    *unknown = nullptr;
    std::string path;
    if (!name || !JobPath(name, path) || clsid != CLSID_CTask) return E_INVALIDARG;
    if (!Offered(iid)) return E_NOINTERFACE;
    std::error_code error;
    if (std::filesystem::exists(path, error)) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    Job job;
    if (FAILED(CoCreateGuid(&job.id))) return E_FAIL;
    return MakeTask(std::move(job), name, iid, reinterpret_cast<void**>(unknown));
  }
};

HRESULT CreateScheduler(REFIID iid, void** object) {
  return com::Hand<ITaskScheduler>(new Scheduler(), iid, object);
}

const bool g_registered = [] {
  com::RegisterClassFactory(CLSID_CTaskScheduler, CreateScheduler);
  return true;
}();

}  // namespace
}  // namespace zx::taskschd
