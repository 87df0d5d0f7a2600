// The C++ runtime's default terminate handler prints the pending exception's
// demangled type to the console before it aborts. A window program has no
// console to print to, and the printing brings a demangler and a whole printf
// into the executable (about a fifth of its size). This handler replaces it
// at link time and ends the program as the default one does, by abort().
// Nothing should reach it: every door Windows opens catches what is thrown.
#include <cstdlib>
#include <exception>  // the runtime declares the handler here

// NOLINTBEGIN(bugprone-reserved-identifier, cert-dcl37-c, cert-dcl51-cpp): the runtime's own name
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
// NOLINTEND(bugprone-reserved-identifier, cert-dcl37-c, cert-dcl51-cpp)
