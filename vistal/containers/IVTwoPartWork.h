#pragma once
// Splits a pass over n items into two halves, [0, n/2) and [n/2, n), and runs the
// second half on a helper thread while the calling thread runs the first, when the
// machine has a second core and the pass is long enough to pay for starting a thread
// (some 50 us). Otherwise both halves run one after the other on the calling thread, so
// that results never depend on the machine. Both halves have ended when the call
// returns; an exception thrown by either is passed on to the caller. Internal to the
// library.
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

// Whether a pass over n items is worth a helper thread on this machine.
bool IVShouldRunInTwoParts(std::size_t n);

// Calls work(part, begin, end) for part 0 and part 1.
template <typename Work>
void IVRunInTwoParts(std::size_t n, Work&& work) {
  const std::size_t half = n / 2;
  std::thread helper;
  std::exception_ptr helperError;
  if (IVShouldRunInTwoParts(n)) {
    try {
      helper = std::thread([&] {
        try {
          work(1, half, n);
        } catch (...) {
          helperError = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      // No thread to be had: the second half runs here below.
    }
  }
  try {
    work(0, std::size_t(0), half);
  } catch (...) {
    if (helper.joinable()) helper.join();
    throw;
  }
  if (helper.joinable()) {
    helper.join();
    if (helperError) std::rethrow_exception(helperError);
  } else {
    work(1, half, n);
  }
}
