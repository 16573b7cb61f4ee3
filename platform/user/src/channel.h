// The window channel: how this process's windows are reached from other processes of the
// same user and machine root, and how it reaches theirs.
//
// Each process claims a slot in <runtime folder>/user (mode 0700): slot-<n>.lock, held with
// an exclusive lock for the life of the process, and slot-<n>.sock, the Unix stream socket
// it listens on. A window handle carries its process's slot (window.h), so a handle alone
// says where to send. Both ends check the other's uid (SO_PEERCRED) and drop any process of
// another user. One thread per process reads the connections other processes opened to it:
// it answers requests about windows at once or hands them to the thread that owns the
// window, which writes the answer when it has handled the message. A caller opens a
// connection of its own thread to each process it calls and reads its answers there itself,
// serving its thread's incoming sent messages while it waits. Frames are described in wire.h.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wire.h"
#include "wintypes.h"

namespace zx::user::channel {

// This process's slot in the current machine root (claimed on first use, and again after
// the root changes); 0 when none can be had, and the process's windows are then private.
int LocalSlot();
// Slots of the other processes that listen in this root, in ascending order.
std::vector<int> PeerSlots();
// The channel folder of the current root, made private to this user when needed; empty
// when it cannot be had.
std::string UsableFolder();
// Host path of a slot's socket.
std::string SocketPath(int slot);

// Sends a request to the process in slot and waits for its answer, serving the calling
// thread's incoming sent messages meanwhile. False, with the last error set, when that
// process cannot be reached or went away (ERROR_INVALID_WINDOW_HANDLE), or after timeoutMs
// (ERROR_TIMEOUT); an answer with a non-zero status sets it as the last error.
bool Call(int slot, wire::Op op, std::string body, std::string* answer, DWORD timeoutMs = INFINITE);

// The connection a request came on; requests are answered on it from any thread.
class Connection;
using ConnectionRef = std::shared_ptr<Connection>;
void Answer(const ConnectionRef& connection, const wire::Frame& request, std::uint32_t status,
            std::string body);

// The process that opened a connection this process accepted.
DWORD PeerProcessId(const ConnectionRef& connection);

// Serves one request (serve.cpp); called on the channel's thread.
void Serve(const ConnectionRef& connection, wire::Frame request);
// Serves an injected event or a picture request (serve_drive.cpp).
void ServeDrive(const ConnectionRef& connection, const wire::Frame& request);

// The machine's foreground window, kept in the runtime folder for every process.
void WriteForeground(HWND window);
HWND ReadForeground();

}  // namespace zx::user::channel
