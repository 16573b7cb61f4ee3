// The Task Scheduler 2.0 interfaces, as far as a program registers, reads back and deletes a
// task of the root folder: the service (CLSID_TaskScheduler, ITaskService), the folder, the
// registered task and the definition with its registration information, principal,
// settings, log-on triggers and exec actions. Tasks are kept in the machine's
// C:\Windows\System32\Tasks folder (format in platform/taskschd/README.md). The interfaces
// derive from IUnknown here (on Windows from IDispatch, whose members nothing calls).
#pragma once
#include "oleauto.h"
#include "unknwn.h"
#include "wintypes.h"

enum TASK_TRIGGER_TYPE2 : int {
  TASK_TRIGGER_EVENT = 0,
  TASK_TRIGGER_TIME = 1,
  TASK_TRIGGER_DAILY = 2,
  TASK_TRIGGER_WEEKLY = 3,
  TASK_TRIGGER_MONTHLY = 4,
  TASK_TRIGGER_MONTHLYDOW = 5,
  TASK_TRIGGER_IDLE = 6,
  TASK_TRIGGER_REGISTRATION = 7,
  TASK_TRIGGER_BOOT = 8,
  TASK_TRIGGER_LOGON = 9,
  TASK_TRIGGER_SESSION_STATE_CHANGE = 11,
};

enum TASK_ACTION_TYPE : int {
  TASK_ACTION_EXEC = 0,
  TASK_ACTION_COM_HANDLER = 5,
  TASK_ACTION_SEND_EMAIL = 6,
  TASK_ACTION_SHOW_MESSAGE = 7,
};

enum TASK_LOGON_TYPE : int {
  TASK_LOGON_NONE = 0,
  TASK_LOGON_PASSWORD = 1,
  TASK_LOGON_S4U = 2,
  TASK_LOGON_INTERACTIVE_TOKEN = 3,
  TASK_LOGON_GROUP = 4,
  TASK_LOGON_SERVICE_ACCOUNT = 5,
  TASK_LOGON_INTERACTIVE_TOKEN_OR_PASSWORD = 6,
};

enum TASK_RUNLEVEL_TYPE : int {
  TASK_RUNLEVEL_LUA = 0,
  TASK_RUNLEVEL_HIGHEST = 1,
};

// Flags of ITaskFolder::RegisterTaskDefinition.
enum TASK_CREATION : int {
  TASK_VALIDATE_ONLY = 0x1,
  TASK_CREATE = 0x2,
  TASK_UPDATE = 0x4,
  TASK_CREATE_OR_UPDATE = 0x6,
  TASK_DISABLE = 0x8,
  TASK_DONT_ADD_PRINCIPAL_ACE = 0x10,
  TASK_IGNORE_REGISTRATION_TRIGGERS = 0x20,
};

#define SCHED_E_INVALIDVALUE (static_cast<HRESULT>(0x80041318))
#define SCHED_E_MISSINGNODE (static_cast<HRESULT>(0x80041319))
#define SCHED_E_MALFORMEDXML (static_cast<HRESULT>(0x8004131A))

extern const CLSID CLSID_TaskScheduler;    // {0F87369F-A4E5-4CFC-BD3E-73E6154572DD}
extern const IID IID_ITaskService;         // {2FABA4C7-4DA9-4013-9697-20CC3FD40F85}
extern const IID IID_ITaskFolder;          // {8CFAC062-A080-4C15-9A88-AA7C2AF80DFC}
extern const IID IID_IRegisteredTask;      // {9C86F320-DEE3-4DD1-B972-A303F26B061E}
extern const IID IID_ITaskDefinition;      // {F5BC8FC5-536D-4F77-B852-FBC1356FDEB6}
extern const IID IID_IRegistrationInfo;    // {416D8B73-CB41-4EA1-805C-9BE9A5AC4A74}
extern const IID IID_IPrincipal;           // {D98D51E5-C9B4-496A-A9C1-18980261CF0F}
extern const IID IID_ITaskSettings;        // {8FD4711D-2D02-4C8C-87E3-EFF699DE127E}
extern const IID IID_ITriggerCollection;   // {85DF5081-1B24-4F32-878A-D9D14DF4CB77}
extern const IID IID_ITrigger;             // {09941815-EA89-4B5B-89E0-2A773801FAC3}
extern const IID IID_ILogonTrigger;        // {72DADE38-FAE4-4B3E-BAF4-5D009AF02B1C}
extern const IID IID_IActionCollection;    // {02820E19-7B98-4ED2-B2E8-FDCCCEFF619B}
extern const IID IID_IAction;              // {BAE54997-48B1-4CBE-9965-D6BE263EBEA4}
extern const IID IID_IExecAction;          // {4C3D624D-FD6B-49A3-B9B7-09CB3CD3F047}

// Every get_ of a text answers a new BSTR (SysFreeString); a put_ copies the text (null is
// the empty text). A get_ with a null out pointer answers E_POINTER.

struct IRegistrationInfo : IUnknown {
  virtual HRESULT get_Description(BSTR* description) = 0;
  virtual HRESULT put_Description(BSTR description) = 0;
  virtual HRESULT get_Author(BSTR* author) = 0;
  virtual HRESULT put_Author(BSTR author) = 0;
};

struct IPrincipal : IUnknown {
  virtual HRESULT get_UserId(BSTR* user) = 0;
  virtual HRESULT put_UserId(BSTR user) = 0;
  virtual HRESULT get_LogonType(TASK_LOGON_TYPE* logonType) = 0;
  virtual HRESULT put_LogonType(TASK_LOGON_TYPE logonType) = 0;  // E_INVALIDARG beyond 0..6
  virtual HRESULT get_GroupId(BSTR* group) = 0;
  virtual HRESULT put_GroupId(BSTR group) = 0;
  virtual HRESULT get_RunLevel(TASK_RUNLEVEL_TYPE* runLevel) = 0;
  virtual HRESULT put_RunLevel(TASK_RUNLEVEL_TYPE runLevel) = 0;  // E_INVALIDARG beyond 0..1
};

// Defaults of a new definition: demand start and hard terminate allowed, start when
// available off, time limit "PT72H", enabled.
struct ITaskSettings : IUnknown {
  virtual HRESULT get_AllowDemandStart(VARIANT_BOOL* allow) = 0;
  virtual HRESULT put_AllowDemandStart(VARIANT_BOOL allow) = 0;
  virtual HRESULT get_AllowHardTerminate(VARIANT_BOOL* allow) = 0;
  virtual HRESULT put_AllowHardTerminate(VARIANT_BOOL allow) = 0;
  virtual HRESULT get_StartWhenAvailable(VARIANT_BOOL* start) = 0;
  virtual HRESULT put_StartWhenAvailable(VARIANT_BOOL start) = 0;
  // An ISO 8601 duration such as "PT0S" (none) or "PT72H".
  virtual HRESULT get_ExecutionTimeLimit(BSTR* limit) = 0;
  virtual HRESULT put_ExecutionTimeLimit(BSTR limit) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
};

struct ITrigger : IUnknown {
  virtual HRESULT get_Type(TASK_TRIGGER_TYPE2* type) = 0;
  virtual HRESULT get_Id(BSTR* id) = 0;
  virtual HRESULT put_Id(BSTR id) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL enabled) = 0;
};

struct ILogonTrigger : ITrigger {
  // An ISO 8601 duration such as "PT5S".
  virtual HRESULT get_Delay(BSTR* delay) = 0;
  virtual HRESULT put_Delay(BSTR delay) = 0;
  virtual HRESULT get_UserId(BSTR* user) = 0;
  virtual HRESULT put_UserId(BSTR user) = 0;
};

// Items are counted from 1.
struct ITriggerCollection : IUnknown {
  virtual HRESULT get_Count(LONG* count) = 0;
  // E_INVALIDARG for an index outside 1..count.
  virtual HRESULT get_Item(LONG index, ITrigger** trigger) = 0;
  // A new trigger at the end; log-on triggers only (E_NOTIMPL for the other types,
  // E_INVALIDARG for unknown ones).
  virtual HRESULT Create(TASK_TRIGGER_TYPE2 type, ITrigger** trigger) = 0;
  virtual HRESULT Clear() = 0;
};

struct IAction : IUnknown {
  virtual HRESULT get_Id(BSTR* id) = 0;
  virtual HRESULT put_Id(BSTR id) = 0;
  virtual HRESULT get_Type(TASK_ACTION_TYPE* type) = 0;
};

struct IExecAction : IAction {
  virtual HRESULT get_Path(BSTR* path) = 0;
  virtual HRESULT put_Path(BSTR path) = 0;
  virtual HRESULT get_Arguments(BSTR* arguments) = 0;
  virtual HRESULT put_Arguments(BSTR arguments) = 0;
  virtual HRESULT get_WorkingDirectory(BSTR* folder) = 0;
  virtual HRESULT put_WorkingDirectory(BSTR folder) = 0;
};

// Items are counted from 1.
struct IActionCollection : IUnknown {
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, IAction** action) = 0;
  // Exec actions only (E_NOTIMPL for the other types, E_INVALIDARG for unknown ones).
  virtual HRESULT Create(TASK_ACTION_TYPE type, IAction** action) = 0;
  virtual HRESULT Clear() = 0;
};

// The parts of a task; each get_ answers the definition's own part (changes to it are the
// definition's changes).
struct ITaskDefinition : IUnknown {
  virtual HRESULT get_RegistrationInfo(IRegistrationInfo** info) = 0;
  virtual HRESULT get_Triggers(ITriggerCollection** triggers) = 0;
  virtual HRESULT get_Settings(ITaskSettings** settings) = 0;
  virtual HRESULT get_Principal(IPrincipal** principal) = 0;
  virtual HRESULT get_Actions(IActionCollection** actions) = 0;
};

struct IRegisteredTask : IUnknown {
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT get_Path(BSTR* path) = 0;  // "\<name>"
  virtual HRESULT get_Enabled(VARIANT_BOOL* enabled) = 0;
  // A copy of the registered definition.
  virtual HRESULT get_Definition(ITaskDefinition** definition) = 0;
};

// The root folder "\" (the only folder). Task paths are a name, optionally after "\"; the
// name follows the rules of job names (no \ / : * ? " < > |, not . or .., at most 200
// characters; else E_INVALIDARG) and is looked up without regard to case.
struct ITaskFolder : IUnknown {
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT get_Path(BSTR* path) = 0;
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such task, SCHED_E_MALFORMEDXML
  // for a damaged task file.
  virtual HRESULT GetTask(BSTR path, IRegisteredTask** task) = 0;
  // flags must be 0; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such task.
  virtual HRESULT DeleteTask(BSTR name, LONG flags) = 0;
  // Registers (TASK_CREATE), replaces (TASK_UPDATE) or only checks (TASK_VALIDATE_ONLY) a
  // definition made by ITaskService::NewTask. HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) for an
  // existing task without TASK_UPDATE, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing
  // one without TASK_CREATE, SCHED_E_MISSINGNODE for a definition without actions or an exec
  // action without path. userId (a text, or empty) names the group for TASK_LOGON_GROUP and
  // the user otherwise; logonType replaces the principal's; the password and the security
  // descriptor are not kept. TASK_DISABLE registers the task disabled.
  virtual HRESULT RegisterTaskDefinition(BSTR path, ITaskDefinition* definition, LONG flags, VARIANT userId,
                                         VARIANT password, TASK_LOGON_TYPE logonType, VARIANT sddl,
                                         IRegisteredTask** task) = 0;
};

// Connect first: before it, GetFolder and NewTask answer
// HRESULT_FROM_WIN32(ERROR_ONLY_IF_CONNECTED).
struct ITaskService : IUnknown {
  // "\" (or an empty or null path) is the root folder; any other folder answers
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
  virtual HRESULT GetFolder(BSTR path, ITaskFolder** folder) = 0;
  // flags must be 0.
  virtual HRESULT NewTask(DWORD flags, ITaskDefinition** definition) = 0;
  // The local machine only: every argument empty (VT_EMPTY, VT_NULL or an empty text). A
  // server name answers HRESULT_FROM_WIN32(ERROR_BAD_NETPATH), a user, domain or password
  // HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED).
  virtual HRESULT Connect(VARIANT serverName, VARIANT user, VARIANT domain, VARIANT password) = 0;
  virtual HRESULT get_Connected(VARIANT_BOOL* connected) = 0;
};
