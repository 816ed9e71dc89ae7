#pragma once

#import <Foundation/Foundation.h>
#import <ServiceManagement/ServiceManagement.h>

#include "platform/LoginItems.h"

NS_ASSUME_NONNULL_BEGIN

// What the login item needs of SMAppService, whose methods these are: the app's own service, or
// a test's stand-in.
@protocol LMVLoginItemService <NSObject>
@property(readonly) SMAppServiceStatus status;
- (BOOL)registerAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error;
- (BOOL)unregisterAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error;
@end

namespace lumora::macos {

// SMAppService.mainAppService.
class MacLoginItems final : public platform::LoginItems {
 public:
  MacLoginItems();
  explicit MacLoginItems(id<LMVLoginItemService> service) : service_(service) {}

  platform::LoginItemStatus status() override;
  std::optional<std::string> registerMainApp() override;
  std::optional<std::string> unregisterMainApp() override;
  void openLoginItemsSettings() override;

 private:
  id<LMVLoginItemService> service_;
};

}  // namespace lumora::macos

NS_ASSUME_NONNULL_END
