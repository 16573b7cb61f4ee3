// CString / CStringA members, instantiated once for both widths.
#include <algorithm>

#include "afxexcept.h"
#include "afxstr.h"
#include "ansi.h"

namespace {

template <class T>
bool IsSpace(T c) {
  return c == T(' ') || (c >= T('\t') && c <= T('\r'));
}

template <class T>
std::basic_string_view<T> ViewOf(const T* text) {
  return text != nullptr ? std::basic_string_view<T>(text) : std::basic_string_view<T>();
}

template <class T>
std::basic_string_view<T> ViewOf(const T* text, int length) {
  if (length < 0) AfxThrowInvalidArgException();
  if (text == nullptr && length > 0) AfxThrowInvalidArgException();
  return std::basic_string_view<T>(text, static_cast<std::size_t>(length));
}

}  // namespace

template <class T>
std::basic_string_view<T> CStringT<T>::View(PCXSTR text) {
  return ViewOf(text);
}

template <class T>
CStringT<T> CStringT<T>::Joined(const CStringT& a, std::basic_string_view<T> b) {
  CStringT out;
  out.text_.reserve(a.text_.size() + b.size());
  out.text_ = a.text_;
  out.text_ += b;
  return out;
}

template <class T>
CStringT<T> CStringT<T>::Formatted(PCXSTR format, std::initializer_list<zx::afx::FormatArg> args) {
  CStringT out;
  zx::afx::FormatInto(out.text_, format, args.begin(), args.size());
  return out;
}

template <class T>
CStringT<T>::CStringT(PCXSTR text) : text_(ViewOf(text)) {}
template <class T>
CStringT<T>::CStringT(PCYSTR text) : text_(zx::afx::ConvertText<T>(ViewOf(text))) {}
template <class T>
CStringT<T>::CStringT(PCXSTR text, int length) : text_(ViewOf(text, length)) {}
template <class T>
CStringT<T>::CStringT(PCYSTR text, int length)
    : text_(zx::afx::ConvertText<T>(ViewOf(text, length))) {}
template <class T>
CStringT<T>::CStringT(XCHAR ch, int repeat) : text_(static_cast<std::size_t>(std::max(repeat, 0)), ch) {}
template <class T>
CStringT<T>::CStringT(const CStringT<YCHAR>& other)
    : text_(zx::afx::ConvertText<T>(std::basic_string_view<YCHAR>(other.GetString(), other.GetLength()))) {}

template <class T>
CStringT<T>& CStringT<T>::operator=(PCXSTR text) {
  text_.assign(ViewOf(text));  // safe when text points into this string
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::operator=(PCYSTR text) {
  return *this = CStringT(text);
}
template <class T>
CStringT<T>& CStringT<T>::operator=(XCHAR ch) {
  text_.assign(1, ch);
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::operator=(YCHAR ch) {
  return *this = CStringT(&ch, 1);
}
template <class T>
CStringT<T>& CStringT<T>::operator=(const CStringT<YCHAR>& other) {
  return *this = CStringT(other);
}
template <class T>
CStringT<T>& CStringT<T>::operator+=(const CStringT& text) {
  text_ += text.text_;
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::operator+=(PCXSTR text) {
  text_.append(ViewOf(text));
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::operator+=(PCYSTR text) {
  return *this += CStringT(text);
}
template <class T>
CStringT<T>& CStringT<T>::operator+=(XCHAR ch) {
  text_ += ch;
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::operator+=(YCHAR ch) {
  return *this += CStringT(&ch, 1);
}

template <class T>
T CStringT<T>::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
  return text_[static_cast<std::size_t>(index)];
}
template <class T>
void CStringT<T>::SetAt(int index, XCHAR ch) {
  if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
  text_[static_cast<std::size_t>(index)] = ch;
}

template <class T>
T* CStringT<T>::GetBuffer() {
  return text_.data();
}
template <class T>
T* CStringT<T>::GetBuffer(int minLength) {
  if (minLength < 0) AfxThrowInvalidArgException();
  if (static_cast<std::size_t>(minLength) > text_.size()) text_.resize(static_cast<std::size_t>(minLength));
  return text_.data();
}
template <class T>
T* CStringT<T>::GetBufferSetLength(int length) {
  if (length < 0) AfxThrowInvalidArgException();
  text_.resize(static_cast<std::size_t>(length));
  return text_.data();
}
template <class T>
void CStringT<T>::ReleaseBuffer(int newLength) {
  if (newLength < -1) AfxThrowInvalidArgException();
  const std::size_t end = newLength == -1
                              ? std::min(std::basic_string_view<T>(text_).find(T{}), text_.size())
                              : std::min(static_cast<std::size_t>(newLength), text_.size());
  text_.resize(end);
}
template <class T>
void CStringT<T>::ReleaseBufferSetLength(int newLength) {
  if (newLength < 0) AfxThrowInvalidArgException();
  text_.resize(static_cast<std::size_t>(newLength));
}
template <class T>
void CStringT<T>::Preallocate(int length) {
  if (length < 0) AfxThrowInvalidArgException();
  text_.reserve(static_cast<std::size_t>(length));
}

template <class T>
void CStringT<T>::SetString(PCXSTR text) {
  *this = text;
}
template <class T>
void CStringT<T>::SetString(PCXSTR text, int length) {
  text_.assign(ViewOf(text, length));
}
template <class T>
void CStringT<T>::Append(PCXSTR text) {
  text_.append(ViewOf(text));
}
template <class T>
void CStringT<T>::Append(PCXSTR text, int length) {
  text_.append(ViewOf(text, length));
}

template <class T>
int CStringT<T>::Compare(PCXSTR text) const {
  const int c = std::basic_string_view<T>(text_).compare(ViewOf(text));
  return (c > 0) - (c < 0);
}
template <class T>
int CStringT<T>::CompareNoCase(PCXSTR text) const {
  const auto other = ViewOf(text);
  const std::size_t n = std::min(text_.size(), other.size());
  for (std::size_t i = 0; i < n; ++i) {
    const WCHAR a = zx::afx::FoldUnit(text_[i]);
    const WCHAR b = zx::afx::FoldUnit(other[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return (text_.size() > other.size()) - (text_.size() < other.size());
}

template <class T>
int CStringT<T>::Find(XCHAR ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const auto at = text_.find(ch, static_cast<std::size_t>(start));
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}
template <class T>
int CStringT<T>::Find(PCXSTR sub, int start) const {
  if (sub == nullptr || start < 0 || start > GetLength()) return -1;
  const auto at = text_.find(ViewOf(sub), static_cast<std::size_t>(start));
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}
template <class T>
int CStringT<T>::ReverseFind(XCHAR ch) const {
  const auto at = text_.rfind(ch);
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}
template <class T>
int CStringT<T>::FindOneOf(PCXSTR charSet) const {
  const auto at = text_.find_first_of(ViewOf(charSet));
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}

template <class T>
CStringT<T> CStringT<T>::Mid(int first) const {
  return Mid(first, GetLength());
}
template <class T>
CStringT<T> CStringT<T>::Mid(int first, int count) const {
  const long long length = GetLength();
  const long long from = std::clamp<long long>(first, 0, length);
  const long long n = std::clamp<long long>(count, 0, length - from);
  CStringT out;
  out.text_ = text_.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(n));
  return out;
}
template <class T>
CStringT<T> CStringT<T>::Left(int count) const {
  return Mid(0, count);
}
template <class T>
CStringT<T> CStringT<T>::Right(int count) const {
  const int n = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - n, n);
}
template <class T>
CStringT<T> CStringT<T>::SpanIncluding(PCXSTR charSet) const {
  const auto at = text_.find_first_not_of(ViewOf(charSet));
  return Left(at == std::basic_string<T>::npos ? GetLength() : static_cast<int>(at));
}
template <class T>
CStringT<T> CStringT<T>::SpanExcluding(PCXSTR charSet) const {
  const auto at = text_.find_first_of(ViewOf(charSet));
  return Left(at == std::basic_string<T>::npos ? GetLength() : static_cast<int>(at));
}

template <class T>
CStringT<T> CStringT<T>::Tokenize(PCXSTR tokens, int& start) const {
  if (start >= 0 && start < GetLength()) {
    const auto delimiters = ViewOf(tokens);
    if (delimiters.empty()) {
      const int from = start;
      start = GetLength();
      return Mid(from);
    }
    const auto from = text_.find_first_not_of(delimiters, static_cast<std::size_t>(start));
    if (from != std::basic_string<T>::npos) {
      auto until = text_.find_first_of(delimiters, from);
      if (until == std::basic_string<T>::npos) until = text_.size();
      start = static_cast<int>(until) + 1;
      return Mid(static_cast<int>(from), static_cast<int>(until - from));
    }
  }
  start = -1;
  return CStringT();
}

template <class T>
CStringT<T>& CStringT<T>::MakeUpper() {
  for (T& c : text_) c = zx::afx::UpperUnit(c);
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::MakeLower() {
  for (T& c : text_) c = zx::afx::LowerUnit(c);
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::MakeReverse() {
  std::reverse(text_.begin(), text_.end());
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::Trim() {
  return TrimRight().TrimLeft();
}
template <class T>
CStringT<T>& CStringT<T>::Trim(XCHAR target) {
  return TrimRight(target).TrimLeft(target);
}
template <class T>
CStringT<T>& CStringT<T>::Trim(PCXSTR targets) {
  return TrimRight(targets).TrimLeft(targets);
}
template <class T>
CStringT<T>& CStringT<T>::TrimLeft() {
  text_.erase(text_.begin(), std::find_if_not(text_.begin(), text_.end(), IsSpace<T>));
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::TrimLeft(XCHAR target) {
  return TrimLeft(std::basic_string<T>(1, target).c_str());
}
template <class T>
CStringT<T>& CStringT<T>::TrimLeft(PCXSTR targets) {
  const auto set = ViewOf(targets);
  if (!set.empty()) text_.erase(0, std::min(text_.find_first_not_of(set), text_.size()));
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::TrimRight() {
  text_.erase(std::find_if_not(text_.rbegin(), text_.rend(), IsSpace<T>).base(), text_.end());
  return *this;
}
template <class T>
CStringT<T>& CStringT<T>::TrimRight(XCHAR target) {
  return TrimRight(std::basic_string<T>(1, target).c_str());
}
template <class T>
CStringT<T>& CStringT<T>::TrimRight(PCXSTR targets) {
  const auto set = ViewOf(targets);
  if (set.empty()) return *this;
  const auto last = text_.find_last_not_of(set);
  text_.resize(last == std::basic_string<T>::npos ? 0 : last + 1);
  return *this;
}

template <class T>
int CStringT<T>::Replace(XCHAR oldCh, XCHAR newCh) {
  if (oldCh == newCh) return 0;
  int count = 0;
  for (T& c : text_)
    if (c == oldCh) c = newCh, ++count;
  return count;
}
template <class T>
int CStringT<T>::Replace(PCXSTR oldText, PCXSTR newText) {
  const auto from = ViewOf(oldText);
  if (from.empty()) return 0;
  const std::basic_string<T> to(ViewOf(newText));  // may point into this string
  std::basic_string<T> out;
  int count = 0;
  std::size_t at = 0;
  for (auto hit = text_.find(from); hit != std::basic_string<T>::npos; hit = text_.find(from, at)) {
    out.append(text_, at, hit - at).append(to);
    at = hit + from.size();
    ++count;
  }
  if (count > 0) text_ = out.append(text_, at);
  return count;
}
template <class T>
int CStringT<T>::Remove(XCHAR ch) {
  const auto before = text_.size();
  std::erase(text_, ch);
  return static_cast<int>(before - text_.size());
}
template <class T>
int CStringT<T>::Insert(int index, XCHAR ch) {
  return Insert(index, std::basic_string<T>(1, ch).c_str());
}
template <class T>
int CStringT<T>::Insert(int index, PCXSTR text) {
  const std::basic_string<T> piece(ViewOf(text));  // may point into this string
  text_.insert(static_cast<std::size_t>(std::clamp(index, 0, GetLength())), piece);
  return GetLength();
}
template <class T>
int CStringT<T>::Delete(int index, int count) {
  const int from = std::max(index, 0);
  if (from < GetLength() && count > 0)
    text_.erase(static_cast<std::size_t>(from),
                static_cast<std::size_t>(std::min<long long>(count, GetLength() - from)));
  return GetLength();
}

template class CStringT<WCHAR>;
template class CStringT<char>;
