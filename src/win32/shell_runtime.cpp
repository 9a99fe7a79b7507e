// What the shell replaces of the C++ runtime; linked into the shell alone.
#include <cstdlib>
#include <exception>
#include <new>

// The shell lets no exception escape a mode, so a terminate means a broken
// process: it ends quietly rather than report in a console nobody sees.
// Replacing the library's verbose handler also keeps its demangler out of
// the shell.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::_Exit(3); }
}  // namespace __gnu_cxx

// The library's containers and strings report a broken limit (a length past
// max_size(), an index past the end) through these helpers. Its own versions
// build std::length_error and its relatives, which pull the copy-on-write
// string, the exception hierarchy and their instantiations into the program:
// some forty kilobytes of a shell under three hundred. The shell catches
// every exception at the edge of a mode and a dialog and looks at none, so
// each helper throws the plain std::bad_alloc instead. Should the library
// ever need one not defined here, the link fails on the duplicate rather
// than the shell changing in silence.
namespace std {
[[noreturn]] void __throw_bad_alloc() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_array_new_length() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_cast() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_typeid() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_exception() { throw bad_alloc(); }
[[noreturn]] void __throw_logic_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_domain_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_invalid_argument(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_length_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_out_of_range(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { throw bad_alloc(); }
[[noreturn]] void __throw_runtime_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_range_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_overflow_error(const char*) { throw bad_alloc(); }
[[noreturn]] void __throw_underflow_error(const char*) { throw bad_alloc(); }
}  // namespace std
