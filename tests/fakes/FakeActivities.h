#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Activities.h"

namespace lumora::testing {

// The activities open now, by their reasons, in the order they began.
class FakeActivities final : public platform::Activities {
 public:
  std::unique_ptr<platform::Activity> begin(std::string_view reason) override {
    ++begun;
    return std::make_unique<Open>(open_, std::string(reason));
  }

  const std::vector<std::string>& open() const { return *open_; }
  int begun = 0;

 private:
  class Open final : public platform::Activity {
   public:
    Open(std::shared_ptr<std::vector<std::string>> open, std::string reason)
        : open_(std::move(open)), reason_(std::move(reason)) {
      open_->push_back(reason_);
    }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
    ~Open() override {
      const auto found = std::find(open_->begin(), open_->end(), reason_);
      if (found != open_->end()) open_->erase(found);
    }

   private:
    std::shared_ptr<std::vector<std::string>> open_;
    std::string reason_;
  };

  std::shared_ptr<std::vector<std::string>> open_ = std::make_shared<std::vector<std::string>>();
};

}  // namespace lumora::testing
