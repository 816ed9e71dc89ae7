// The part of Carbon the macOS backend uses, for the Objective-C++ type check only (the checker
// has no Carbon). Written from the macOS 13 SDK's HIToolbox headers (CarbonEvents.h,
// CarbonEventsCore.h, Events.h) and MacTypes.h, with only the declarations used. Four-character
// codes are written as their numbers.
#ifndef LUMORA_TYPECHECK_CARBON_H
#define LUMORA_TYPECHECK_CARBON_H

#import <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

// MacTypes.h.
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef UInt32 OptionBits;
typedef unsigned long ItemCount;
typedef unsigned long ByteCount;
enum { noErr = 0 };

// CarbonEventsCore.h.
typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef OSType EventParamName;
typedef OSType EventParamType;
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
struct EventTypeSpec {
  OSType eventClass;
  UInt32 eventKind;
};
typedef struct EventTypeSpec EventTypeSpec;
enum { eventNotHandledErr = -9874 };

extern OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                                    ItemCount inNumTypes, const EventTypeSpec* inList,
                                    void* inUserData, EventHandlerRef* outRef);
extern OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
extern OSStatus GetEventParameter(EventRef inEvent, EventParamName inName,
                                  EventParamType inDesiredType, EventParamType* outActualType,
                                  ByteCount inBufferSize, ByteCount* outActualSize, void* outData);

// CarbonEvents.h.
struct EventHotKeyID {
  OSType signature;
  UInt32 id;
};
typedef struct EventHotKeyID EventHotKeyID;
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
enum { kEventClassKeyboard = 0x6B657962 };  // 'keyb'
enum { kEventHotKeyPressed = 5, kEventHotKeyReleased = 6 };
enum { kEventParamDirectObject = 0x2D2D2D2D };  // '----'
enum { typeEventHotKeyID = 0x686B6964 };        // 'hkid'
enum { kEventHotKeyNoOptions = 0, kEventHotKeyExclusive = (1 << 0) };
enum { eventHotKeyExistsErr = -9878, eventHotKeyInvalidErr = -9879 };

extern EventTargetRef GetApplicationEventTarget(void);
extern OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers,
                                    EventHotKeyID inHotKeyID, EventTargetRef inTarget,
                                    OptionBits inOptions, EventHotKeyRef* outRef);
extern OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);

// Events.h: modifier masks and the virtual key codes of an ANSI keyboard.
enum {
  cmdKey = 1 << 8,
  shiftKey = 1 << 9,
  optionKey = 1 << 11,
  controlKey = 1 << 12,
};
enum {
  kVK_ANSI_A = 0x00,
  kVK_ANSI_S = 0x01,
  kVK_ANSI_D = 0x02,
  kVK_ANSI_F = 0x03,
  kVK_ANSI_H = 0x04,
  kVK_ANSI_G = 0x05,
  kVK_ANSI_Z = 0x06,
  kVK_ANSI_X = 0x07,
  kVK_ANSI_C = 0x08,
  kVK_ANSI_V = 0x09,
  kVK_ANSI_B = 0x0B,
  kVK_ANSI_Q = 0x0C,
  kVK_ANSI_W = 0x0D,
  kVK_ANSI_E = 0x0E,
  kVK_ANSI_R = 0x0F,
  kVK_ANSI_Y = 0x10,
  kVK_ANSI_T = 0x11,
  kVK_ANSI_1 = 0x12,
  kVK_ANSI_2 = 0x13,
  kVK_ANSI_3 = 0x14,
  kVK_ANSI_4 = 0x15,
  kVK_ANSI_6 = 0x16,
  kVK_ANSI_5 = 0x17,
  kVK_ANSI_9 = 0x19,
  kVK_ANSI_7 = 0x1A,
  kVK_ANSI_8 = 0x1C,
  kVK_ANSI_0 = 0x1D,
  kVK_ANSI_O = 0x1F,
  kVK_ANSI_U = 0x20,
  kVK_ANSI_I = 0x22,
  kVK_ANSI_P = 0x23,
  kVK_ANSI_L = 0x25,
  kVK_ANSI_J = 0x26,
  kVK_ANSI_K = 0x28,
  kVK_ANSI_N = 0x2D,
  kVK_ANSI_M = 0x2E,
  kVK_F5 = 0x60,
  kVK_F6 = 0x61,
  kVK_F7 = 0x62,
  kVK_F3 = 0x63,
  kVK_F8 = 0x64,
  kVK_F9 = 0x65,
  kVK_F11 = 0x67,
  kVK_F10 = 0x6D,
  kVK_F12 = 0x6F,
  kVK_F4 = 0x76,
  kVK_F2 = 0x78,
  kVK_F1 = 0x7A,
  kVK_LeftArrow = 0x7B,
  kVK_RightArrow = 0x7C,
  kVK_DownArrow = 0x7D,
  kVK_UpArrow = 0x7E,
};

#ifdef __cplusplus
}
#endif

#endif
