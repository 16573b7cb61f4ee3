// The one-click popup's arming.
#include "LauncherState.h"

bool CPopupArming::TryDisarm(HWND parent) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_armed) return false;
  m_armed = false;
  m_parent = parent;
  return true;
}

void CPopupArming::Rearm() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_armed = true;
}

HWND CPopupArming::GetParent() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_parent;
}
