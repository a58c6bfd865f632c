// Under the leak checker: the system's font configuration and its JavaScript engine keep
// caches for the life of the process and never free them. Those are not ours to fix;
// everything else stays checked.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libjavascriptcoregtk-4.1.so\n";
}
