#pragma once

#include <functional>

class QAbstractItemView;
class QString;
class QWidget;

// What a screen reader presents of changes that the eye sees. Screen readers
// on this desktop present a control as it gets the focus, but pass over later
// changes of its name, description or text (Qt's bridge sends them in a form
// they do not take), so a change is told as a notification of the window.
namespace ScreenReader {

// Tells `text` as a notification of `window`, once the events under way
// (a focus change) have been presented, while the window is active.
void say(QWidget *window, const QString &text);

// Where a platform without an accessibility bridge (the browser) sends what
// say() tells, at once; null to stop.
void setAnnouncer(std::function<void(const QString &text)> announcer);

// A list entered from the keyboard reads from its current line (the first,
// if none), not from its second as the Down key takes it there.
void readFromCurrentLine(QAbstractItemView *list);

} // namespace ScreenReader
