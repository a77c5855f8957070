#include "EntrySelector.h"

#include "ScreenReader.h"

#include <QAccessibleWidget>
#include <QAbstractItemView>

namespace {

// A combo box whose value is its text: screen readers on this desktop read a
// combo box's value from its text or its selection, and Qt's own combo box
// offers neither.
class EntrySelectorAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit EntrySelectorAccessible(EntrySelector *selector)
        : QAccessibleWidget(selector, QAccessible::ComboBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? value() : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = selector()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

    // The text: the name in the field, read-only, without a caret or selection.
    QString text(int startOffset, int endOffset) const override
    {
        return value().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(value().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    EntrySelector *selector() const { return static_cast<EntrySelector *>(widget()); }
    QString value() const { return selector()->text(); }
};

// Asked with the class name only, so that no other object is called into.
QAccessibleInterface *entrySelectorInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("EntrySelector"))
        return new EntrySelectorAccessible(static_cast<EntrySelector *>(object));
    return nullptr;
}

} // namespace

EntrySelector::EntrySelector(QWidget *parent) : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(entrySelectorInterface);
        return true;
    }();
    Q_UNUSED(installed);
    setEditable(false);
    setMaxVisibleItems(20);
    QPalette colours = palette();
    colours.setColor(QPalette::PlaceholderText, colours.color(QPalette::Text));
    setPalette(colours);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { ScreenReader::say(window(), text()); });
}

void EntrySelector::setText(const QString &text)
{
    const int row = text.isEmpty() ? -1 : findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setPlaceholderText(row < 0 ? text : QString());
    setCurrentIndex(row);
}

QString EntrySelector::text() const
{
    return currentIndex() < 0 ? placeholderText() : currentText();
}
