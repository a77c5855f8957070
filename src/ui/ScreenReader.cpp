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

// Qt's list lines report themselves focused whenever they are current, so a
// list that the focus has left keeps no current line: otherwise assistive
// technology sees two focused controls and follows the line, not the control
// that has the focus. The line is taken up again when the focus comes back.
class CurrentLineOnEntry : public QObject
{
public:
    explicit CurrentLineOnEntry(QAbstractItemView *list) : QObject(list), m_list(list) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_list)
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::FocusOut) {
            m_line = m_list->currentIndex();
            m_list->setCurrentIndex(QModelIndex());
        } else if (event->type() == QEvent::FocusIn
                   && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason) {
            enterAtLine();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void enterAtLine()
    {
        if (!m_list->model() || m_list->model()->rowCount() == 0)
            return;
        m_list->setCurrentIndex(m_line.isValid() ? QModelIndex(m_line) : m_list->model()->index(0, 0));
        // Qt names the list only, after this event: the line is told again
        // once the focus change has been presented.
        QTimer::singleShot(0, m_list, [list = m_list] {
            const QModelIndex current = list->currentIndex();
            if (!list->hasFocus() || !current.isValid() || !QAccessible::isActive())
                return;
            QAccessibleEvent focus(list, QAccessible::Focus);
            focus.setChild(current.row());
            QAccessible::updateAccessibility(&focus);
        });
    }

    QAbstractItemView *m_list;
    QPersistentModelIndex m_line;  // the line the focus left, while its list keeps it
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
