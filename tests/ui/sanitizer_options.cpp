// fontconfig keeps its configuration cache for the life of the process; it is not ours to free.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif
