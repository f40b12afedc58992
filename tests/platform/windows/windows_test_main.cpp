#include <objbase.h>

#include <gtest/gtest.h>

// The platform objects need COM on the calling thread, apartment-threaded as
// in the program itself.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
