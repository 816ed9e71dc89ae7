#include "platform/sim/SimActivities.h"

namespace lumora::sim {
namespace {

class SimActivity final : public platform::Activity {
 public:
  explicit SimActivity(std::shared_ptr<std::size_t> open) : open_(std::move(open)) { ++*open_; }
  SimActivity(const SimActivity&) = delete;
  SimActivity& operator=(const SimActivity&) = delete;
  ~SimActivity() override { --*open_; }

 private:
  std::shared_ptr<std::size_t> open_;
};

}  // namespace

std::unique_ptr<platform::Activity> SimActivities::begin(std::string_view) {
  return std::make_unique<SimActivity>(open_);
}

}  // namespace lumora::sim
