// The update checker's addresses: the program query ("/updatekx/c4u.cgi") answered with the
// catalogue folder's "LatestVersion.htm", the database query ("/updatekx/c4udb.cgi") with its
// "LatestVersionDB.htm", and the setup programs those answers name, served from the same folder
// under "/setups/". In the answer files "{host}" becomes the host the request named,
// "{sha1:NAME}" the SHA-1 (upper-case hex) and "{size:NAME}" the size in bytes of the folder's
// file NAME (both empty when there is no such file), so that a test's catalogue can offer any
// setup program with a right, wrong or missing Hash and any PROGRAM_SIZE. While the folder holds
// "NAME.hold", the file NAME is sent only up to its middle; the rest follows once that file is
// gone (a test sees the client's partial download), or the connection closes after a minute.
#include <httplib.h>
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include "hold.h"

namespace zx::webservice {
namespace {

// The bytes of a plain file name of the folder; none for names with a path or for missing files.
std::optional<std::string> FolderFile(const std::string& folder, const std::string& name) {
  if (folder.empty() || name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
    return std::nullopt;
  std::ifstream in(folder + "/" + name, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Sha1Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE] = {};
  unsigned int length = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha1(), nullptr)) return {};
  std::string hex;
  char pair[3] = {};
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", digest[i]);
    hex += pair;
  }
  return hex;
}

// The answer text with its placeholders filled.
std::string Filled(const std::string& text, const std::string& folder, const std::string& host) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t open = text.find('{', at);
    const std::size_t close = open == std::string::npos ? std::string::npos : text.find('}', open);
    if (close == std::string::npos) {
      out += text.substr(at);
      break;
    }
    out += text.substr(at, open - at);
    const std::string name = text.substr(open + 1, close - open - 1);
    if (name == "host") {
      out += host;
    } else if (name.rfind("sha1:", 0) == 0) {
      const auto file = FolderFile(folder, name.substr(5));
      if (file) out += Sha1Hex(*file);
    } else if (name.rfind("size:", 0) == 0) {
      const auto file = FolderFile(folder, name.substr(5));
      if (file) out += std::to_string(file->size());
    } else {
      out += text.substr(open, close - open + 1);
    }
    at = close + 1;
  }
  return out;
}

// Sends the first half of the bytes, waits while the hold file exists, then sends the rest.
void AnswerHeld(std::string bytes, const std::string& holdFile, httplib::Response& response) {
  auto body = std::make_shared<std::string>(std::move(bytes));
  response.set_content_provider(
      body->size(), "application/octet-stream",
      [body, holdFile](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        const std::size_t middle = body->size() / 2;
        if (offset < middle) return sink.write(body->data() + offset, middle - offset);
        if (!WaitWhileHeld(holdFile, [&sink] { return sink.is_writable(); })) return false;
        return sink.write(body->data() + offset, body->size() - offset);
      });
}

}  // namespace

void MountUpdateCheckerFiles(httplib::Server& server, const std::string& folder, int& port,
                             const std::function<void(const std::string&)>& log) {
  const struct {
    const char* pattern;
    const char* file;
  } kAnswers[] = {
      {R"((?:http://[^/]+)?/updatekx/c4u\.cgi)", "LatestVersion.htm"},
      {R"((?:http://[^/]+)?/updatekx/c4udb\.cgi)", "LatestVersionDB.htm"},
  };
  for (const auto& answer : kAnswers) {
    const std::string name = answer.file;
    server.Get(answer.pattern, [folder, name, &port, log](const httplib::Request& request, httplib::Response& response) {
      log("GET " + request.path + " " + request.version);
      const auto text = FolderFile(folder, name);
      if (!text) {
        response.status = 404;
        return;
      }
      const std::string host = request.get_header_value("Host");
      response.set_content(Filled(*text, folder, host.empty() ? "127.0.0.1:" + std::to_string(port) : host),
                           "text/html");
    });
  }
  server.Get(R"((?:http://[^/]+)?/setups/([^/]+))", [folder, log](const httplib::Request& request, httplib::Response& response) {
    log("GET " + request.path + " " + request.version);
    const std::string name = request.matches[1].str();
    const auto bytes = FolderFile(folder, name);
    if (!bytes) {
      response.status = 404;
      return;
    }
    const std::string holdFile = folder + "/" + name + ".hold";
    if (std::filesystem::exists(holdFile)) AnswerHeld(*bytes, holdFile, response);
    else response.set_content(*bytes, "application/octet-stream");
  });
}

}  // namespace zx::webservice
