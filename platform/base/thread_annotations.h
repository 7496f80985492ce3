// Clang's thread-safety attributes, so that the compiler checks which mutex
// guards which state (-Wthread-safety). They expand to nothing elsewhere.
#ifndef WEVO_PLATFORM_BASE_THREAD_ANNOTATIONS_H_
#define WEVO_PLATFORM_BASE_THREAD_ANNOTATIONS_H_

#if defined(__clang__)
#define WEVO_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define WEVO_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) WEVO_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY WEVO_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) WEVO_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) WEVO_THREAD_ANNOTATION(pt_guarded_by(x))
#define ACQUIRED_BEFORE(...) WEVO_THREAD_ANNOTATION(acquired_before(__VA_ARGS__))
#define ACQUIRED_AFTER(...) WEVO_THREAD_ANNOTATION(acquired_after(__VA_ARGS__))
#define REQUIRES(...) WEVO_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define REQUIRES_SHARED(...) WEVO_THREAD_ANNOTATION(requires_shared_capability(__VA_ARGS__))
#define ACQUIRE(...) WEVO_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) WEVO_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) WEVO_THREAD_ANNOTATION(try_acquire_capability(__VA_ARGS__))
#define EXCLUDES(...) WEVO_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ASSERT_CAPABILITY(x) WEVO_THREAD_ANNOTATION(assert_capability(x))
#define RETURN_CAPABILITY(x) WEVO_THREAD_ANNOTATION(lock_returned(x))
#define NO_THREAD_SAFETY_ANALYSIS WEVO_THREAD_ANNOTATION(no_thread_safety_analysis)

#endif  // WEVO_PLATFORM_BASE_THREAD_ANNOTATIONS_H_
