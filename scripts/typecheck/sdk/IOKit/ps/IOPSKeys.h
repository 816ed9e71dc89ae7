// The power-source keys the macOS backend reads, for the Objective-C++ type check only (the
// checker has no IOKit). Copied from the macOS 13 SDK's IOKit/ps/IOPSKeys.h.
#ifndef LUMORA_TYPECHECK_IOPSKEYS_H
#define LUMORA_TYPECHECK_IOPSKEYS_H

#define kIOPSPowerSourceStateKey "Power Source State"
#define kIOPSCurrentCapacityKey "Current Capacity"
#define kIOPSMaxCapacityKey "Max Capacity"
#define kIOPSTypeKey "Type"
#define kIOPSIsPresentKey "Is Present"
#define kIOPSACPowerValue "AC Power"
#define kIOPSBatteryPowerValue "Battery Power"
#define kIOPSInternalBatteryType "InternalBattery"

#endif
