#pragma once

#import <AppKit/AppKit.h>

#include "platform/Application.h"
#include "platform/Menu.h"

// A slider cell that draws a tick mark only where the value has a stop. AppKit spaces tick marks
// evenly, so the slider gets as many as put one on every stop, and only those are drawn.
@interface LMVStopSliderCell : NSSliderCell
@property(nonatomic, copy) NSArray<NSNumber *> *stops;
@end

// The view of a menu entry that is a slider: the slider, and a small label with its value beside
// it. Its slider sends performSliderAction: to the target with the action's selector name in the
// cell's represented object, as entries carry theirs.
@interface LMVMenuSliderView : NSView
@property(nonatomic, readonly) NSSlider *slider;
@property(nonatomic, readonly) NSTextField *valueLabel;
- (instancetype)initWithTarget:(id)target;
@end

namespace lumora::macos {

// A menu entry with a view has no width of its own: this one is wide enough for a slider worth
// dragging and the label, and grows with the menu.
inline constexpr CGFloat menuSliderViewWidth = 260.0;

// Shows the value on the view, named `title` for accessibility. With `keepKnob` the knob stays
// where it is, as it must while the mouse holds it: an update does not pull it from the pointer.
void showMenuSlider(LMVMenuSliderView *view, const platform::MenuSlider &slider, NSString *title,
                    NSString *selector, BOOL enabled, bool keepKnob);

// The count of evenly spaced tick marks that puts one on each stop; 0 when the stops do not fall
// on a grid of whole units fine enough to draw.
NSInteger tickMarkCount(const platform::MenuSlider &slider);

// How a slider sending its action now is moving: held by the mouse (pressed or dragged), or let
// go (the mouse released, or a change by the keyboard or accessibility).
platform::SliderMotion currentSliderMotion();

}  // namespace lumora::macos
