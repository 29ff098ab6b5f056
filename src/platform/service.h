#pragma once
// The seam to the operating system. Every service (files, registry, embedded
// resources, ...) is an interface with a system implementation (Win32 on
// Windows, portable elsewhere). Code reaches a service through Use<Service>(),
// which answers the system implementation unless a test has installed its own
// with ScopedOverride, in the spirit of SQLite's VFS. Single-threaded by design:
// the updater has one thread, and tests install overrides on the test's thread.

namespace upd::platform {

template <class Service>
struct ServiceSlot {
  static inline Service* override_ = nullptr;
};

// The current implementation of Service: the innermost override, or the
// system's own (Service::System()).
template <class Service>
Service& Use() {
  if (Service* s = ServiceSlot<Service>::override_) return *s;
  return Service::System();
}

// Installs `replacement` as the current implementation for the lifetime of this
// object; overrides nest and are undone in reverse order.
template <class Service>
class ScopedOverride {
 public:
  explicit ScopedOverride(Service& replacement) : previous_(ServiceSlot<Service>::override_) {
    ServiceSlot<Service>::override_ = &replacement;
  }
  ~ScopedOverride() { ServiceSlot<Service>::override_ = previous_; }
  ScopedOverride(const ScopedOverride&) = delete;
  ScopedOverride& operator=(const ScopedOverride&) = delete;

 private:
  Service* previous_;
};

}  // namespace upd::platform
