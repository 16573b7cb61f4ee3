// zxplatform: the shared library that carries every platform component into a process once.
// The components themselves are linked in whole; this file only gives the library a body.
namespace zx { int PlatformVersion() { return 1; } }
