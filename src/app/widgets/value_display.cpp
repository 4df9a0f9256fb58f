#include "app/widgets/value_display.h"

#include "app/widgets/accessible_interfaces.h"

#include <QAccessible>
#include <QPainter>

namespace td {

namespace {
// The room between the border and the text, as a label with an indent leaves it.
constexpr int kIndent = 3;
}  // namespace

ValueDisplay::ValueDisplay(QWidget* parent) : QFrame(parent)
{
    installAccessibleInterfaces();
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void ValueDisplay::setText(const QString& text)
{
    if (text == m_text)
        return;
    const QString old = m_text;
    m_text = text;
    update();
    emit textChanged(m_text);
    QAccessibleTextUpdateEvent event(this, 0, old, m_text);
    QAccessible::updateAccessibility(&event);
}

void ValueDisplay::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Stored texts are shown as they stand: no mnemonic, no rich text.
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect().adjusted(kIndent, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

}  // namespace td
