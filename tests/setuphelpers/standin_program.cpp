// The stand-in of the product's programs in the install helper's tests: copied under their
// names, it does nothing but wait until it is ended.
#include <unistd.h>

int main() {
  for (;;) ::pause();
}
