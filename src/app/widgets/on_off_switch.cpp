#include "app/widgets/on_off_switch.h"

#include "app/widgets/accessible_interfaces.h"

#include <QAccessible>

namespace td {

OnOffSwitch::OnOffSwitch(const QString& caption, QWidget* parent) : QCheckBox(caption, parent)
{
    installAccessibleInterfaces();
}

void OnOffSwitch::setCaption(const QString& caption)
{
    const QString old = text();
    setText(caption);
    if (old != caption) {
        QAccessibleTextUpdateEvent event(this, 0, accessibleCaption(old), accessibleCaption(caption));
        QAccessible::updateAccessibility(&event);
    }
}

bool OnOffSwitch::hitButton(const QPoint& pos) const { return rect().contains(pos); }

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace td
