// GNU C++ runtime only (the Windows build adds it for that toolchain).
// What ends the process when the C++ runtime gives up (out of memory in a
// text operation, for one): it ends without a message of the launcher's own.
// Replacing the GNU runtime's verbose handler keeps its symbol demangler, a
// sixth of the executable, out of the build. The launcher is built without
// exceptions and catches none, so the runtime's helpers that would throw end
// the process at once, as the uncaught exception would; defining them keeps
// the runtime's exception classes and the strings behind them out as well.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

} // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }

} // namespace std
