// The projection tests build ray accelerations on worker threads, as the host tests do.
// Embree and TBB are not built with ThreadSanitizer: their threads hand memory to each other
// through synchronisation it cannot see, so an Embree scene allocated on a TBB worker during a
// build and freed on the thread that releases it looks like a race. Ignoring what those two
// libraries do through the intercepted calls (allocation, copying) keeps every access of our own
// code checked, the judge Embree calls back during a traversal included.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions()
{
	return "called_from_lib:libembree3.so\n"
		   "called_from_lib:libtbb.so\n";
}
#endif
