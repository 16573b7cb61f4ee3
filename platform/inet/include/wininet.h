// WinINet: the HTTP client of the system (sessions, connections, requests, response headers
// and bodies), FTP downloads and size queries, URL splitting, the connection state and the
// status callback. Every call is synchronous. Time-outs are measured on the layer's clock.
//
// Requests go to the host the URL names, except where the machine profile routes a host
// elsewhere: a line "<host>=<address>[:<port>]" in section [Hosts] of <machine root>/machine.ini
// sends direct connections for that host there (the request keeps its host name; through a
// proxy, the proxy finds the host). Section [Network],
// key Connection = lan | modem | none, sets what InternetGetConnectedState answers (without it,
// the host's network interfaces decide).
#pragma once
#include "wintypes.h"

using HINTERNET = void*;
using LPHINTERNET = HINTERNET*;
using INTERNET_PORT = WORD;

#define INTERNET_INVALID_PORT_NUMBER 0
#define INTERNET_DEFAULT_FTP_PORT 21
#define INTERNET_DEFAULT_HTTP_PORT 80
#define INTERNET_DEFAULT_HTTPS_PORT 443

// InternetOpen access types.
#define INTERNET_OPEN_TYPE_PRECONFIG 0
#define INTERNET_OPEN_TYPE_DIRECT 1
#define INTERNET_OPEN_TYPE_PROXY 3

// InternetConnect services.
#define INTERNET_SERVICE_FTP 1
#define INTERNET_SERVICE_GOPHER 2
#define INTERNET_SERVICE_HTTP 3

// Request flags.
#define INTERNET_FLAG_RELOAD 0x80000000u
#define INTERNET_FLAG_RAW_DATA 0x40000000u
#define INTERNET_FLAG_EXISTING_CONNECT 0x20000000u
#define INTERNET_FLAG_ASYNC 0x10000000u
#define INTERNET_FLAG_PASSIVE 0x08000000u
#define INTERNET_FLAG_NO_CACHE_WRITE 0x04000000u
#define INTERNET_FLAG_DONT_CACHE INTERNET_FLAG_NO_CACHE_WRITE
#define INTERNET_FLAG_SECURE 0x00800000u
#define INTERNET_FLAG_KEEP_CONNECTION 0x00400000u
#define INTERNET_FLAG_NO_AUTO_REDIRECT 0x00200000u
#define INTERNET_FLAG_NO_COOKIES 0x00080000u
#define INTERNET_FLAG_NO_AUTH 0x00040000u
#define INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP 0x00008000u
#define INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS 0x00004000u
#define INTERNET_FLAG_IGNORE_CERT_DATE_INVALID 0x00002000u
#define INTERNET_FLAG_IGNORE_CERT_CN_INVALID 0x00001000u
#define INTERNET_FLAG_NO_UI 0x00000200u
#define INTERNET_FLAG_PRAGMA_NOCACHE 0x00000100u
#define FTP_TRANSFER_TYPE_BINARY 0x00000002u

// Options (InternetSetOption / InternetQueryOption). Time-outs are DWORD milliseconds; a null
// handle sets the process default that later sessions start with. A child handle starts with
// its parent's options.
#define INTERNET_OPTION_CONNECT_TIMEOUT 2
#define INTERNET_OPTION_CONNECT_RETRIES 3
#define INTERNET_OPTION_CONNECT_BACKOFF 4
#define INTERNET_OPTION_SEND_TIMEOUT 5
#define INTERNET_OPTION_RECEIVE_TIMEOUT 6
#define INTERNET_OPTION_DATA_SEND_TIMEOUT 7
#define INTERNET_OPTION_DATA_RECEIVE_TIMEOUT 8
#define INTERNET_OPTION_HANDLE_TYPE 9
#define INTERNET_OPTION_USERNAME 28
#define INTERNET_OPTION_PASSWORD 29
#define INTERNET_OPTION_PROXY_USERNAME 43
#define INTERNET_OPTION_PROXY_PASSWORD 44
// On a request handle, with no buffer: the request goes without a client certificate when the
// server asks for one (this layer never offers one, so the choice is only recorded).
#define INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT 47
#define INTERNET_OPTION_CONNECTED_STATE 50

// INTERNET_OPTION_HANDLE_TYPE answers.
#define INTERNET_HANDLE_TYPE_INTERNET 1
#define INTERNET_HANDLE_TYPE_CONNECT_FTP 2
#define INTERNET_HANDLE_TYPE_CONNECT_HTTP 4
#define INTERNET_HANDLE_TYPE_FTP_FIND 5
#define INTERNET_HANDLE_TYPE_FTP_FILE 7
#define INTERNET_HANDLE_TYPE_HTTP_REQUEST 13

// INTERNET_OPTION_CONNECTED_STATE (null handle only): going offline makes every request fail
// with ERROR_INTERNET_DISCONNECTED until the state is set back to connected.
#define INTERNET_STATE_CONNECTED 0x00000001
#define INTERNET_STATE_DISCONNECTED 0x00000002
#define INTERNET_STATE_DISCONNECTED_BY_USER 0x00000010
struct INTERNET_CONNECTED_INFO {
  DWORD dwConnectedState;
  DWORD dwFlags;
};

// InternetGetConnectedState flags.
#define INTERNET_CONNECTION_MODEM 0x01
#define INTERNET_CONNECTION_LAN 0x02
#define INTERNET_CONNECTION_PROXY 0x04
#define INTERNET_CONNECTION_OFFLINE 0x20
#define INTERNET_CONNECTION_CONFIGURED 0x40

// HttpQueryInfo: an info level, optionally combined with a modifier.
#define HTTP_QUERY_CONTENT_TYPE 1
#define HTTP_QUERY_CONTENT_LENGTH 5
#define HTTP_QUERY_STATUS_CODE 19
#define HTTP_QUERY_STATUS_TEXT 20
#define HTTP_QUERY_RAW_HEADERS_CRLF 22
#define HTTP_QUERY_LOCATION 33
#define HTTP_QUERY_CONTENT_RANGE 68
#define HTTP_QUERY_CUSTOM 65535
#define HTTP_QUERY_MODIFIER_FLAGS_MASK 0xF0000000u
#define HTTP_QUERY_HEADER_MASK 0x0000FFFFu
#define HTTP_QUERY_FLAG_NUMBER 0x20000000u

#define HTTP_STATUS_OK 200
#define HTTP_STATUS_PARTIAL_CONTENT 206
#define HTTP_STATUS_MOVED 301
#define HTTP_STATUS_REDIRECT 302
#define HTTP_STATUS_DENIED 401
#define HTTP_STATUS_NOT_FOUND 404
#define HTTP_STATUS_PROXY_AUTH_REQ 407
#define HTTP_STATUS_RANGE_NOT_SATISFIABLE 416
#define HTTP_STATUS_SERVER_ERROR 500

// Status callback. Statuses are reported on the calling thread while a request runs:
// RESOLVING_NAME (info: host name), NAME_RESOLVED, CONNECTING_TO_SERVER, CONNECTED_TO_SERVER
// (info: the address connected to), SENDING_REQUEST, REQUEST_SENT, RECEIVING_RESPONSE,
// RESPONSE_RECEIVED, REDIRECT (info: the new URL); text infos are UTF-16 with terminator.
#define INTERNET_STATUS_RESOLVING_NAME 10
#define INTERNET_STATUS_NAME_RESOLVED 11
#define INTERNET_STATUS_CONNECTING_TO_SERVER 20
#define INTERNET_STATUS_CONNECTED_TO_SERVER 21
#define INTERNET_STATUS_SENDING_REQUEST 30
#define INTERNET_STATUS_REQUEST_SENT 31
#define INTERNET_STATUS_RECEIVING_RESPONSE 40
#define INTERNET_STATUS_RESPONSE_RECEIVED 41
#define INTERNET_STATUS_REDIRECT 110
using INTERNET_STATUS_CALLBACK = void (*)(HINTERNET handle, DWORD_PTR context, DWORD status,
                                          LPVOID info, DWORD infoLength);
using LPINTERNET_STATUS_CALLBACK = INTERNET_STATUS_CALLBACK*;
#define INTERNET_INVALID_STATUS_CALLBACK (reinterpret_cast<INTERNET_STATUS_CALLBACK>(-1L))

// URL splitting.
enum INTERNET_SCHEME : int {
  INTERNET_SCHEME_PARTIAL = -2,
  INTERNET_SCHEME_UNKNOWN = -1,
  INTERNET_SCHEME_DEFAULT = 0,
  INTERNET_SCHEME_FTP = 1,
  INTERNET_SCHEME_GOPHER = 2,
  INTERNET_SCHEME_HTTP = 3,
  INTERNET_SCHEME_HTTPS = 4,
  INTERNET_SCHEME_FILE = 5,
};
#define ICU_ESCAPE 0x80000000u
#define ICU_DECODE 0x10000000u

// For each part: a buffer with its size in characters (the part is copied, terminated, and the
// size becomes the part's length), or a null pointer with a non-zero size (the pointer is set
// into the URL and the size to the part's length), or a zero size (the part is not wanted).
struct URL_COMPONENTSW {
  DWORD dwStructSize;
  LPWSTR lpszScheme;
  DWORD dwSchemeLength;
  INTERNET_SCHEME nScheme;
  LPWSTR lpszHostName;
  DWORD dwHostNameLength;
  INTERNET_PORT nPort;
  LPWSTR lpszUserName;
  DWORD dwUserNameLength;
  LPWSTR lpszPassword;
  DWORD dwPasswordLength;
  LPWSTR lpszUrlPath;
  DWORD dwUrlPathLength;
  LPWSTR lpszExtraInfo;
  DWORD dwExtraInfoLength;
};
using LPURL_COMPONENTSW = URL_COMPONENTSW*;

struct WIN32_FIND_DATAW;

// Error codes.
#define INTERNET_ERROR_BASE 12000
#define ERROR_INTERNET_OUT_OF_HANDLES 12001L
#define ERROR_INTERNET_TIMEOUT 12002L
#define ERROR_INTERNET_EXTENDED_ERROR 12003L
#define ERROR_INTERNET_INTERNAL_ERROR 12004L
#define ERROR_INTERNET_INVALID_URL 12005L
#define ERROR_INTERNET_UNRECOGNIZED_SCHEME 12006L
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007L
#define ERROR_INTERNET_INVALID_OPTION 12009L
#define ERROR_INTERNET_BAD_OPTION_LENGTH 12010L
#define ERROR_INTERNET_OPTION_NOT_SETTABLE 12011L
#define ERROR_INTERNET_INCORRECT_PASSWORD 12014L
#define ERROR_INTERNET_LOGIN_FAILURE 12015L
#define ERROR_INTERNET_OPERATION_CANCELLED 12017L
#define ERROR_INTERNET_INCORRECT_HANDLE_TYPE 12018L
#define ERROR_INTERNET_INCORRECT_HANDLE_STATE 12019L
#define ERROR_INTERNET_CANNOT_CONNECT 12029L
#define ERROR_INTERNET_CONNECTION_ABORTED 12030L
#define ERROR_INTERNET_CONNECTION_RESET 12031L
#define ERROR_INTERNET_FORCE_RETRY 12032L
#define ERROR_INTERNET_SEC_CERT_DATE_INVALID 12037L
#define ERROR_INTERNET_SEC_CERT_CN_INVALID 12038L
#define ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED 12044L
#define ERROR_HTTP_HEADER_NOT_FOUND 12150L
#define ERROR_HTTP_INVALID_SERVER_RESPONSE 12152L
#define ERROR_HTTP_INVALID_HEADER 12153L
#define ERROR_HTTP_INVALID_QUERY_REQUEST 12154L
#define ERROR_HTTP_REDIRECT_FAILED 12156L
#define ERROR_INTERNET_DISCONNECTED 12163L
#define ERROR_INTERNET_SECURE_FAILURE 12175L
#ifndef ERROR_CANCELLED
#define ERROR_CANCELLED 1223L
#endif

// The functions have C linkage: the system also finds them by name in "wininet.dll".
extern "C" {

// Sessions and connections. A session made with INTERNET_OPEN_TYPE_PRECONFIG takes its proxy
// from the current user's Internet Settings (ProxyEnable, ProxyServer); DIRECT uses none;
// PROXY uses the given "host[:port]" list (its first entry, or its "http=" entry).
HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR proxyBypass,
                        DWORD flags);
// INTERNET_SERVICE_HTTP: a port of 0 means 80 (443 with INTERNET_FLAG_SECURE on the request);
// nothing is sent until a request is. INTERNET_SERVICE_FTP: a port of 0 means 21; the server
// is logged in to at once (no user name: anonymous), and a refusal fails the call with
// ERROR_INTERNET_LOGIN_FAILURE, another answer of the server with
// ERROR_INTERNET_EXTENDED_ERROR. Every FTP transfer is passive.
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR serverName, INTERNET_PORT serverPort,
                           LPCWSTR userName, LPCWSTR password, DWORD service, DWORD flags,
                           DWORD_PTR context);
// Closes a handle and everything opened below it; a request blocked in another thread on a
// closed handle returns with ERROR_INTERNET_OPERATION_CANCELLED.
BOOL InternetCloseHandle(HINTERNET handle);
// Time-outs, retries and back-off take a DWORD (on a handle, or the process default with a null
// handle); user names and passwords a text whose length counts characters; the connected state
// an INTERNET_CONNECTED_INFO with a null handle. Others fail with ERROR_INTERNET_INVALID_OPTION.
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD bufferLength);
// Answers a DWORD: the number options, the handle type, and (null handle) the connected state.
BOOL InternetQueryOptionW(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD bufferLength);
// Installs the callback on a session and on the handles opened from it afterwards; answers the
// previous one (null when none).
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle,
                                                    INTERNET_STATUS_CALLBACK callback);
INTERNET_STATUS_CALLBACK InternetSetStatusCallback(HINTERNET handle,
                                                   INTERNET_STATUS_CALLBACK callback);
BOOL InternetGetConnectedState(LPDWORD flags, DWORD reserved);

// Requests. Verb null means "GET"; version "HTTP/1.0" sends HTTP/1.0, anything else 1.1.
// GET and HEAD follow 301, 302, 303, 307 and 308 unless INTERNET_FLAG_NO_AUTO_REDIRECT is set.
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR objectName,
                           LPCWSTR version, LPCWSTR referrer, LPCWSTR* acceptTypes, DWORD flags,
                           DWORD_PTR context);
// Sends the request (extra headers as "Name: value" lines separated by CRLF; length in
// characters, or -1 for a terminated text) with the optional body, and waits for the response
// headers. The connect time-out bounds the wait for the connection, then the receive time-out
// bounds the wait for the response. May be called again on the same handle to resend.
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength);
// Text answers are UTF-16: *bufferLength is the buffer size in bytes on entry and the text's
// byte length without the terminator on success; too small a buffer fails with
// ERROR_INSUFFICIENT_BUFFER and sets the size needed including the terminator. With
// HTTP_QUERY_FLAG_NUMBER the answer is a DWORD. HTTP_QUERY_CUSTOM names the header in buffer.
BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index);
// Gives what the response body holds so far, up to bytesToRead, waiting for data as long as the
// request's receive time-out (as it stands when the read begins) allows; TRUE with 0 bytes read
// means the body is complete.
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead);

BOOL InternetCrackUrlW(LPCWSTR url, DWORD urlLength, DWORD flags, LPURL_COMPONENTSW components);

// The last reply of an FTP server to this thread (its code and text, lines ending with CRLF);
// empty before any. *bufferLength is in characters: too small a buffer fails with
// ERROR_INSUFFICIENT_BUFFER and sets the length needed without the terminator.
BOOL InternetGetLastResponseInfoW(LPDWORD error, LPWSTR buffer, LPDWORD bufferLength);
// There is nobody to ask: answers ERROR_CANCELLED.
DWORD InternetErrorDlg(HWND parent, HINTERNET request, DWORD error, DWORD flags, LPVOID* data);

// FTP on a connection made with INTERNET_SERVICE_FTP (another fails with
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE). FtpOpenFileW opens a file for reading
// (GENERIC_READ only, else ERROR_NOT_SUPPORTED) and answers once the server sends it; its
// handle is read with InternetReadFile. FtpFindFirstFileW looks up one file by its path (no
// wildcards: ERROR_NOT_SUPPORTED) and fills its name, size and write time; a file the server
// does not have fails with ERROR_NO_MORE_FILES. A path holding a line break is refused with
// ERROR_INVALID_PARAMETER; a reply of the server refusing either fails the call with
// ERROR_INTERNET_EXTENDED_ERROR (the reply through InternetGetLastResponseInfoW).
HINTERNET FtpOpenFileW(HINTERNET connection, LPCWSTR fileName, DWORD access, DWORD flags,
                       DWORD_PTR context);
HINTERNET FtpFindFirstFileW(HINTERNET connection, LPCWSTR searchFile,
                            WIN32_FIND_DATAW* findData, DWORD flags, DWORD_PTR context);

}  // extern "C"
