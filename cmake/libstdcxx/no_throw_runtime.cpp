// GNU C++ runtime only (the Windows build adds it for that toolchain).
// What ends the process when the C++ runtime gives up (out of memory in a
// text operation, for one): it ends without a message of the launcher's own.
// Replacing the GNU runtime's verbose handler keeps its symbol demangler, a
// sixth of the executable, out of the build. The launcher is built without
// exceptions and catches none, so the runtime's helpers that would throw end
// the process at once, as the uncaught exception would; defining them keeps
// the runtime's exception classes and the strings behind them out as well.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

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

// Built without RTTI, make_shared's control block asks the runtime whether a
// type_info is that of its tag; the runtime's answer lives beside the
// exception machinery. Only std::get_deleter asks, which the launcher never
// calls, and code without RTTI is recognised by the tag's address before this.
bool _Sp_make_shared_tag::_S_eq(const type_info&) noexcept { return false; }

} // namespace std

// The allocation functions, replaced as the language allows: the runtime's own
// throw std::bad_alloc, which draws in its whole exception machinery (and the
// thread library that machinery locks with) only to end the process, as these
// do at once. The no-throw forms answer null, as they must.
namespace {

void* allocateOrNull(std::size_t size) noexcept { return std::malloc(size == 0 ? 1 : size); }

void* allocateOrEnd(std::size_t size) noexcept {
    void* block = allocateOrNull(size);
    if (!block) std::abort();
    return block;
}

} // namespace

void* operator new(std::size_t size) { return allocateOrEnd(size); }
void* operator new[](std::size_t size) { return allocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
