// Symbol export for the shared library. The library is built with hidden
// visibility; only declarations marked WEVO_API are visible to hosts.
#ifndef WEVO_EXPORT_H_
#define WEVO_EXPORT_H_

#define WEVO_API __attribute__((visibility("default")))

#endif  // WEVO_EXPORT_H_
