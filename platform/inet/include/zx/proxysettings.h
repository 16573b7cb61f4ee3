// The current user's proxy settings (HKCU\Software\Microsoft\Windows\CurrentVersion\Internet
// Settings) and how a proxy list serves a scheme. Platform-internal: the WinINet layer and the
// SOAP transports read them.
#pragma once
#include <string>

namespace zx::inet {

// The "ProxyServer" value ("" when absent), whether or not "ProxyEnable" is set.
std::string UserProxyServer();
// "ProxyServer" when "ProxyEnable" is non-zero, else "": what INTERNET_OPEN_TYPE_PRECONFIG uses.
std::string PreconfiguredProxyList();
// The entry of a proxy list ("host:port", or "http=host:port;https=host:port") that serves the
// scheme; "" when none does.
std::string ProxyForScheme(const std::string& list, bool secure);

}  // namespace zx::inet
