#pragma once
// Splits a pass over n items into two halves, [0, n/2) and [n/2, n), and runs the
// second half on a helper thread while the calling thread runs the first, when the
// machine has a second core and the pass is long enough to pay for starting a thread
// (some 50 us). Otherwise both halves run one after the other on the calling thread, so
// that results never depend on the machine. Both halves have ended when the call
// returns; an exception thrown by either is passed on to the caller. Internal to the
// library.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <utility>
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

// Makes n items in chunks of at most `chunk` and consumes the chunks in order on the
// calling thread: make(slot, begin, end) fills the buffer of `slot` (0 or 1) and
// consume(slot, begin, end) reads it. With a helper thread (as IVShouldRunInTwoParts
// decides) the helper makes every second chunk into slot 1 while the calling thread
// makes the others into slot 0, so making runs on both cores while only two chunks'
// buffers exist; otherwise every chunk goes through slot 0 on the calling thread.
// make must not throw; an exception from consume ends the helper and passes on.
template <typename Make, typename Consume>
void IVMakeAndConsumeInChunks(std::size_t n, std::size_t chunk, Make&& make, Consume&& consume) {
  const std::size_t chunks = (n + chunk - 1) / chunk;
  auto bounds = [&](std::size_t k) { return std::pair(k * chunk, std::min(n, (k + 1) * chunk)); };
  std::thread helper;
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t made = 0;   // chunks the helper has made and not had consumed: 0 or 1
  bool slotFree = true;   // slot 1 may be filled
  bool stop = false;
  if (chunks > 1 && IVShouldRunInTwoParts(n)) {
    try {
      helper = std::thread([&] {
        for (std::size_t k = 1; k < chunks; k += 2) {
          {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slotFree || stop; });
            if (stop) return;
            slotFree = false;
          }
          const auto [begin, end] = bounds(k);
          make(1, begin, end);
          {
            std::lock_guard lock(mutex);
            made = 1;
          }
          changed.notify_all();
        }
      });
    } catch (const std::system_error&) {
      // No thread to be had: every chunk is made here below.
    }
  }
  if (!helper.joinable()) {
    for (std::size_t k = 0; k < chunks; ++k) {
      const auto [begin, end] = bounds(k);
      make(0, begin, end);
      consume(0, begin, end);
    }
    return;
  }
  try {
    for (std::size_t k = 0; k < chunks; ++k) {
      const auto [begin, end] = bounds(k);
      if (k % 2 == 0) {
        make(0, begin, end);
        consume(0, begin, end);
        continue;
      }
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return made == 1; });
        made = 0;
      }
      consume(1, begin, end);
      {
        std::lock_guard lock(mutex);
        slotFree = true;
      }
      changed.notify_all();
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    changed.notify_all();
    helper.join();
    throw;
  }
  helper.join();
}
