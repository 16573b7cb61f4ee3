// The scripts of an HTML dialog's page, run by duktape: every <script> runs once the page is
// read, the host calls the page's global functions by name, and the scripts reach the page's
// element tree through `document`. Each page has its own engine with a memory limit and a
// time limit for each run, so a hostile script is stopped and nothing else is hurt.
#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "dhtml_page.h"

struct duk_hthread;

namespace zx::html {

// A value handed to a script function.
struct ScriptValue {
  enum class Kind { Undefined, Null, Text, Number, Truth } kind = Kind::Undefined;
  std::u16string text;
  double number = 0;
  bool truth = false;
};

class ScriptEngine {
 public:
  static constexpr std::size_t kMemoryLimit = 32u << 20;
  static constexpr std::chrono::milliseconds kTimeLimit{1000};

  // Reads the page's scripts into a new engine and runs them; `fire` sends an element event
  // (a script's element.click()) to the dialog.
  ScriptEngine(Page& page, std::function<void(Node&, const char16_t* event)> fire);
  ~ScriptEngine();
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  // The id of a global function (1 and up, kept for the page), or 0 when there is none.
  int FunctionId(std::u16string_view name);
  bool Known(int id) const { return id >= 1 && static_cast<std::size_t>(id) <= functions_.size(); }
  // Calls the function of that id; FALSE for an unknown id. What the function throws, and a
  // function stopped by a limit, end the call without harm.
  bool Call(int id, const std::vector<ScriptValue>& arguments);

  // For the engine's own callbacks.
  bool Overdue();
  void* Allocate(std::size_t size);
  void* Reallocate(void* block, std::size_t size);
  void Free(void* block);
  int HandleOf(Node* node);
  Node* NodeAt(int handle) const;
  Page& page() { return page_; }
  void FireEvent(Node& node, const char16_t* event) {
    if (fire_) fire_(node, event);
  }

 private:
  // Runs `body` as a protected call with a fresh time budget.
  bool Run(int (*body)(duk_hthread*, void*), void* data);

  Page& page_;
  std::function<void(Node&, const char16_t*)> fire_;
  duk_hthread* context_ = nullptr;
  std::size_t used_ = 0;
  std::chrono::steady_clock::time_point deadline_;
  std::vector<std::u16string> functions_;
  std::vector<Node*> handles_;
  std::unordered_map<Node*, int> handleOf_;
};

}  // namespace zx::html
