#pragma once

#include <QAccessible>

class QWidget;

// Assistive technology reports a plain QWidget as a "filler". Widgets of our
// own that are windows, pictures or frames say what they are here, first
// thing in their constructors: setting a name already asks about them.
namespace AccessibleRole {

void set(QWidget *widget, QAccessible::Role role);

// A name for a widget given a role here, told when asked but not announced
// as a change (setAccessibleName announces each one): for the many markers of
// a map, named while a screen is built, which would otherwise flood a screen
// reader then (Orca drops what a screen says when too many events come at once).
void setQuietName(QWidget *widget, const QString &name);

} // namespace AccessibleRole
