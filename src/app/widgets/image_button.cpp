#include "app/widgets/image_button.h"

#include "app/widgets/accessible_interfaces.h"

#include <QLabel>
#include <QMouseEvent>

namespace td {

ImageButton::ImageButton(const QString& name, const QPixmap& up, std::function<QPixmap()> drawDown,
                         const QString& caption, QWidget* parent)
    : QWidget(parent), m_up(new QLabel(this)), m_down(new QLabel(this)), m_drawDown(std::move(drawDown))
{
    installAccessibleInterfaces();
    setObjectName(name);
    setAccessibleName(caption);
    m_down->setObjectName(name + QStringLiteral("Down"));
    m_up->setObjectName(name + QStringLiteral("Up"));
    m_up->setPixmap(up);
    for (QLabel* picture : {m_down, m_up}) {
        picture->setGeometry(0, 0, up.width(), up.height());
        // The pictures only show; the button itself takes the mouse.
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_up->raise();
    setFixedSize(up.size());
    setToolTip(caption);
}

void ImageButton::press()
{
    if (m_drawDown) {
        m_down->setPixmap(m_drawDown());
        m_drawDown = nullptr;
    }
    m_pressed = true;
    m_up->hide();
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    press();
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_pressed)
        return;
    release();
}

void ImageButton::click()
{
    press();
    m_down->repaint();
    release();
}

void ImageButton::release()
{
    m_pressed = false;
    m_up->show();
    m_up->repaint();
    emit activated();
}

}  // namespace td
