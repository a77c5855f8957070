#include "AccessibleRole.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace {

// Keyed by address only: Qt asks the factory about every object, some of
// them parts of Qt WebEngine that must not be called into from here.
QHash<const QObject *, QAccessible::Role> &roles()
{
    static QHash<const QObject *, QAccessible::Role> known;
    return known;
}

QHash<const QObject *, QString> &quietNames()
{
    static QHash<const QObject *, QString> known;
    return known;
}

class RoleWidget : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto quiet = quietNames().constFind(object()); quiet != quietNames().cend())
                return quiet.value();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *widgetWithRole(const QString &, QObject *object)
{
    const auto found = roles().constFind(object);
    if (found == roles().cend())
        return nullptr;
    return new RoleWidget(static_cast<QWidget *>(object), found.value());
}

} // namespace

void AccessibleRole::set(QWidget *widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(widgetWithRole);
        return true;
    }();
    Q_UNUSED(installed);
    roles().insert(widget, role);
    QObject::connect(widget, &QObject::destroyed, [widget] {
        roles().remove(widget);
        quietNames().remove(widget);
    });
}

void AccessibleRole::setQuietName(QWidget *widget, const QString &name)
{
    quietNames().insert(widget, name);
}
