#pragma once

namespace platform {

class FormWindow;
class Label;

// What a screen reader finds of a game window: the window itself, with its
// title, as a frame (a dialog when it belongs to another window), its
// buttons as Qt shows them, and its labels, which the window paints itself,
// as text with their captions.

// Makes the game's windows known to Qt's accessibility; once is enough.
void installFormAccessibility();

// The label's caption may have changed: tells assistive technology if it did.
void announceCaption(FormWindow& window, const Label& label);

// The window's form is gone: its labels are no longer there to read.
void forgetAccessibleLabels(FormWindow& window);

}  // namespace platform
