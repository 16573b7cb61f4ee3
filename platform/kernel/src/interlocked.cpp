// The interlocked operations on 32-bit and 64-bit values, as full barriers.
#include "synchapi.h"

LONG InterlockedIncrement(volatile LONG* addend) {
  return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

LONG InterlockedDecrement(volatile LONG* addend) {
  return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

LONG InterlockedExchange(volatile LONG* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

LONG InterlockedExchangeAdd(volatile LONG* addend, LONG value) {
  return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}

LONG InterlockedCompareExchange(volatile LONG* destination, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST,
                              __ATOMIC_SEQ_CST);
  return comparand;
}

LONGLONG InterlockedIncrement64(volatile LONGLONG* addend) {
  return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

LONGLONG InterlockedExchangeAdd64(volatile LONGLONG* addend, LONGLONG value) {
  return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}
