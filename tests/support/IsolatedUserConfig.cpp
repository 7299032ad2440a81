#include "IsolatedUserConfig.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

class ConfigHomeOverride {
  public:
    ConfigHomeOverride() {
        std::string pattern = (std::filesystem::temp_directory_path() / "drovix-config-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary configuration folder");
        path_ = pattern;
        setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~ConfigHomeOverride() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

const ConfigHomeOverride configHome;

}  // namespace

const std::string& IsolatedConfigHome() {
    return configHome.path();
}
