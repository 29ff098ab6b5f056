#include "support/fault_fs.h"

namespace upd::testing {

void FaultPoint() {
  // Nothing to do: a place for a breakpoint.
}

bool FaultInjectingFileSystem::NextFails() {
  ++count_;
  bool fails = fail_at_ > 0 && (count_ == fail_at_ || (persistent_ && count_ > fail_at_));
  injected_ = fails;
  if (fails) {
    ++fired_;
    FaultPoint();
  }
  return fails;
}

namespace {

class FaultyInput : public platform::InputFile {
 public:
  FaultyInput(FaultInjectingFileSystem& fs, std::unique_ptr<platform::InputFile> inner)
      : fs_(fs), inner_(std::move(inner)) {}
  std::optional<int64_t> Size() override { return inner_->Size(); }
  std::optional<size_t> Read(void* buffer, size_t count) override {
    if (fs_.NextFails()) return std::nullopt;
    return inner_->Read(buffer, count);
  }
  bool Seek(int64_t offset) override { return !fs_.NextFails() && inner_->Seek(offset); }
  int64_t Position() const override { return inner_->Position(); }

 private:
  FaultInjectingFileSystem& fs_;
  std::unique_ptr<platform::InputFile> inner_;
};

class FaultyOutput : public platform::OutputFile {
 public:
  FaultyOutput(FaultInjectingFileSystem& fs, std::unique_ptr<platform::OutputFile> inner)
      : fs_(fs), inner_(std::move(inner)) {}
  bool Write(const void* data, size_t count) override {
    if (!fs_.NextFails()) return inner_->Write(data, count);
    if (fs_.Kind() == Fault::ShortWrite && count > 1) inner_->Write(data, count / 2);
    return false;
  }
  bool Flush() override { return !fs_.NextFails() && inner_->Flush(); }
  bool Close() override {
    if (closed_) return true;
    closed_ = true;
    // The handle is released either way; a failed close only reports failure.
    bool failed = fs_.NextFails();
    return inner_->Close() && !failed;
  }

 private:
  FaultInjectingFileSystem& fs_;
  std::unique_ptr<platform::OutputFile> inner_;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<platform::InputFile> FaultInjectingFileSystem::OpenRead(const std::string& path) {
  if (NextFails()) return nullptr;
  auto inner = inner_.OpenRead(path);
  if (!inner) return nullptr;
  return std::make_unique<FaultyInput>(*this, std::move(inner));
}

std::unique_ptr<platform::OutputFile> FaultInjectingFileSystem::CreateTruncate(const std::string& path) {
  if (NextFails()) return nullptr;
  auto inner = inner_.CreateTruncate(path);
  if (!inner) return nullptr;
  return std::make_unique<FaultyOutput>(*this, std::move(inner));
}

bool FaultInjectingFileSystem::Delete(const std::string& path) { return !NextFails() && inner_.Delete(path); }

bool FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to) {
  return !NextFails() && inner_.Rename(from, to);
}

bool FaultInjectingFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return !NextFails() && inner_.ReplaceFile(from, to);
}

}  // namespace upd::testing
