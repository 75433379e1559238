// How the C++ runtime's own failures are raised in the shipped programs and
// the plug-in. The standard library throws its length and range errors with
// a message in a string of its own kind, and its terminate handler prints
// the type of the exception that ended the program with a demangler: linked
// statically that is a third of the plug-in, loaded into every program that
// shows a print dialog. Nothing of ours reads those messages: every edge
// where Windows calls in catches std::bad_alloc (memory ran out) and
// anything else (a failure), so the same exceptions by kind, without their
// text, keep every outcome, and an unhandled one ends the program as before,
// without the text no one sees.
#include <cstdlib>
#include <exception>
#include <new>

namespace {

// A container asked for more than it can hold, or an index past its end: a
// fault, caught like any other at the edge.
struct LibraryFailure final : std::exception {
    const char* what() const noexcept override { return "C++ library failure"; }
};

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
    throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
    throw std::bad_array_new_length();
}
void __throw_length_error(const char*) {
    throw LibraryFailure();
}
void __throw_logic_error(const char*) {
    throw LibraryFailure();
}
void __throw_out_of_range(const char*) {
    throw LibraryFailure();
}
void __throw_out_of_range_fmt(const char*, ...) {
    throw LibraryFailure();
}
void __throw_invalid_argument(const char*) {
    throw LibraryFailure();
}
void __throw_system_error(int) {
    throw LibraryFailure();
}
}  // namespace std
