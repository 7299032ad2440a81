#pragma once
#include <QLockFile>
#include <memory>
#include <string>

// One running Drovix per program folder: two installations, or two test folders, never block
// each other. The lock goes with the object (and with the process, should it crash).
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& programDir);
    bool IsFirst() const { return first_; }

  private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};
