#pragma once
// Refuses a second copy of the updater while one runs, so two runs never
// interleave their writes. On Windows a named mutex; elsewhere always granted.

namespace upd {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  bool Acquired() const { return acquired_; }

 private:
  void* handle_ = nullptr;
  bool acquired_ = true;
};

}  // namespace upd
