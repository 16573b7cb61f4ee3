// Jobs written through the Task Scheduler objects: the saved file byte for byte against a
// hand-written vector, every field read back, names that exist or do not, enumeration,
// trigger checks, the account and saving that leaves no partial file.
#include <gtest/gtest.h>

#include <cstring>
#include <atomic>
#include <filesystem>
#include <thread>

#include "taskschd_fixture.h"

namespace {

using zx::test::TaskSchedulerTest;
using zx::test::TriggerOf;

// A job of "a.exe" with parameters "-s", flags TASK_FLAG_RUN_ONLY_IF_LOGGED_ON and one daily
// trigger (every day from 2030-01-02 at 03:04). Bytes 4 to 19 are the job's GUID.
const std::uint8_t kSmallJob[160] = {
    0x01, 0x05, 0x01, 0x00,                                                          // versions
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // GUID
    0x46, 0x00, 0x6E, 0x00,                                                          // offsets 70, 110
    0x00, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x0A, 0x00,                                  // retries, idle 60/10
    0x20, 0x00, 0x00, 0x00, 0x00, 0x14, 0x73, 0x0F,                                  // normal, 72 h
    0x00, 0x00, 0x00, 0x00, 0x03, 0x13, 0x04, 0x00,                                  // exit 0, has not run
    0x00, 0x20, 0x00, 0x00,                                                          // flags
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // last run
    0x00, 0x00,                                                                      // instances
    0x06, 0x00, 'a', 0x00, '.', 0x00, 'e', 0x00, 'x', 0x00, 'e', 0x00, 0x00, 0x00,   // "a.exe"
    0x03, 0x00, '-', 0x00, 's', 0x00, 0x00, 0x00,                                    // "-s"
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                              // folder, author, comment
    0x00, 0x00,                                                                      // user data
    0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                      // reserved data
    0x01, 0x00,                                                                      // one trigger
    0x30, 0x00, 0x00, 0x00, 0xEE, 0x07, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00,          // size, 2030-01-02
    0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00,          // no end, 03:04
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,          // daily
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};         // every day

class JobWriteTest : public TaskSchedulerTest {
 protected:
  ITask* NewTask(const char16_t* name, HRESULT* result = nullptr) {
    IUnknown* unknown = nullptr;
    const HRESULT hr = scheduler_->NewWorkItem(name, CLSID_CTask, IID_ITask, &unknown);
    if (result) *result = hr;
    return reinterpret_cast<ITask*>(unknown);
  }
  static HRESULT Save(ITask* task) {
    IPersistFile* file = nullptr;
    HRESULT hr = task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(hr)) return hr;
    hr = file->Save(nullptr, TRUE);
    file->Release();
    return hr;
  }
  static std::u16string Text(HRESULT (ITask::*get)(LPWSTR*), ITask* task) {
    LPWSTR text = nullptr;
    EXPECT_EQ((task->*get)(&text), S_OK);
    std::u16string copy = text ? text : u"<null>";
    CoTaskMemFree(text);
    return copy;
  }
  std::string TasksFolder() const { return root() + "/drive_c/Windows/Tasks"; }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(TasksFolder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(JobWriteTest, SavedJobMatchesTheHandWrittenBytes) {
  ITask* task = NewTask(u"Small");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->SetApplicationName(u"a.exe"), S_OK);
  EXPECT_EQ(task->SetParameters(u"-s"), S_OK);
  EXPECT_EQ(task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON), S_OK);
  WORD index = 99;
  ITaskTrigger* trigger = nullptr;
  ASSERT_EQ(task->CreateTrigger(&index, &trigger), S_OK);
  EXPECT_EQ(index, 0);
  TASK_TRIGGER daily = TriggerOf(TASK_TIME_TRIGGER_DAILY, 2030, 1, 2, 3, 4);
  daily.Type.Daily.DaysInterval = 1;
  EXPECT_EQ(trigger->SetTrigger(&daily), S_OK);
  trigger->Release();
  ASSERT_EQ(Save(task), S_OK);
  task->Release();

  const std::string bytes = ReadHostFile(TasksFolder() + "/Small.job");
  ASSERT_EQ(bytes.size(), sizeof kSmallJob);
  std::vector<std::uint8_t> expected(kSmallJob, kSmallJob + sizeof kSmallJob);
  std::memcpy(expected.data() + 4, bytes.data() + 4, 16);  // the GUID is new for each job
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_NE(std::string(bytes.data() + 4, 16), std::string(16, '\0'));

  // And the hand-written bytes read back as that job.
  zx::taskschd::Job job;
  ASSERT_EQ(zx::taskschd::ParseJob(expected, job), S_OK);
  EXPECT_EQ(job.applicationName, u"a.exe");
  EXPECT_EQ(job.parameters, u"-s");
  EXPECT_EQ(job.flags, DWORD{TASK_FLAG_RUN_ONLY_IF_LOGGED_ON});
  ASSERT_EQ(job.triggers.size(), 1u);
  EXPECT_EQ(std::memcmp(&job.triggers[0], &daily, sizeof daily), 0);
}

TEST_F(JobWriteTest, EveryFieldReadsBackAfterSaving) {
  ITask* task = NewTask(u"Round Trip");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->SetApplicationName(u"C:\\Program Files\\Zephrin\\zephrinkx.exe"), S_OK);
  EXPECT_EQ(task->SetParameters(u" -autofix"), S_OK);
  EXPECT_EQ(task->SetWorkingDirectory(u"C:\\Program Files\\Zephrin"), S_OK);
  EXPECT_EQ(task->SetComment(u"Scan \u00e9t\u00e9"), S_OK);
  EXPECT_EQ(task->SetCreator(u"Zephrin"), S_OK);
  EXPECT_EQ(task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON | TASK_FLAG_HIDDEN), S_OK);
  EXPECT_EQ(task->SetPriority(0x80), S_OK);
  EXPECT_EQ(task->SetMaxRunTime(60000), S_OK);
  TASK_TRIGGER weekly = TriggerOf(TASK_TIME_TRIGGER_WEEKLY, 2001, 2, 3, 22, 15);
  weekly.Type.Weekly = {1, TASK_SUNDAY | TASK_SATURDAY};
  TASK_TRIGGER logon = TriggerOf(TASK_EVENT_TRIGGER_AT_LOGON, 2001, 2, 3, 0, 0);
  for (const TASK_TRIGGER* record : {&weekly, &logon}) {
    WORD index = 0;
    ITaskTrigger* trigger = nullptr;
    ASSERT_EQ(task->CreateTrigger(&index, &trigger), S_OK);
    EXPECT_EQ(trigger->SetTrigger(record), S_OK);
    trigger->Release();
  }
  ASSERT_EQ(Save(task), S_OK);
  task->Release();

  task = Activate(u"ROUND TRIP");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(Text(&ITask::GetApplicationName, task), u"C:\\Program Files\\Zephrin\\zephrinkx.exe");
  EXPECT_EQ(Text(&ITask::GetParameters, task), u" -autofix");
  EXPECT_EQ(Text(&ITask::GetWorkingDirectory, task), u"C:\\Program Files\\Zephrin");
  EXPECT_EQ(Text(&ITask::GetComment, task), u"Scan \u00e9t\u00e9");
  EXPECT_EQ(Text(&ITask::GetCreator, task), u"Zephrin");
  DWORD value = 0;
  EXPECT_EQ(task->GetFlags(&value), S_OK);
  EXPECT_EQ(value, DWORD{TASK_FLAG_RUN_ONLY_IF_LOGGED_ON | TASK_FLAG_HIDDEN});
  EXPECT_EQ(task->GetPriority(&value), S_OK);
  EXPECT_EQ(value, 0x80u);
  EXPECT_EQ(task->GetMaxRunTime(&value), S_OK);
  EXPECT_EQ(value, 60000u);
  WORD count = 0;
  EXPECT_EQ(task->GetTriggerCount(&count), S_OK);
  ASSERT_EQ(count, 2);
  for (WORD i = 0; i < count; ++i) {
    ITaskTrigger* trigger = nullptr;
    ASSERT_EQ(task->GetTrigger(i, &trigger), S_OK);
    TASK_TRIGGER record{};
    EXPECT_EQ(trigger->GetTrigger(&record), S_OK);
    EXPECT_EQ(std::memcmp(&record, i == 0 ? &weekly : &logon, sizeof record), 0) << i;
    trigger->Release();
  }
  SYSTEMTIME next{};
  EXPECT_EQ(task->GetNextRunTime(&next), S_OK);  // Saturday 2001-02-03 22:15
  EXPECT_EQ(next.wYear, 2001);
  EXPECT_EQ(next.wMonth, 2);
  EXPECT_EQ(next.wDay, 3);
  EXPECT_EQ(next.wHour, 22);
  EXPECT_EQ(next.wMinute, 15);
  task->Release();
}

TEST_F(JobWriteTest, ANewJobIsWrittenOnlyBySaving) {
  ITask* task = NewTask(u"Later");
  ASSERT_NE(task, nullptr);
  IPersistFile* file = nullptr;
  ASSERT_EQ(task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  CLSID clsid{};
  EXPECT_EQ(file->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(clsid == CLSID_CTask);
  LPOLESTR path = nullptr;
  EXPECT_EQ(file->GetCurFile(&path), S_OK);
  EXPECT_EQ(std::u16string(path), u"C:\\Windows\\Tasks\\Later.job");
  CoTaskMemFree(path);
  HRESULT hr = S_OK;
  EXPECT_EQ(Activate(u"Later", &hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

  EXPECT_EQ(file->IsDirty(), S_FALSE);
  EXPECT_EQ(task->SetComment(u"x"), S_OK);
  EXPECT_EQ(file->IsDirty(), S_OK);
  EXPECT_EQ(file->Save(u"C:\\Windows\\Tasks\\Other.job", TRUE), E_INVALIDARG);
  EXPECT_EQ(file->Save(u"C:\\WINDOWS\\tasks\\Later.job", FALSE), S_OK);
  EXPECT_EQ(file->IsDirty(), S_OK);  // not remembered
  EXPECT_EQ(file->Save(nullptr, TRUE), S_OK);
  EXPECT_EQ(file->IsDirty(), S_FALSE);
  file->Release();
  task->Release();
  ITask* again = Activate(u"Later");
  ASSERT_NE(again, nullptr);
  again->Release();
}

TEST_F(JobWriteTest, AnExistingNameCannotBeCreatedAgain) {
  ITask* task = NewTask(u"Taken");
  ASSERT_NE(task, nullptr);
  ASSERT_EQ(Save(task), S_OK);
  task->Release();
  HRESULT hr = S_OK;
  EXPECT_EQ(NewTask(u"TAKEN", &hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  EXPECT_EQ(hr, static_cast<HRESULT>(0x80070050));
  IUnknown* unknown = nullptr;
  EXPECT_EQ(scheduler_->NewWorkItem(u"Other", CLSID_CTaskScheduler, IID_ITask, &unknown), E_INVALIDARG);
  EXPECT_EQ(scheduler_->NewWorkItem(u"a\\b", CLSID_CTask, IID_ITask, &unknown), E_INVALIDARG);
  EXPECT_EQ(unknown, nullptr);
}

TEST_F(JobWriteTest, DeletingRemovesTheJobAndAMissingJobIsNotFound) {
  ITask* task = NewTask(u"Gone");
  ASSERT_NE(task, nullptr);
  ASSERT_EQ(Save(task), S_OK);
  task->Release();
  EXPECT_EQ(scheduler_->Delete(u"gone"), S_OK);
  HRESULT hr = S_OK;
  EXPECT_EQ(Activate(u"Gone", &hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(scheduler_->Delete(u"Gone"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(scheduler_->Delete(u"Gone"), static_cast<HRESULT>(0x80070002));
  EXPECT_EQ(scheduler_->Delete(u"..\\machine"), E_INVALIDARG);
  EXPECT_EQ(scheduler_->Delete(nullptr), E_INVALIDARG);
}

TEST_F(JobWriteTest, EnumerationListsTheJobFilesOnly) {
  for (const char16_t* name : {u"One", u"Two", u"Three"}) {
    ITask* task = NewTask(name);
    ASSERT_NE(task, nullptr);
    ASSERT_EQ(Save(task), S_OK);
    task->Release();
  }
  WriteHostFile(TasksFolder() + "/notes.txt", "x");
  std::filesystem::create_directories(TasksFolder() + "/Folder.job");
  IEnumWorkItems* items = nullptr;
  ASSERT_EQ(scheduler_->Enum(&items), S_OK);
  std::vector<std::u16string> names;
  LPWSTR* batch = nullptr;
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(2, &batch, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) {
    names.emplace_back(batch[i]);
    CoTaskMemFree(batch[i]);
  }
  CoTaskMemFree(batch);
  EXPECT_EQ(items->Next(5, &batch, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  names.emplace_back(batch[0]);
  CoTaskMemFree(batch[0]);
  CoTaskMemFree(batch);
  EXPECT_EQ(items->Next(1, &batch, nullptr), S_FALSE);
  EXPECT_EQ(batch, nullptr);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"One.job", u"Three.job", u"Two.job"}));

  EXPECT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(2), S_OK);
  IEnumWorkItems* copy = nullptr;
  ASSERT_EQ(items->Clone(&copy), S_OK);
  EXPECT_EQ(copy->Skip(2), S_FALSE);  // one was left
  EXPECT_EQ(items->Next(1, &batch, &fetched), S_OK);
  CoTaskMemFree(batch[0]);
  CoTaskMemFree(batch);
  copy->Release();
  items->Release();
}

TEST_F(JobWriteTest, TriggersAreCheckedCreatedAndDeleted) {
  clock_.Advance(((14 * 60) + 5) * 60 * 1000ull);  // 2000-01-01 14:05
  ITask* task = NewTask(u"Triggers");
  ASSERT_NE(task, nullptr);
  WORD index = 0;
  ITaskTrigger* trigger = nullptr;
  ASSERT_EQ(task->CreateTrigger(&index, &trigger), S_OK);
  TASK_TRIGGER record{};
  EXPECT_EQ(trigger->GetTrigger(&record), S_OK);
  EXPECT_EQ(record.cbTriggerSize, 48);
  EXPECT_EQ(record.TriggerType, TASK_TIME_TRIGGER_ONCE);
  EXPECT_EQ(record.wBeginYear, 2000);
  EXPECT_EQ(record.wBeginMonth, 1);
  EXPECT_EQ(record.wBeginDay, 1);
  EXPECT_EQ(record.wStartHour, 14);
  EXPECT_EQ(record.wStartMinute, 5);

  std::vector<TASK_TRIGGER> bad(8, TriggerOf(TASK_TIME_TRIGGER_WEEKLY, 2001, 1, 1, 8, 0));
  for (TASK_TRIGGER& each : bad) each.Type.Weekly = {1, TASK_MONDAY};
  bad[0].cbTriggerSize = 47;
  bad[1].TriggerType = static_cast<TASK_TRIGGER_TYPE>(8);
  bad[2].wBeginMonth = 13;
  bad[3].wStartHour = 24;
  bad[4].Type.Weekly.rgfDaysOfTheWeek = 0;
  bad[5].MinutesInterval = 10;
  bad[5].MinutesDuration = 10;
  bad[6].rgFlags = TASK_TRIGGER_FLAG_HAS_END_DATE;
  bad[6].wEndYear = 2000;
  bad[6].wEndMonth = 12;
  bad[6].wEndDay = 31;
  bad[7].Type.Weekly.WeeksInterval = 0;
  for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(trigger->SetTrigger(&bad[i]), E_INVALIDARG) << i;
  EXPECT_EQ(trigger->SetTrigger(nullptr), E_INVALIDARG);
  EXPECT_EQ(trigger->GetTrigger(&record), S_OK);
  EXPECT_EQ(record.TriggerType, TASK_TIME_TRIGGER_ONCE);  // unchanged

  ITaskTrigger* second = nullptr;
  ASSERT_EQ(task->CreateTrigger(&index, &second), S_OK);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(task->DeleteTrigger(0), S_OK);
  EXPECT_EQ(task->DeleteTrigger(1), SCHED_E_TRIGGER_NOT_FOUND);
  WORD count = 0;
  EXPECT_EQ(task->GetTriggerCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(second->GetTrigger(&record), SCHED_E_TRIGGER_NOT_FOUND);  // its index is gone
  ITaskTrigger* none = nullptr;
  EXPECT_EQ(task->GetTrigger(1, &none), SCHED_E_TRIGGER_NOT_FOUND);
  EXPECT_EQ(none, nullptr);
  second->Release();
  trigger->Release();
  task->Release();
}

TEST_F(JobWriteTest, TheAccountIsKeptByTheObjectOnly) {
  ITask* task = NewTask(u"Account");
  ASSERT_NE(task, nullptr);
  LPWSTR account = nullptr;
  EXPECT_EQ(task->GetAccountInformation(&account), SCHED_E_ACCOUNT_INFORMATION_NOT_SET);
  EXPECT_EQ(task->SetAccountInformation(u"user", nullptr), E_INVALIDARG);  // needs a password
  EXPECT_EQ(task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON), S_OK);
  EXPECT_EQ(task->SetAccountInformation(u"user", nullptr), S_OK);
  EXPECT_EQ(Text(&ITask::GetAccountInformation, task), u"user");
  ASSERT_EQ(Save(task), S_OK);
  task->Release();
  task = Activate(u"Account");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->GetAccountInformation(&account), SCHED_E_ACCOUNT_INFORMATION_NOT_SET);
  EXPECT_EQ(account, nullptr);
  task->Release();
}

TEST_F(JobWriteTest, SavingReplacesTheWholeFileOrNothing) {
  ITask* task = NewTask(u"Whole");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->SetComment(u"first"), S_OK);
  ASSERT_EQ(Save(task), S_OK);
  const std::string first = ReadHostFile(TasksFolder() + "/Whole.job");
  EXPECT_EQ(task->SetComment(u"second"), S_OK);
  ASSERT_EQ(Save(task), S_OK);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Whole.job"});  // no temporary left
  EXPECT_NE(ReadHostFile(TasksFolder() + "/Whole.job"), first);

  // Texts too long for the layout's 16-bit offsets: refused, the saved file untouched.
  const std::string saved = ReadHostFile(TasksFolder() + "/Whole.job");
  const std::u16string longText(20000, u'x');
  EXPECT_EQ(task->SetApplicationName(longText.c_str()), S_OK);
  EXPECT_EQ(task->SetParameters(longText.c_str()), S_OK);
  EXPECT_EQ(task->SetComment(longText.c_str()), S_OK);
  EXPECT_EQ(Save(task), E_INVALIDARG);
  EXPECT_EQ(ReadHostFile(TasksFolder() + "/Whole.job"), saved);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Whole.job"});
  task->Release();
}

TEST_F(JobWriteTest, SettersRefuseNullAndUnknownPriorities) {
  ITask* task = NewTask(u"Setters");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->SetApplicationName(nullptr), E_INVALIDARG);
  EXPECT_EQ(task->SetComment(nullptr), E_INVALIDARG);
  EXPECT_EQ(task->SetPriority(0x21), E_INVALIDARG);
  DWORD priority = 0;
  EXPECT_EQ(task->GetPriority(&priority), S_OK);
  EXPECT_EQ(priority, 0x20u);
  EXPECT_EQ(Text(&ITask::GetApplicationName, task), u"");
  task->Release();
}

TEST_F(JobWriteTest, TheScheduledScanJobIsMadeAndRetriggeredAsTheProgramDoes) {
  // Created: application, folder, flags, account without password, comment, parameters, save.
  ITask* task = NewTask(u"ZEPHRINKX-ZEPHRINKXTunevo");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->SetApplicationName(u"C:\\Program Files\\Zephrin\\zephrinkx.exe"), S_OK);
  EXPECT_EQ(task->SetWorkingDirectory(u"C:\\Program Files\\Zephrin"), S_OK);
  EXPECT_EQ(task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON), S_OK);
  EXPECT_EQ(task->SetAccountInformation(u"user", nullptr), S_OK);
  EXPECT_EQ(task->SetComment(u"ZEPHRINKX-ZEPHRINKXTunevo"), S_OK);
  EXPECT_EQ(task->SetParameters(u"-schedule"), S_OK);
  ASSERT_EQ(Save(task), S_OK);
  task->Release();

  // Triggered twice: every trigger removed and saved, one created, set and saved.
  for (const TASK_TRIGGER_TYPE type : {TASK_TIME_TRIGGER_DAILY, TASK_TIME_TRIGGER_WEEKLY}) {
    task = Activate(u"ZEPHRINKX-ZEPHRINKXTunevo");
    ASSERT_NE(task, nullptr);
    WORD count = 0;
    ASSERT_EQ(task->GetTriggerCount(&count), S_OK);
    while (count > 0) EXPECT_EQ(task->DeleteTrigger(--count), S_OK);
    ASSERT_EQ(Save(task), S_OK);
    WORD index = 0;
    ITaskTrigger* trigger = nullptr;
    ASSERT_EQ(task->CreateTrigger(&index, &trigger), S_OK);
    TASK_TRIGGER record = TriggerOf(type, 2000, 1, 1, 9, 30);
    if (type == TASK_TIME_TRIGGER_DAILY) record.Type.Daily.DaysInterval = 1;
    else record.Type.Weekly = {1, TASK_MONDAY};
    EXPECT_EQ(trigger->SetTrigger(&record), S_OK);
    trigger->Release();
    ASSERT_EQ(Save(task), S_OK);
    task->Release();
  }

  task = Activate(u"ZEPHRINKX-ZEPHRINKXTunevo");
  ASSERT_NE(task, nullptr);
  WORD count = 0;
  EXPECT_EQ(task->GetTriggerCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  ITaskTrigger* trigger = nullptr;
  ASSERT_EQ(task->GetTrigger(0, &trigger), S_OK);
  TASK_TRIGGER record{};
  record.cbTriggerSize = sizeof record;
  EXPECT_EQ(trigger->GetTrigger(&record), S_OK);
  EXPECT_EQ(record.TriggerType, TASK_TIME_TRIGGER_WEEKLY);
  trigger->Release();
  SYSTEMTIME next{};
  EXPECT_EQ(task->GetNextRunTime(&next), S_OK);  // Monday 2000-01-03 09:30
  EXPECT_EQ(next.wDay, 3);
  EXPECT_EQ(next.wHour, 9);
  EXPECT_EQ(next.wMinute, 30);
  EXPECT_EQ(Text(&ITask::GetParameters, task), u"-schedule");
  task->Release();
  EXPECT_EQ(scheduler_->Delete(u"ZEPHRINKX-ZEPHRINKXTunevo"), S_OK);
  EXPECT_EQ(scheduler_->Delete(u"Tunevo - Zephrin Tunevo"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(JobWriteTest, AReaderNeverSeesHalfAJob) {
  ITask* task = NewTask(u"Busy");
  ASSERT_NE(task, nullptr);
  ASSERT_EQ(Save(task), S_OK);
  std::atomic<bool> done{false};
  std::atomic<int> reads{0}, failures{0};
  std::thread reader([&] {
    CoInitialize(nullptr);
    ITaskScheduler* scheduler = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                   reinterpret_cast<void**>(&scheduler)))) {
      while (!done.load() || reads.load() == 0) {
        IUnknown* unknown = nullptr;
        if (FAILED(scheduler->Activate(u"Busy", IID_ITask, &unknown))) ++failures;
        if (unknown) unknown->Release();
        ++reads;
      }
      scheduler->Release();
    }
    CoUninitialize();
  });
  // Files of changing length, each replacing the last.
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(task->SetComment(std::u16string(static_cast<std::size_t>(i * 37 % 1000), u'c').c_str()), S_OK);
    EXPECT_EQ(Save(task), S_OK);
  }
  done = true;
  reader.join();
  task->Release();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Busy.job"});
}

}  // namespace
