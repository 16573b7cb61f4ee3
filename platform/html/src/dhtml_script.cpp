// The page's scripts on duktape: the engine's memory comes from a counted allocator with a
// limit, its executor asks for the time limit, and `document` with its elements is a small
// script over native calls into the element tree (elements are handles into a table; a node
// with a handle stays alive as long as the page).
#include "dhtml_script.h"

#include <duktape.h>

#include <cstdlib>
#include <cstring>

#include "litepage.h"

extern "C" int zx_html_script_overdue(void* udata) {
  return udata && static_cast<zx::html::ScriptEngine*>(udata)->Overdue() ? 1 : 0;
}

namespace zx::html {
namespace {

constexpr const char kDocument[] = R"js((function (n) {
  var made = {};
  function text(get, set) { return { get: get, set: set, enumerable: true }; }
  function wrap(h) {
    if (h < 0) return null;
    if (made[h]) return made[h];
    var e = {};
    Object.defineProperties(e, {
      innerText: text(function () { return n.text(h); }, function (v) { n.setText(h, String(v)); }),
      textContent: text(function () { return n.text(h); }, function (v) { n.setText(h, String(v)); }),
      innerHTML: text(function () { return n.html(h); }, function (v) { n.setHtml(h, String(v)); }),
      id: text(function () { return n.attr(h, 'id') || ''; }, function (v) { n.setAttr(h, 'id', String(v)); }),
      className: text(function () { return n.attr(h, 'class') || ''; }, function (v) { n.setAttr(h, 'class', String(v)); }),
      tagName: text(function () { return n.tag(h); }),
      parentElement: text(function () { return wrap(n.parent(h)); }),
      style: { value: new Proxy({}, {
        get: function (t, k) { return typeof k === 'string' ? n.style(h, k) : undefined; },
        set: function (t, k, v) { n.setStyle(h, String(k), String(v)); return true; } }) }
    });
    e.getAttribute = function (name) { return n.attr(h, String(name)); };
    e.setAttribute = function (name, v) { n.setAttr(h, String(name), String(v)); };
    e.click = function () { n.fire(h, 'onclick'); };
    made[h] = e;
    return e;
  }
  var doc = { getElementById: function (id) { return wrap(n.find(String(id))); } };
  Object.defineProperties(doc, {
    title: text(function () { return n.title(); }),
    body: text(function () { return wrap(n.body()); })
  });
  var global = new Function('return this')();
  global.document = doc;
  global.window = global;
  global.alert = function () {};
}))js";

ScriptEngine& EngineOf(duk_context* ctx) {
  duk_memory_functions functions;
  duk_get_memory_functions(ctx, &functions);
  return *static_cast<ScriptEngine*>(functions.udata);
}

std::u16string TextArg(duk_context* ctx, duk_idx_t index) {
  duk_size_t length = 0;
  const char* text = duk_safe_to_lstring(ctx, index, &length);
  return Utf16Of(std::string_view(text, length));
}

void PushText(duk_context* ctx, const std::u16string& text) {
  const std::string utf8 = Utf8Of(text);
  duk_push_lstring(ctx, utf8.data(), utf8.size());
}

// The node of argument 0, or a thrown error for a handle the table lacks.
Node& NodeArg(duk_context* ctx) {
  Node* node = EngineOf(ctx).NodeAt(duk_require_int(ctx, 0));
  if (!node) (void)duk_error(ctx, DUK_ERR_REFERENCE_ERROR, "no such element");
  return *node;
}

Node* FirstTag(Node& node, std::u16string_view tag) {
  if (node.tag == tag) return &node;
  for (const auto& child : node.children)
    if (Node* found = FirstTag(*child, tag)) return found;
  return nullptr;
}

// "fontSize" as the style property "font-size".
std::u16string CssName(const std::u16string& name) {
  std::u16string out;
  for (char16_t c : name) {
    if (c >= u'A' && c <= u'Z') {
      out += u'-';
      out += static_cast<char16_t>(c + 32);
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string Trimmed(std::u16string_view s) {
  const auto first = s.find_first_not_of(u" \t\r\n");
  if (first == std::u16string_view::npos) return {};
  return std::u16string(s.substr(first, s.find_last_not_of(u" \t\r\n") - first + 1));
}

// The declarations of a style attribute, in order.
std::vector<std::pair<std::u16string, std::u16string>> Declarations(const std::u16string* style) {
  std::vector<std::pair<std::u16string, std::u16string>> out;
  if (!style) return out;
  std::size_t start = 0;
  while (start < style->size()) {
    std::size_t end = style->find(u';', start);
    if (end == std::u16string::npos) end = style->size();
    const std::u16string_view part = std::u16string_view(*style).substr(start, end - start);
    const std::size_t colon = part.find(u':');
    if (colon != std::u16string_view::npos) out.emplace_back(Trimmed(part.substr(0, colon)), Trimmed(part.substr(colon + 1)));
    start = end + 1;
  }
  return out;
}

std::u16string LowerCase(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

duk_ret_t Find(duk_context* ctx) {
  ScriptEngine& engine = EngineOf(ctx);
  duk_push_int(ctx, engine.HandleOf(engine.page().Find(TextArg(ctx, 0))));
  return 1;
}
duk_ret_t GetText(duk_context* ctx) {
  PushText(ctx, NodeArg(ctx).InnerText());
  return 1;
}
duk_ret_t SetText(duk_context* ctx) {
  EngineOf(ctx).page().SetText(NodeArg(ctx), TextArg(ctx, 1));
  return 0;
}
duk_ret_t GetHtml(duk_context* ctx) {
  PushText(ctx, InnerHtml(NodeArg(ctx)));
  return 1;
}
duk_ret_t SetHtml(duk_context* ctx) {
  EngineOf(ctx).page().SetHtml(NodeArg(ctx), TextArg(ctx, 1));
  return 0;
}
duk_ret_t GetAttribute(duk_context* ctx) {
  const std::u16string* value = NodeArg(ctx).Attribute(LowerCase(TextArg(ctx, 1)));
  if (value) PushText(ctx, *value);
  else duk_push_null(ctx);
  return 1;
}
duk_ret_t PutAttribute(duk_context* ctx) {
  EngineOf(ctx).page().SetAttribute(NodeArg(ctx), LowerCase(TextArg(ctx, 1)), TextArg(ctx, 2));
  return 0;
}
duk_ret_t Tag(duk_context* ctx) {
  std::u16string upper = NodeArg(ctx).tag;
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  PushText(ctx, upper);
  return 1;
}
duk_ret_t Parent(duk_context* ctx) {
  Node* parent = NodeArg(ctx).parent;
  duk_push_int(ctx, parent && parent->parent ? EngineOf(ctx).HandleOf(parent) : -1);
  return 1;
}
duk_ret_t GetStyle(duk_context* ctx) {
  const std::u16string name = CssName(TextArg(ctx, 1));
  std::u16string value;
  for (const auto& [n, v] : Declarations(NodeArg(ctx).Attribute(u"style")))
    if (n == name) value = v;
  PushText(ctx, value);
  return 1;
}
duk_ret_t PutStyle(duk_context* ctx) {
  Node& node = NodeArg(ctx);
  const std::u16string name = CssName(TextArg(ctx, 1));
  const std::u16string value = TextArg(ctx, 2);
  auto declarations = Declarations(node.Attribute(u"style"));
  bool found = false;
  for (auto& [n, v] : declarations)
    if (n == name) {
      v = value;
      found = true;
    }
  if (!found) declarations.emplace_back(name, value);
  std::u16string style;
  for (const auto& [n, v] : declarations)
    if (!v.empty()) style += n + u": " + v + u"; ";
  EngineOf(ctx).page().SetAttribute(node, u"style", Trimmed(style));
  return 0;
}
duk_ret_t Title(duk_context* ctx) {
  const Node* title = FirstTag(EngineOf(ctx).page().Root(), u"title");
  PushText(ctx, title ? title->InnerText() : std::u16string());
  return 1;
}
duk_ret_t Body(duk_context* ctx) {
  ScriptEngine& engine = EngineOf(ctx);
  duk_push_int(ctx, engine.HandleOf(FirstTag(engine.page().Root(), u"body")));
  return 1;
}
duk_ret_t Fire(duk_context* ctx) {
  const std::u16string event = TextArg(ctx, 1);
  EngineOf(ctx).FireEvent(NodeArg(ctx), event.c_str());
  return 0;
}

struct Native {
  const char* name;
  duk_c_function function;
  duk_idx_t arguments;
};
constexpr Native kNatives[] = {
    {"find", Find, 1},         {"text", GetText, 1},       {"setText", SetText, 2},   {"html", GetHtml, 1},
    {"setHtml", SetHtml, 2},   {"attr", GetAttribute, 2},  {"setAttr", PutAttribute, 3}, {"tag", Tag, 1},
    {"parent", Parent, 1},     {"style", GetStyle, 2},     {"setStyle", PutStyle, 3}, {"title", Title, 0},
    {"body", Body, 0},         {"fire", Fire, 2}};

// Sets up `document` over the natives.
duk_ret_t Start(duk_context* ctx, void*) {
  duk_eval_string(ctx, kDocument);
  duk_push_object(ctx);
  for (const Native& native : kNatives) {
    duk_push_c_function(ctx, native.function, native.arguments);
    duk_put_prop_string(ctx, -2, native.name);
  }
  duk_call(ctx, 1);
  return 0;
}

// Runs one script (the text given as data); what it throws ends it alone, as in a browser.
duk_ret_t Evaluate(duk_context* ctx, void* data) {
  const auto& script = *static_cast<const std::string*>(data);
  duk_eval_lstring_noresult(ctx, script.data(), script.size());
  return 0;
}

struct CallData {
  std::string name;
  const std::vector<ScriptValue>* arguments;
};

duk_ret_t Invoke(duk_context* ctx, void* data) {
  const auto& call = *static_cast<const CallData*>(data);
  duk_get_global_lstring(ctx, call.name.data(), call.name.size());
  for (const ScriptValue& v : *call.arguments) {
    switch (v.kind) {
      case ScriptValue::Kind::Undefined: duk_push_undefined(ctx); break;
      case ScriptValue::Kind::Null: duk_push_null(ctx); break;
      case ScriptValue::Kind::Text: PushText(ctx, v.text); break;
      case ScriptValue::Kind::Number: duk_push_number(ctx, v.number); break;
      case ScriptValue::Kind::Truth: duk_push_boolean(ctx, v.truth); break;
    }
  }
  duk_pcall(ctx, static_cast<duk_idx_t>(call.arguments->size()));
  return 0;
}

struct Lookup {
  std::string name;
  bool found = false;
};

duk_ret_t IsFunction(duk_context* ctx, void* data) {
  auto& lookup = *static_cast<Lookup*>(data);
  duk_get_global_lstring(ctx, lookup.name.data(), lookup.name.size());
  lookup.found = duk_is_function(ctx, -1);
  return 0;
}

void Scripts(const Node& node, std::vector<std::string>& out) {
  if (node.tag == u"script") {
    const std::u16string* type = node.Attribute(u"type");
    if (!type || LowerCase(*type).find(u"javascript") != std::u16string::npos) out.push_back(Utf8Of(node.InnerText()));
    return;
  }
  for (const auto& child : node.children) Scripts(*child, out);
}

// Blocks carry their size in front, so that the limit counts what is freed.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* AllocateFor(void* udata, duk_size_t size) { return static_cast<ScriptEngine*>(udata)->Allocate(size); }
void* ReallocateFor(void* udata, void* block, duk_size_t size) {
  return static_cast<ScriptEngine*>(udata)->Reallocate(block, size);
}
void FreeFor(void* udata, void* block) { static_cast<ScriptEngine*>(udata)->Free(block); }
[[noreturn]] void Fatal(void*, const char* message) {
  // Only reached for an error outside every protected call, which the engine never makes.
  std::fprintf(stderr, "script engine: %s\n", message ? message : "fatal error");
  std::abort();
}

}  // namespace

ScriptEngine::ScriptEngine(Page& page, std::function<void(Node&, const char16_t*)> fire)
    : page_(page), fire_(std::move(fire)) {
  context_ = duk_create_heap(AllocateFor, ReallocateFor, FreeFor, this, Fatal);
  if (!context_) return;
  if (!Run(Start, nullptr)) return;
  std::vector<std::string> scripts;
  Scripts(page_.Root(), scripts);
  for (std::string& script : scripts) Run(Evaluate, &script);
}

ScriptEngine::~ScriptEngine() {
  if (context_) duk_destroy_heap(context_);
  for (Node* node : handles_) --node->handles;
}

bool ScriptEngine::Run(int (*body)(duk_hthread*, void*), void* data) {
  if (!context_) return false;
  deadline_ = std::chrono::steady_clock::now() + kTimeLimit;
  const bool ran = duk_safe_call(context_, body, data, 0, 1) == DUK_EXEC_SUCCESS;
  duk_pop(context_);
  deadline_ = std::chrono::steady_clock::time_point::max();
  return ran;
}

bool ScriptEngine::Overdue() {
  return std::chrono::steady_clock::now() > deadline_;
}

void* ScriptEngine::Allocate(std::size_t size) {
  if (size == 0) return nullptr;
  if (size > kMemoryLimit || used_ + size > kMemoryLimit) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) return nullptr;
  std::memcpy(block, &size, sizeof size);
  used_ += size;
  return block + kHeader;
}

void* ScriptEngine::Reallocate(void* block, std::size_t size) {
  if (!block) return Allocate(size);
  if (size == 0) {
    Free(block);
    return nullptr;
  }
  unsigned char* start = static_cast<unsigned char*>(block) - kHeader;
  std::size_t old = 0;
  std::memcpy(&old, start, sizeof old);
  if (size > old && (size > kMemoryLimit || used_ + (size - old) > kMemoryLimit)) return nullptr;
  auto* moved = static_cast<unsigned char*>(std::realloc(start, size + kHeader));
  if (!moved) return nullptr;
  std::memcpy(moved, &size, sizeof size);
  used_ = used_ - old + size;
  return moved + kHeader;
}

void ScriptEngine::Free(void* block) {
  if (!block) return;
  unsigned char* start = static_cast<unsigned char*>(block) - kHeader;
  std::size_t size = 0;
  std::memcpy(&size, start, sizeof size);
  used_ -= size;
  std::free(start);
}

int ScriptEngine::HandleOf(Node* node) {
  if (!node) return -1;
  const auto known = handleOf_.find(node);
  if (known != handleOf_.end()) return known->second;
  ++node->handles;
  handles_.push_back(node);
  return handleOf_[node] = static_cast<int>(handles_.size() - 1);
}

Node* ScriptEngine::NodeAt(int handle) const {
  return handle >= 0 && static_cast<std::size_t>(handle) < handles_.size() ? handles_[static_cast<std::size_t>(handle)]
                                                                            : nullptr;
}

int ScriptEngine::FunctionId(std::u16string_view name) {
  for (std::size_t i = 0; i < functions_.size(); ++i)
    if (functions_[i] == name) return static_cast<int>(i + 1);
  Lookup lookup{Utf8Of(name)};
  if (name.empty() || !Run(IsFunction, &lookup) || !lookup.found) return 0;
  functions_.emplace_back(name);
  return static_cast<int>(functions_.size());
}

bool ScriptEngine::Call(int id, const std::vector<ScriptValue>& arguments) {
  if (!Known(id)) return false;
  CallData call{Utf8Of(functions_[static_cast<std::size_t>(id - 1)]), &arguments};
  Run(Invoke, &call);
  return true;
}

}  // namespace zx::html
