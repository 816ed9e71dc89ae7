#pragma once

#include "platform/Activities.h"
#include "platform/Alerts.h"
#include "platform/Application.h"
#include "platform/Console.h"
#include "platform/Displays.h"
#include "platform/ExtendedDynamicRange.h"
#include "platform/HotKeys.h"
#include "platform/LoginItems.h"
#include "platform/MainQueue.h"
#include "platform/Notifications.h"
#include "platform/OpenedURLs.h"
#include "platform/OperatingSystem.h"
#include "platform/Pasteboard.h"
#include "platform/Power.h"
#include "platform/StatusBar.h"
#include "platform/SymbolImages.h"
#include "platform/SystemEvents.h"
#include "platform/TerminationSignals.h"
#include "platform/Timers.h"
#include "platform/Updaters.h"
#include "platform/UserDefaults.h"
#include "platform/WindowServer.h"
#include "platform/Windows.h"

namespace lumora::platform {

// Everything the system needs of the operating system and its toolkit, grouped by area. All of
// it is used on the main thread, except where an interface says otherwise.
struct Platform {
  Application& application;
  StatusBar& statusBar;
  SymbolImages& symbolImages;
  Displays& displays;
  ExtendedDynamicRange& extendedDynamicRange;
  WindowServer& windowServer;
  UserDefaults& userDefaults;
  Timers& timers;
  MainQueue& mainQueue;
  Alerts& alerts;
  Windows& windows;
  NotificationCenter& notificationCenter;
  OpenedURLs& openedURLs;
  HotKeys& hotKeys;
  LoginItems& loginItems;
  Updaters& updaters;
  TerminationSignals& terminationSignals;
  SystemEvents& systemEvents;
  OperatingSystem& operatingSystem;
  Power& power;
  Pasteboard& pasteboard;
  Activities& activities;
  Console& console;
};

// The platform made of an object's services, each a member named as in Platform.
template <typename Services>
Platform platformOf(Services& services) {
  return Platform{
      .application = services.application,
      .statusBar = services.statusBar,
      .symbolImages = services.symbolImages,
      .displays = services.displays,
      .extendedDynamicRange = services.extendedDynamicRange,
      .windowServer = services.windowServer,
      .userDefaults = services.userDefaults,
      .timers = services.timers,
      .mainQueue = services.mainQueue,
      .alerts = services.alerts,
      .windows = services.windows,
      .notificationCenter = services.notificationCenter,
      .openedURLs = services.openedURLs,
      .hotKeys = services.hotKeys,
      .loginItems = services.loginItems,
      .updaters = services.updaters,
      .terminationSignals = services.terminationSignals,
      .systemEvents = services.systemEvents,
      .operatingSystem = services.operatingSystem,
      .power = services.power,
      .pasteboard = services.pasteboard,
      .activities = services.activities,
      .console = services.console,
  };
}

// The platform of this process, made on first use and kept until the process ends. Each backend
// defines it.
Platform& processPlatform();

}  // namespace lumora::platform
