// The class library's collection templates: CArray (a growable array), CList (a doubly linked
// list walked with POSITION) and CMap (a hash map walked with POSITION, in insertion order).
// Bad indexes and positions throw CInvalidArgException*, exhausted memory CMemoryException*.
// Serialize stores a count then each element (numbers little-endian, strings as CArchive
// does); loading a CArray replaces its contents, loading a CList or CMap adds to them.
#pragma once
#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>
#include "afxarch.h"
#include "afxexcept.h"
#include "afxobj.h"
#include "afxstr.h"

struct ZxPositionTag;
using POSITION = ZxPositionTag*;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

namespace zx::afx {

// Whether CArchive reads and writes T, and the fewest bytes one T takes in an archive.
template <class T>
concept Archivable = requires(CArchive& ar, T& v, const T& c) {
  ar << c;
  ar >> v;
};
template <class T>
constexpr ULONGLONG MinArchivedSize() {
  if constexpr (std::is_arithmetic_v<T>) return sizeof(T);
  else return 1;
}

// Stores a count and the elements, or reads them back through add (one call per element).
template <class T, class Range, class Add>
void SerializeCounted(CArchive& ar, const Range& items, Add add) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(items.size()));
    for (const T& item : items) ar << item;
    return;
  }
  const DWORD_PTR count = ar.ReadCount();
  ar.EnsureReadable(count, MinArchivedSize<T>());
  for (DWORD_PTR i = 0; i < count; ++i) {
    T item{};
    ar >> item;
    add(std::move(item));
  }
}

// Runs a growing operation, turning the standard library's allocation failures into the
// class library's memory exception.
template <class F>
void Growing(F grow) {
  try {
    grow();
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  } catch (const std::length_error&) {
    AfxThrowMemoryException();
  }
}

template <class T>
struct KeyHash {
  std::size_t operator()(const T& key) const {
    if constexpr (requires { typename T::XCHAR; }) {
      return std::hash<std::basic_string_view<typename T::XCHAR>>()({key.GetString(), static_cast<std::size_t>(key.GetLength())});
    } else {
      return std::hash<T>()(key);
    }
  }
};

}  // namespace zx::afx

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return items_.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  // Resizes (new elements value-initialised); the growth step is the library's own choice.
  void SetSize(INT_PTR newSize, INT_PTR /*growBy*/ = -1) {
    if (newSize < 0) AfxThrowInvalidArgException();
    zx::afx::Growing([&] { items_.resize(static_cast<std::size_t>(newSize)); });
  }
  void FreeExtra() { items_.shrink_to_fit(); }
  void RemoveAll() { items_.clear(); }

  const TYPE& GetAt(INT_PTR i) const { return items_[Checked(i)]; }
  TYPE& GetAt(INT_PTR i) { return items_[Checked(i)]; }
  void SetAt(INT_PTR i, ARG_TYPE item) { items_[Checked(i)] = item; }
  const TYPE& ElementAt(INT_PTR i) const { return GetAt(i); }
  TYPE& ElementAt(INT_PTR i) { return GetAt(i); }
  const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
  TYPE& operator[](INT_PTR i) { return GetAt(i); }
  const TYPE* GetData() const { return items_.data(); }
  TYPE* GetData() { return items_.data(); }

  void SetAtGrow(INT_PTR i, ARG_TYPE item) {
    if (i < 0) AfxThrowInvalidArgException();
    if (i >= GetSize()) {
      TYPE copy(item);  // item may live in this array
      SetSize(i + 1);
      items_[static_cast<std::size_t>(i)] = std::move(copy);
    } else {
      items_[static_cast<std::size_t>(i)] = item;
    }
  }
  INT_PTR Add(ARG_TYPE item) {
    TYPE copy(item);
    zx::afx::Growing([&] { items_.push_back(std::move(copy)); });
    return GetUpperBound();
  }
  // Appends other's elements; answers the index of the first one.
  INT_PTR Append(const CArray& other) {
    const INT_PTR first = GetSize();
    const std::vector<TYPE> copy(other.items_);  // other may be this array
    zx::afx::Growing([&] { items_.insert(items_.end(), copy.begin(), copy.end()); });
    return first;
  }
  void Copy(const CArray& other) {
    if (&other != this) items_ = other.items_;
  }
  // Inserts count copies at index; an index past the end grows the array up to it.
  void InsertAt(INT_PTR index, ARG_TYPE item, INT_PTR count = 1) {
    if (index < 0 || count < 0) AfxThrowInvalidArgException();
    const TYPE copy(item);
    if (index > GetSize()) SetSize(index);
    zx::afx::Growing([&] { items_.insert(items_.begin() + index, static_cast<std::size_t>(count), copy); });
  }
  void InsertAt(INT_PTR start, const CArray* other) {
    if (other == nullptr || start < 0) AfxThrowInvalidArgException();
    const std::vector<TYPE> copy(other->items_);
    if (start > GetSize()) SetSize(start);
    zx::afx::Growing([&] { items_.insert(items_.begin() + start, copy.begin(), copy.end()); });
  }
  void RemoveAt(INT_PTR index, INT_PTR count = 1) {
    if (index < 0 || count < 0 || count > GetSize() - index) AfxThrowInvalidArgException();
    items_.erase(items_.begin() + index, items_.begin() + index + count);
  }

  void Serialize(CArchive& ar) override {
    if constexpr (zx::afx::Archivable<TYPE>) {
      if (ar.IsLoading()) RemoveAll();
      zx::afx::SerializeCounted<TYPE>(ar, items_, [this](TYPE&& item) {
        zx::afx::Growing([&] { items_.push_back(std::move(item)); });
      });
    }
  }

 private:
  std::size_t Checked(INT_PTR i) const {
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
    return static_cast<std::size_t>(i);
  }

  std::vector<TYPE> items_;
};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
  struct Node {
    TYPE data;
    Node* prev = nullptr;
    Node* next = nullptr;
  };

 public:
  explicit CList(INT_PTR /*blockSize*/ = 10) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return count_; }
  INT_PTR GetSize() const { return count_; }
  BOOL IsEmpty() const { return count_ == 0; }

  TYPE& GetHead() { return NodeOf(Pos(head_))->data; }
  const TYPE& GetHead() const { return NodeOf(Pos(head_))->data; }
  TYPE& GetTail() { return NodeOf(Pos(tail_))->data; }
  const TYPE& GetTail() const { return NodeOf(Pos(tail_))->data; }
  TYPE RemoveHead() { return Take(Pos(head_)); }
  TYPE RemoveTail() { return Take(Pos(tail_)); }

  POSITION AddHead(ARG_TYPE item) { return Link(new Node{TYPE(item)}, nullptr, head_); }
  POSITION AddTail(ARG_TYPE item) { return Link(new Node{TYPE(item)}, tail_, nullptr); }
  void AddHead(const CList* other) {
    if (other == nullptr) AfxThrowInvalidArgException();
    const std::vector<TYPE> items = other->Items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) AddHead(*it);
  }
  void AddTail(const CList* other) {
    if (other == nullptr) AfxThrowInvalidArgException();
    for (const TYPE& item : other->Items()) AddTail(item);
  }
  void RemoveAll() {
    while (head_ != nullptr) {
      Node* next = head_->next;
      delete head_;
      head_ = next;
    }
    tail_ = nullptr;
    count_ = 0;
  }

  POSITION GetHeadPosition() const { return Pos(head_); }
  POSITION GetTailPosition() const { return Pos(tail_); }
  // The element at position, moving position to the next (null after the last).
  TYPE& GetNext(POSITION& position) {
    Node* node = NodeOf(position);
    position = Pos(node->next);
    return node->data;
  }
  const TYPE& GetNext(POSITION& position) const { return const_cast<CList*>(this)->GetNext(position); }
  TYPE& GetPrev(POSITION& position) {
    Node* node = NodeOf(position);
    position = Pos(node->prev);
    return node->data;
  }
  const TYPE& GetPrev(POSITION& position) const { return const_cast<CList*>(this)->GetPrev(position); }
  TYPE& GetAt(POSITION position) { return NodeOf(position)->data; }
  const TYPE& GetAt(POSITION position) const { return NodeOf(position)->data; }
  void SetAt(POSITION position, ARG_TYPE item) { NodeOf(position)->data = item; }
  void RemoveAt(POSITION position) { Take(position); }
  POSITION InsertBefore(POSITION position, ARG_TYPE item) {
    if (position == nullptr) return AddHead(item);
    Node* at = NodeOf(position);
    return Link(new Node{TYPE(item)}, at->prev, at);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE item) {
    if (position == nullptr) return AddTail(item);
    Node* at = NodeOf(position);
    return Link(new Node{TYPE(item)}, at, at->next);
  }
  // The first element equal to value after startAfter (from the head when null), or null.
  POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const {
    for (Node* node = startAfter == nullptr ? head_ : NodeOf(startAfter)->next; node != nullptr; node = node->next)
      if (node->data == value) return Pos(node);
    return nullptr;
  }
  POSITION FindIndex(INT_PTR index) const {
    if (index < 0 || index >= count_) return nullptr;
    Node* node = head_;
    while (index-- > 0) node = node->next;
    return Pos(node);
  }

  void Serialize(CArchive& ar) override {
    if constexpr (zx::afx::Archivable<TYPE>) {
      zx::afx::SerializeCounted<TYPE>(ar, Items(), [this](TYPE&& item) { AddTail(item); });
    }
  }

 private:
  static POSITION Pos(Node* node) { return reinterpret_cast<POSITION>(node); }
  static Node* NodeOf(POSITION position) {
    if (position == nullptr || position == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return reinterpret_cast<Node*>(position);
  }
  POSITION Link(Node* node, Node* prev, Node* next) {
    node->prev = prev;
    node->next = next;
    (prev != nullptr ? prev->next : head_) = node;
    (next != nullptr ? next->prev : tail_) = node;
    ++count_;
    return Pos(node);
  }
  TYPE Take(POSITION position) {
    Node* node = NodeOf(position);
    (node->prev != nullptr ? node->prev->next : head_) = node->next;
    (node->next != nullptr ? node->next->prev : tail_) = node->prev;
    --count_;
    TYPE data = std::move(node->data);
    delete node;
    return data;
  }
  std::vector<TYPE> Items() const {
    std::vector<TYPE> items;
    for (Node* node = head_; node != nullptr; node = node->next) items.push_back(node->data);
    return items;
  }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  INT_PTR count_ = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
  struct Entry;
  using Node = std::pair<const KEY, Entry>;
  struct Entry {
    VALUE value{};
    Node* prev = nullptr;
    Node* next = nullptr;
  };

 public:
  CMap() = default;

  INT_PTR GetCount() const { return static_cast<INT_PTR>(index_.size()); }
  INT_PTR GetSize() const { return GetCount(); }
  BOOL IsEmpty() const { return index_.empty(); }
  void InitHashTable(UINT hashSize, BOOL /*allocNow*/ = TRUE) {
    zx::afx::Growing([&] { index_.reserve(hashSize); });
  }
  UINT GetHashTableSize() const { return static_cast<UINT>(index_.bucket_count()); }

  BOOL Lookup(ARG_KEY key, VALUE& value) const {
    const auto it = index_.find(KEY(key));
    if (it == index_.end()) return FALSE;
    value = it->second.value;
    return TRUE;
  }
  // The value for key, added (value-initialised) when missing.
  VALUE& operator[](ARG_KEY key) {
    Node* node = nullptr;
    zx::afx::Growing([&] {
      auto [it, added] = index_.try_emplace(KEY(key));
      node = &*it;
      if (added) Append(node);
    });
    return node->second.value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) {
    const VALUE copy(value);
    (*this)[key] = copy;
  }
  BOOL RemoveKey(ARG_KEY key) {
    const auto it = index_.find(KEY(key));
    if (it == index_.end()) return FALSE;
    Node* node = &*it;
    (node->second.prev != nullptr ? node->second.prev->second.next : head_) = node->second.next;
    (node->second.next != nullptr ? node->second.next->second.prev : tail_) = node->second.prev;
    index_.erase(it);
    return TRUE;
  }
  void RemoveAll() {
    index_.clear();
    head_ = tail_ = nullptr;
  }

  POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(head_); }
  // The association at position, moving position to the next (null after the last).
  void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const {
    if (position == nullptr || position == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    const Node* node = reinterpret_cast<const Node*>(position);
    key = node->first;
    value = node->second.value;
    position = reinterpret_cast<POSITION>(node->second.next);
  }

  void Serialize(CArchive& ar) override {
    if constexpr (zx::afx::Archivable<KEY> && zx::afx::Archivable<VALUE>) {
      if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(GetCount()));
        for (const Node* node = head_; node != nullptr; node = node->second.next)
          ar << node->first << node->second.value;
        return;
      }
      const DWORD_PTR count = ar.ReadCount();
      ar.EnsureReadable(count, zx::afx::MinArchivedSize<KEY>() + zx::afx::MinArchivedSize<VALUE>());
      for (DWORD_PTR i = 0; i < count; ++i) {
        KEY key{};
        VALUE value{};
        ar >> key >> value;
        (*this)[key] = std::move(value);
      }
    }
  }

 private:
  void Append(Node* node) {
    node->second.prev = tail_;
    (tail_ != nullptr ? tail_->second.next : head_) = node;
    tail_ = node;
  }

  std::unordered_map<KEY, Entry, zx::afx::KeyHash<KEY>> index_;
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
};
