// The presenter's key mapping on the keypad: digits by Num Lock, operators, and the editing
// keys the keypad gives without Num Lock. Keysyms are written as X numbers them.
#include <gtest/gtest.h>

#include "wininput.h"
#include "x11_keys.h"

namespace {

using zx::user::VirtualKeyOfKey;
using zx::user::VirtualKeyOfKeysym;

// X keysyms of the keypad.
constexpr unsigned long kKpHome = 0xff95, kKpLeft = 0xff96, kKpUp = 0xff97, kKpRight = 0xff98,
                        kKpDown = 0xff99, kKpPrior = 0xff9a, kKpNext = 0xff9b, kKpEnd = 0xff9c,
                        kKpBegin = 0xff9d, kKpInsert = 0xff9e, kKpDelete = 0xff9f;
constexpr unsigned long kKpMultiply = 0xffaa, kKpAdd = 0xffab, kKpSeparator = 0xffac,
                        kKpSubtract = 0xffad, kKpDecimal = 0xffae, kKpDivide = 0xffaf;
constexpr unsigned long kKp0 = 0xffb0, kKpEnter = 0xff8d, kNumLock = 0xff7f;

// The keypad's digit keys as a standard keymap lays them: (unshifted, shifted).
struct DigitKey {
  unsigned long unshifted;
  int digit;
  int editingKey;
};
constexpr DigitKey kDigitKeys[] = {
    {kKpInsert, 0, 0x2D}, {kKpEnd, 1, 0x23},  {kKpDown, 2, 0x28},  {kKpNext, 3, 0x22},
    {kKpLeft, 4, 0x25},   {kKpBegin, 5, 0x0C}, {kKpRight, 6, 0x27}, {kKpHome, 7, 0x24},
    {kKpUp, 8, 0x26},     {kKpPrior, 9, 0x21},
};

TEST(KeypadKeys, VirtualKeysKeepWindowsNumbers) {
  EXPECT_EQ(VK_NUMPAD0, 0x60);
  EXPECT_EQ(VK_NUMPAD5, 0x65);
  EXPECT_EQ(VK_MULTIPLY, 0x6A);
  EXPECT_EQ(VK_ADD, 0x6B);
  EXPECT_EQ(VK_SEPARATOR, 0x6C);
  EXPECT_EQ(VK_SUBTRACT, 0x6D);
  EXPECT_EQ(VK_DECIMAL, 0x6E);
  EXPECT_EQ(VK_DIVIDE, 0x6F);
}

TEST(KeypadKeys, DigitsWithNumLockAreNumpadKeys) {
  for (const DigitKey& key : kDigitKeys)
    EXPECT_EQ(VirtualKeyOfKey(key.unshifted, kKp0 + key.digit, true), 0x60 + key.digit) << key.digit;
  EXPECT_EQ(VirtualKeyOfKey(kKpBegin, kKp0 + 5, true), VK_NUMPAD5);
}

TEST(KeypadKeys, DigitsWithoutNumLockAreEditingKeys) {
  for (const DigitKey& key : kDigitKeys)
    EXPECT_EQ(VirtualKeyOfKey(key.unshifted, kKp0 + key.digit, false), key.editingKey) << key.digit;
}

TEST(KeypadKeys, DecimalPointFollowsNumLock) {
  EXPECT_EQ(VirtualKeyOfKey(kKpDelete, kKpDecimal, true), VK_DECIMAL);
  EXPECT_EQ(VirtualKeyOfKey(kKpDelete, kKpDecimal, false), VK_DELETE);
}

TEST(KeypadKeys, OperatorsIgnoreNumLock) {
  for (const bool numLock : {true, false}) {
    EXPECT_EQ(VirtualKeyOfKey(kKpDivide, kKpDivide, numLock), VK_DIVIDE);
    EXPECT_EQ(VirtualKeyOfKey(kKpMultiply, kKpMultiply, numLock), VK_MULTIPLY);
    EXPECT_EQ(VirtualKeyOfKey(kKpSubtract, kKpSubtract, numLock), VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyOfKey(kKpAdd, kKpAdd, numLock), VK_ADD);
    EXPECT_EQ(VirtualKeyOfKey(kKpSeparator, kKpSeparator, numLock), VK_SEPARATOR);
    EXPECT_EQ(VirtualKeyOfKey(kKpEnter, kKpEnter, numLock), VK_RETURN);
  }
  EXPECT_EQ(VirtualKeyOfKeysym(kNumLock), VK_NUMLOCK);
}

TEST(KeypadKeys, MainKeyboardIsUnchangedByNumLock) {
  // '5' with '%' shifted, 'a' with 'A', F4 alone.
  EXPECT_EQ(VirtualKeyOfKey(0x35, 0x25, true), '5');
  EXPECT_EQ(VirtualKeyOfKey(0x61, 0x41, false), 'A');
  EXPECT_EQ(VirtualKeyOfKey(0xffc1, 0, true), VK_F4);
  EXPECT_EQ(VirtualKeyOfKey(0x1234567, 0, true), 0);
}

}  // namespace
