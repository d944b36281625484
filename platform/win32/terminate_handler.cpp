// The programs' terminate handler. The library's default one prints the type of the uncaught exception,
// demangled, and links a demangler of some 46 KB to do it.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
