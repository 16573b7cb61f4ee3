// A process-wide ring of N texts that functions answering an LPCTSTR hand out in turn: each
// answer stays valid until N further calls of the same ring.
#pragma once
#include <afx.h>

#include <array>
#include <cstddef>

#include "Locks.h"

template <std::size_t N>
class CTextRing {
 public:
  CTextRing() { InitLock(&m_lock); }
  CTextRing(const CTextRing&) = delete;
  CTextRing& operator=(const CTextRing&) = delete;

  // Fills the next slot through fill(CString&) under the ring's lock and answers it.
  template <class Fill>
  LPCTSTR Next(Fill fill) {
    EnterLock guard(&m_lock);
    CString& slot = m_slots[m_next];
    m_next = (m_next + 1) % N;
    fill(slot);
    return slot;
  }

 private:
  CRITICAL_SECTION m_lock;
  std::array<CString, N> m_slots;
  std::size_t m_next = 0;
};
