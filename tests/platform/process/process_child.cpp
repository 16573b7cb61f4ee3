// Child program of the process tests: "wait" sleeps until it is ended (at most a minute),
// "exit N" ends with code N, "args FILE" writes its arguments to FILE one per line, "line FILE"
// writes the command line its starter recorded for it, "linger FILE MS" writes its process id
// to FILE and ends its first thread while a second one goes on for MS milliseconds.
#include <pthread.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "wait") == 0) {
    for (int i = 0; i < 600; ++i) ::usleep(100000);
    return 1;
  }
  if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "args") == 0) {
    std::ofstream out(argv[2]);
    for (int i = 3; i < argc; ++i) out << argv[i] << '\n';
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "line") == 0) {
    const char* line = std::getenv("ZX_COMMAND_LINE");
    std::ofstream(argv[2]) << (line ? line : "(none)");
    return 0;
  }
  if (argc >= 4 && std::strcmp(argv[1], "linger") == 0) {
    static useconds_t lingerUs = static_cast<useconds_t>(std::atoi(argv[3])) * 1000;
    pthread_t second;
    pthread_create(&second, nullptr, [](void*) -> void* {
      ::usleep(lingerUs);
      return nullptr;  // the last thread: the process ends
    }, nullptr);
    std::ofstream(argv[2]) << ::getpid();
    pthread_exit(nullptr);
  }
  return 2;
}
