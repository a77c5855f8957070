#pragma once

#include <QComboBox>

// Combo1: the entry selector. Only a row chosen by the user (activated)
// counts as a choice; the program may show any name in its text field.
// Assistive technology reads the name in the field as the selector's value,
// and hears each new one.
class EntrySelector : public QComboBox
{
    Q_OBJECT
public:
    explicit EntrySelector(QWidget *parent = nullptr);

    // Shows text in the field without choosing anything.
    void setText(const QString &text);
    QString text() const;
};
