// The stand-in of the product's sibling program: it only has to be running. It ends when the
// process that started it ends, or after the seconds given as its one argument (default 60),
// so a test that fails never leaves it behind for long.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  const pid_t starter = ::getppid();
  const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds > 0 ? seconds : 60);
  while (std::chrono::steady_clock::now() < end && ::getppid() == starter)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return 0;
}
