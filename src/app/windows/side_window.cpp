#include "app/windows/side_window.h"

#include <QKeyEvent>
#include <QTableView>

namespace td {

void SideWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_columnsFitted || !m_fittedTable)
        return;
    m_columnsFitted = true;
    m_fittedTable->resizeColumnsToContents();
}

void SideWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace td
