// The C++ run-time support that the shipped programs need. They are built
// without exceptions and catch none: what the library would throw (memory
// exhausted, a string grown past its limit) ends the program at once. The
// library's own throwing versions would bring its whole exception machinery
// into a program that is downloaded, for nothing.
#include <cstdlib>
#include <new>

void* operator new(std::size_t nSize)
{
    void* p = std::malloc(nSize != 0 ? nSize : 1);
    if (p == NULL)
        std::abort();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

#if defined(__GLIBCXX__)
// Where the GNU library raises its errors, and its default terminate handler,
// which would print a demangled type name to a console these programs lack.
namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
