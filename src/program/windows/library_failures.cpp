// How the C++ library reports a failure of its own (a string grown past its
// largest size, an index out of range): as a std::exception whose what()
// names it, which the tool shows in its error box as any unexpected failure.
// The library's own versions of these functions sit in one object with
// every exception class it has and the reference-counted strings those
// keep (45 KB of the 32-bit executable); these throw the same kinds of
// failure without them.
#include <new>
#include <stdexcept>

namespace {

class LibraryFailure final : public std::exception {
 public:
  explicit LibraryFailure(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;  // the library's own literal
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw LibraryFailure(what); }
void __throw_logic_error(const char* what) { throw LibraryFailure(what); }
// The format's arguments are left out: the text still names the call.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryFailure(format); }

}  // namespace std
