#include "ScreenReader.h"

#include "AccessibleRole.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QFocusEvent>
#include <QTimer>

namespace ScreenReader {

namespace {

// An empty widget that screen readers hear as a notification each time it
// shows: they speak its name, wherever the focus is.
const QString NoticeName = QStringLiteral("ScreenReaderNotice");

class CurrentLineOnEntry : public QObject
{
public:
    explicit CurrentLineOnEntry(QAbstractItemView *list) : QObject(list), m_list(list) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_list && event->type() == QEvent::FocusIn
            && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason) {
            if (!m_list->currentIndex().isValid() && m_list->model() && m_list->model()->rowCount() > 0)
                m_list->setCurrentIndex(m_list->model()->index(0, 0));
            // After the list's own focus event, which names the list only.
            QTimer::singleShot(0, m_list, [list = m_list] {
                const QModelIndex current = list->currentIndex();
                if (!list->hasFocus() || !current.isValid() || !QAccessible::isActive())
                    return;
                QAccessibleEvent focus(list, QAccessible::Focus);
                focus.setChild(current.row());
                QAccessible::updateAccessibility(&focus);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractItemView *m_list;
};

} // namespace

std::function<void(const QString &)> &announcer()
{
    static std::function<void(const QString &)> installed;
    return installed;
}

void setAnnouncer(std::function<void(const QString &)> announcer)
{
    ScreenReader::announcer() = std::move(announcer);
}

void say(QWidget *window, const QString &text)
{
    if (text.isEmpty())
        return;
    if (announcer()) {
        announcer()(text);
        return;
    }
    if (!QAccessible::isActive())
        return;
    // After the events under way, so that a focus change is presented first
    // and this is not cut short by it.
    QTimer::singleShot(0, window, [window, text] {
        if (!window->isActiveWindow())
            return;
        auto *notice = window->findChild<QWidget *>(NoticeName, Qt::FindDirectChildrenOnly);
        if (!notice) {
            notice = new QWidget(window);
            notice->setObjectName(NoticeName);
            AccessibleRole::set(notice, QAccessible::Notification);
            notice->setAttribute(Qt::WA_TransparentForMouseEvents);
            notice->setFocusPolicy(Qt::NoFocus);
            notice->setGeometry(0, 0, 1, 1);
        }
        notice->hide();
        notice->setAccessibleName(text);
        notice->show();
    });
}

void readFromCurrentLine(QAbstractItemView *list)
{
    list->installEventFilter(new CurrentLineOnEntry(list));
}

} // namespace ScreenReader
