#pragma once
// A small event object: manual- or auto-reset, waitable with a time-out, on its own or
// together with other events, and pollable through a file descriptor so that a thread
// blocked in poll() on a serial port can be woken by it.
#include <initializer_list>
#include <mutex>

namespace zelmot {

class Event {
public:
  enum class Reset { Manual, Auto };

  // Aborts the process when the kernel cannot give a descriptor (the process is out of
  // file descriptors; nothing sensible can continue then).
  explicit Event(Reset reset, bool initiallySet = false);
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  bool isSet() const;

  // Waits until set or timeout (ms; kInfinite or any negative value waits forever; 0 only
  // checks). An auto-reset event is reset by a successful wait. True when it was set.
  bool wait(int timeoutMs);

  // A file descriptor that polls readable (POLLIN) exactly while the event is set; for
  // poll() together with a serial port. Polling it never consumes the event.
  int fd() const;

  static constexpr int kInfinite = -1;

private:
  friend int waitAny(std::initializer_list<Event*> events, int timeoutMs);

  // Takes the event when it is set (resetting an auto-reset one); false when not set.
  bool tryConsume();
  void drainLocked();

  mutable std::mutex mutex_;
  const Reset reset_;
  bool set_ = false;
  int fd_ = -1;
};

// Waits on several events; returns the index of the first set one (lowest index wins when
// several are set; an auto-reset winner is reset), or -1 on timeout. Null entries are
// ignored; an empty list simply waits out the timeout.
int waitAny(std::initializer_list<Event*> events, int timeoutMs);

}  // namespace zelmot
