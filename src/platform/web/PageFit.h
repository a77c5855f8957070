#pragma once

class QWidget;

// The screens on the page: each drawn at the largest scale at which it fits
// (Qt's scale factor for the page's screen), centred, and fitted again when
// the page changes size or the device is turned.
namespace PageFit {

// Before `screen` is first shown, and again on every change of the page.
void fit(QWidget &screen);

// Fits the showing screen each time the page changes size, from now on.
void followThePage();

} // namespace PageFit
