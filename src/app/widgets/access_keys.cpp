#include "app/widgets/access_keys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QShortcutEvent>

namespace td {

namespace {

class AccessKeyArbiter : public QObject {
public:
    explicit AccessKeyArbiter(QWidget& window) : QObject(&window), m_window(window)
    {
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w))
                w->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous())
            return false;
        QAbstractButton* acting = onlyActingControl(shortcut->key());
        if (!acting)
            return false;
        // The same as the key does for a button that has it alone.
        acting->animateClick();
        return true;
    }

private:
    QAbstractButton* onlyActingControl(const QKeySequence& key) const
    {
        QAbstractButton* found = nullptr;
        for (QAbstractButton* button : m_window.findChildren<QAbstractButton*>()) {
            if (!button->isEnabled() || !button->isVisibleTo(&m_window) ||
                QKeySequence::mnemonic(button->text()) != key)
                continue;
            if (found)
                return nullptr;
            found = button;
        }
        return found;
    }

    QWidget& m_window;
};

}  // namespace

void makeAccessKeysAct(QWidget& window) { new AccessKeyArbiter(window); }

}  // namespace td
