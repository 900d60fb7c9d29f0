// Leak-checker suppressions for sanitizer builds of the graphics tests: fontconfig keeps
// process-wide configuration memory that it never frees. The hook is only read by the leak
// checker's runtime; in other builds it is an unused function.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
