// Linked into the program only (the test executables keep the library's own versions).
//
// An exception that escapes everything ends the program quietly. The library's default handler
// would print the exception's demangled type to a console this program does not have, and
// would bring a C++ demangler of some 50 KB into the image for it.
//
// The standard library reports its own errors (a string or vector grown past its limit, an
// empty std::function called) through these functions. The library's versions throw its
// std::logic_error family, whose copy-on-write strings bring some 60 KB into the image; these
// raise the framework's Exception with the same text instead. bad_alloc stays bad_alloc.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

#include "forms/SysUtils.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_function_call() { throw forms::Exception("bad function call"); }
void __throw_length_error(const char* what) { throw forms::Exception(what); }
void __throw_logic_error(const char* what) { throw forms::Exception(what); }
void __throw_out_of_range_fmt(const char* what, ...) { throw forms::Exception(what); }

}  // namespace std
