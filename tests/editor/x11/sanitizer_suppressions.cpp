// Leak-checker suppressions for sanitizer builds of the X11 editor tests. Each test host
// loads and unloads the plug-in module; the module keeps its FreeType library for its whole
// life and does not free it when it is unloaded, and fontconfig keeps process-wide memory
// it never frees. Neither is the window layer's; everything else must be freed.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}
