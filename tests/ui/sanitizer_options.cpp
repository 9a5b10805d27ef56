// fontconfig keeps its configuration cache for the life of the process; it is not ours to free.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// The runtime's record of dynamic TLS blocks (taken by intercepting __tls_get_addr) goes stale
// when the libraries the tests load are closed again, and the leak check at exit then reads a
// block that is no longer there and crashes in its tracer. Nothing of ours is reachable only
// from a dynamic TLS block, so the check loses nothing without that record.
extern "C" __attribute__((visibility("default"), used)) const char *__asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif
