// Linked into every program in place of the C++ runtime's default
// terminate handler, which prints the demangled type of an uncaught
// exception to stderr before aborting. A GUI program has no stderr to show
// it on, and the demangler it drags in is about 70 KB of every .exe.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
