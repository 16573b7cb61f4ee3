// Which message parameters cross to another process, and how. A parameter that points at
// data never travels as an address:
//   kTextIn   lParam is a zero-terminated text the receiver reads: WM_SETTEXT, and the
//             registered messages named in kTextMessageNames (the running-instance hand-off
//             carrying "schedulescan", "autofix" or "shutdown"). The text travels as UTF-16;
//             the receiver's lParam points at its own copy.
//   kTextOut  lParam is a buffer of wParam units the receiver fills: WM_GETTEXT. The text
//             comes back with the answer and is copied into the sender's buffer.
//   kCopyData lParam is a COPYDATASTRUCT: WM_COPYDATA. dwData and the cbData bytes travel;
//             the receiver's lParam points at its own COPYDATASTRUCT and copy of the bytes.
//   kRect     lParam is a RECT the receiver reads and fills: the common controls' item
//             rectangles (LVM_GETITEMRECT, LVM_GETSUBITEMRECT, HDM_GETITEMRECT, and
//             TVM_GETITEMRECT, whose RECT brings the tree's own item handle in). Its 16 bytes
//             travel both ways; the receiver's lParam points at its own copy.
//   kValue    wParam and lParam are numbers and travel as they are. System messages below
//             WM_USER whose lParam points at a structure of another kind (WM_CREATE,
//             WM_NOTIFY, WM_DRAWITEM, ...) are refused with ERROR_INVALID_PARAMETER unless
//             lParam is 0, so no address ever reaches another process's window procedure.
// The sender decides the kind from its message; the receiver accepts a kind only for the
// messages that may carry it (kTextIn: WM_SETTEXT or a registered message). kTextOut and kRect
// wait for the receiver's answer, so they are only sent, never posted or broadcast.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "queue.h"
#include "wire.h"

namespace zx::user {

enum class ParamKind : std::uint8_t { kValue = 0, kTextIn = 1, kCopyData = 2, kTextOut = 3, kRect = 4 };

// Names (compared without regard to case) of registered messages whose lParam is a text.
extern const char16_t* const kTextMessageNames[];
// RegisterWindowMessage tells which of its ids name a text-carrying message.
void NoteRegisteredMessage(UINT id, const std::u16string& foldedName);

ParamKind KindOf(UINT message);

// Sender: writes "u64 lParam, u8 kind, bytes payload" of a message whose wParam and message
// id the caller wrote. False (ERROR_INVALID_PARAMETER) for a message that cannot cross.
bool PackParam(UINT message, WPARAM wParam, LPARAM lParam, wire::Writer& out);
// Receiver: reads what PackParam wrote and makes the lParam to deliver, with its payload.
// False for anything malformed or not allowed.
bool UnpackParam(UINT message, WPARAM wParam, wire::Reader& in, LPARAM* lParam,
                 std::shared_ptr<Payload>* payload, ParamKind* kind);
// Receiver, after handling: the answer's "u8 kind, bytes payload".
void PackAnswer(ParamKind kind, const Payload* payload, LRESULT result, wire::Writer& out);
// Sender: copies what the answer carries back into the caller's memory.
bool UnpackAnswer(UINT message, WPARAM wParam, LPARAM lParam, wire::Reader& in);

}  // namespace zx::user
