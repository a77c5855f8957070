#pragma once

#include <QAccessible>

class QWidget;

// Assistive technology reports a plain QWidget as a "filler". Widgets of our
// own that are windows, pictures or frames say what they are here, first
// thing in their constructors: setting a name already asks about them.
namespace AccessibleRole {

void set(QWidget *widget, QAccessible::Role role);

} // namespace AccessibleRole
