// The leak checker of the sanitizer builds reads these suppressions from the
// test program itself: fontconfig, which the windows load for their fonts,
// keeps caches that it never frees. None of our code is suppressed.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
