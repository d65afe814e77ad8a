#pragma once
// A limit on the size of the files this process writes, for the tests of a
// write cut short on the disk. Only POSIX has one (setrlimit, which binds
// root too); elsewhere the body does not run.

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <cstddef>
#include <functional>

namespace tavilo::testing {

// Runs `body` with writes limited to `bytes` per file (a write beyond fails
// with EFBIG rather than ending the process); false when this system has no
// such limit.
inline bool withFileSizeLimit(std::size_t bytes, const std::function<void()>& body) {
#ifdef _WIN32
  (void)bytes;
  (void)body;
  return false;
#else
  rlimit saved{};
  if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
    return false;
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = static_cast<rlim_t>(bytes);
  const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
  if (limited)
    body();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  return limited;
#endif
}

}  // namespace tavilo::testing
