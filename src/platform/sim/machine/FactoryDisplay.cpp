#include "platform/sim/machine/FactoryDisplay.h"

#include <string>

namespace lumora::sim {
namespace {

PlistPtr dictionary() {
  return adopt(plist_new_dict());
}
PlistPtr text(const char* value) {
  return adopt(plist_new_string(value));
}
PlistPtr real(double value) {
  return adopt(plist_new_real(value));
}
PlistPtr boolean(bool value) {
  return adopt(plist_new_bool(value ? 1 : 0));
}
PlistPtr bytes(const std::string& value) {
  return adopt(plist_new_data(value.data(), value.size()));
}

PlistPtr referencePreset(std::int64_t index, const char* name, const char* description,
                         double sdrNits, double hdrNits, const char* uniqueID) {
  PlistPtr preset = dictionary();
  setDictItem(preset.get(), "PresetName", text(name));
  setDictItem(preset.get(), "PresetDescription", text(description));
  setDictItem(preset.get(), "PresetIndex", makeInteger(index));
  setDictItem(preset.get(), "PresetMaxSDRLuminance", real(sdrNits));
  setDictItem(preset.get(), "PresetMaxHDRLuminance", real(hdrNits));
  setDictItem(preset.get(), "PresetHostMaxSliderBrightness", real(sdrNits));
  setDictItem(preset.get(), "PresetHostDisableEDR", makeInteger(0));
  // The reference presets are read-only: the window server refuses to overwrite them.
  setDictItem(preset.get(), "PresetWritable", boolean(false));
  setDictItem(preset.get(), "PresetValid", boolean(true));
  setDictItem(preset.get(), "PresetUniqueID", bytes(uniqueID));
  return preset;
}

}  // namespace

PlistPtr factoryStandardPreset() {
  PlistPtr preset =
      referencePreset(0, "XDR Display (P3-1600 nits)", "Default preset for the built-in display",
                      500.0, 1600.0, "5D1C3A0E-2B7F-4C55-9E1A-7A2F3B9C4D10");
  setDictItem(preset.get(), "PresetColorGamut", text("P3"));
  setDictItem(preset.get(), "PresetTransferFunction", text("PQ"));
  setDictItem(preset.get(), "PresetReferenceBrightness", makeInteger(100));
  setDictItem(preset.get(), "PresetAmbientAdaptation", boolean(true));
  PlistPtr whitePoint = dictionary();
  setDictItem(whitePoint.get(), "x", real(0.3127));
  setDictItem(whitePoint.get(), "y", real(0.3290));
  setDictItem(whitePoint.get(), "Name", text("D65"));
  setDictItem(preset.get(), "PresetWhitePoint", std::move(whitePoint));
  PlistPtr steps = adopt(plist_new_array());
  for (const double nits : {100.0, 250.0, 500.0})
    plist_array_append_item(steps.get(), plist_new_real(nits));
  setDictItem(preset.get(), "PresetBrightnessSteps", std::move(steps));
  setDictItem(preset.get(), "PresetCalibrationData",
              bytes(std::string("\x00\x01\x7f\x80\xfe\xff", 6)));
  return preset;
}

PlistPtr factoryDisplayState() {
  PlistPtr presets = dictionary();
  setDictItem(presets.get(), "0", factoryStandardPreset());
  setDictItem(presets.get(), "1",
              referencePreset(1, "HDR Video (P3-ST 2084)", "Reference mode for HDR video", 100.0,
                              1000.0, "0F6B2D44-81C3-4A0B-B2E5-3C9D7E1A5F21"));
  setDictItem(presets.get(), "2",
              referencePreset(2, "Digital Cinema (P3-DCI)", "Reference mode for cinema", 48.0, 48.0,
                              "A3E9C1B7-5D24-4F86-8C0A-1B7E2D9F6C32"));
  setDictItem(presets.get(), "3",
              referencePreset(3, "Design & Print (P3-D50)", "Reference mode for print work", 160.0,
                              160.0, "7C2A5E90-3B1D-4E67-A9F4-2D8C6B0E1A43"));
  setDictItem(presets.get(), "4",
              referencePreset(4, "Photography (P3-D65)", "Reference mode for photography", 160.0,
                              1000.0, "E4B08D1C-9A36-4D72-B5E1-6F3A2C7D8B54"));
  setDictItem(presets.get(), "5",
              referencePreset(5, "Internet & Web (sRGB)", "Reference mode for the web", 80.0, 80.0,
                              "2B9F7A63-C4E0-4158-9D3B-8E1C5A6F0D65"));

  PlistPtr display = dictionary();
  setDictItem(display.get(), "DisplayID", makeInteger(factoryMainDisplayID));
  setDictItem(display.get(), "Name", text("Built-in XDR Display"));
  setDictItem(display.get(), "BuiltIn", boolean(true));
  setDictItem(display.get(), "MaximumEDRHeadroom", real(3.2));
  setDictItem(display.get(), "ActivePresetIndex", makeInteger(0));
  setDictItem(display.get(), "Presets", std::move(presets));

  PlistPtr displays = adopt(plist_new_array());
  plist_array_append_item(displays.get(), display.release());

  PlistPtr root = dictionary();
  // A MacBook Pro with an XDR panel.
  setDictItem(root.get(), "Model", text("Mac15,7"));
  // A release that still takes raised presets, so that a new user meets the preset method first.
  setDictItem(root.get(), "SystemVersion", text("26.2"));
  // A MacBook on its charger, cool.
  PlistPtr power = dictionary();
  setDictItem(power.get(), "Source", text("AC"));
  setDictItem(power.get(), "BatteryPercent", makeInteger(100));
  setDictItem(power.get(), "ThermalState", text("nominal"));
  setDictItem(root.get(), "Power", std::move(power));
  setDictItem(root.get(), "MainDisplayID", makeInteger(factoryMainDisplayID));
  setDictItem(root.get(), "MainScreenDisplayID", makeInteger(factoryMainDisplayID));
  setDictItem(root.get(), "Displays", std::move(displays));
  return root;
}

}  // namespace lumora::sim
