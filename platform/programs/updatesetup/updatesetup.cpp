// zxupdatesetup: the stand-in of the product's own setup program, which the update checker
// downloads and starts. It installs nothing: it appends one line to "<its own file>.runs" with
// the SHA-1 of its own file (40 upper-case hex digits) followed by the switches it was started
// with, each after one blank, and ends with exit code 0 (1 when it cannot read itself or write
// the record).
#include <openssl/evp.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  char self[4096] = {};
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  std::ifstream in(std::string(self, static_cast<size_t>(length)), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.eof() && in.fail()) return 1;
  unsigned char digest[EVP_MAX_MD_SIZE] = {};
  unsigned int digestLength = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &digestLength, EVP_sha1(), nullptr)) return 1;
  std::string line;
  char hex[3] = {};
  for (unsigned int i = 0; i < digestLength; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", digest[i]);
    line += hex;
  }
  for (int i = 1; i < argc; ++i) line += std::string(" ") + argv[i];
  std::ofstream record(std::string(self, static_cast<size_t>(length)) + ".runs", std::ios::app);
  record << line << "\n";
  return record.good() ? 0 : 1;
}
