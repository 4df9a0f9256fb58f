#include "support/accessibility_walk.h"

#include "app/widgets/image_button.h"
#include "app/widgets/on_off_switch.h"
#include "app/widgets/value_display.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <optional>

namespace td::test {

namespace {

// The role a widget of this kind must show; NoRole when any role will do
// (containers, which need no name either).
QAccessible::Role expectedRole(const QWidget* w)
{
    if (qobject_cast<const ImageButton*>(w) || qobject_cast<const QPushButton*>(w))
        return QAccessible::Button;
    if (qobject_cast<const QCheckBox*>(w))
        return QAccessible::CheckBox;
    if (qobject_cast<const QRadioButton*>(w))
        return QAccessible::RadioButton;
    if (qobject_cast<const QLineEdit*>(w))
        return QAccessible::EditableText;
    if (qobject_cast<const QAbstractSpinBox*>(w))
        return QAccessible::SpinBox;
    if (qobject_cast<const ValueDisplay*>(w))
        return QAccessible::StaticText;
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    if (qobject_cast<const QGroupBox*>(w))
        return QAccessible::Grouping;
    if (w->inherits("td::BarChartView"))
        return QAccessible::Chart;
    if (qobject_cast<const QAbstractItemView*>(w))
        return QAccessible::Table;
    if (qobject_cast<const QMenuBar*>(w))
        return QAccessible::MenuBar;
    // A menu is read by the item that opens it, and by its own items.
    if (qobject_cast<const QMenu*>(w))
        return QAccessible::NoRole;
    if (qobject_cast<const QScrollBar*>(w))
        return QAccessible::ScrollBar;
    if (qobject_cast<const QDialog*>(w))
        return QAccessible::Dialog;
    if (qobject_cast<const QMainWindow*>(w))
        return QAccessible::Window;
    // Any other window of its own is still a window to a reader, not a pane.
    if (w->isWindow())
        return QAccessible::Window;
    return QAccessible::NoRole;
}

// The value a control shows, when it shows one.
std::optional<QString> shownValue(const QWidget* w)
{
    if (const auto* display = qobject_cast<const ValueDisplay*>(w))
        return display->text();
    if (const auto* onOff = qobject_cast<const OnOffSwitch*>(w))
        return onOff->text().remove(QLatin1Char('&'));
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    return std::nullopt;
}

// A menu is hidden until it is opened, and read then: its items are walked
// all the same, but for the items it does not show.
bool hidden(QAccessibleInterface* iface)
{
    if (qobject_cast<QMenu*>(iface->object()))
        return false;
    if (auto* action = qobject_cast<QAction*>(iface->object()))
        return !action->isVisible();
    return iface->state().invisible;
}

class Walk {
public:
    QStringList problems;

    void visit(QAccessibleInterface* iface, const QString& path, int depth)
    {
        if (!iface || !iface->isValid() || depth > 40)
            return;
        if (hidden(iface))
            return;
        const QString here = path + QLatin1Char('/') + describe(iface);
        switch (iface->role()) {
        case QAccessible::Cell:
        case QAccessible::ColumnHeader:
        case QAccessible::RowHeader:
            checkCell(iface, here);
            break;
        case QAccessible::MenuItem:
            if (iface->text(QAccessible::Name).trimmed().isEmpty())
                problem(here, QStringLiteral("a menu item without a name"));
            break;
        default:
            if (auto* w = qobject_cast<QWidget*>(iface->object()))
                checkControl(iface, w, here);
            break;
        }
        for (int i = 0; i < iface->childCount(); ++i)
            visit(iface->child(i), here, depth + 1);
    }

private:
    static QString describe(QAccessibleInterface* iface)
    {
        if (iface->object() && !iface->object()->objectName().isEmpty())
            return iface->object()->objectName();
        return QStringLiteral("%1 \"%2\"").arg(int(iface->role())).arg(iface->text(QAccessible::Name));
    }

    void problem(const QString& where, const QString& what)
    {
        problems.append(where + QStringLiteral(": ") + what);
    }

    void checkControl(QAccessibleInterface* iface, QWidget* w, const QString& here)
    {
        const QAccessible::Role expected = expectedRole(w);
        // A scroll area's viewport is read through the area (a preview's
        // pages are pictures, named on the widget that shows them).
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); area && area->viewport() == w)
            return;
        if (expected == QAccessible::NoRole) {
            // A container: something must be inside it to read.
            if (iface->childCount() == 0)
                problem(here, QStringLiteral("a %1 with nothing in it and no role of its own")
                                  .arg(QString::fromLatin1(w->metaObject()->className())));
            return;
        }
        if (iface->role() != expected)
            problem(here, QStringLiteral("role %1, a %2 should have role %3")
                              .arg(int(iface->role()))
                              .arg(QString::fromLatin1(w->metaObject()->className()))
                              .arg(int(expected)));
        // A menu bar and a scroll bar are read by what they hold.
        if (expected != QAccessible::ScrollBar && expected != QAccessible::MenuBar &&
            iface->text(QAccessible::Name).trimmed().isEmpty())
            problem(here, QStringLiteral("no name"));
        // A chart is a picture: a reader learns from its description what it shows.
        if (expected == QAccessible::Chart && iface->text(QAccessible::Description).trimmed().isEmpty())
            problem(here, QStringLiteral("a chart without a description"));
        if (const std::optional<QString> shown = shownValue(w)) {
            if (iface->text(QAccessible::Value) != *shown)
                problem(here, QStringLiteral("value \"%1\", shows \"%2\"")
                                  .arg(iface->text(QAccessible::Value), *shown));
            QAccessibleTextInterface* text = iface->textInterface();
            if (!text)
                problem(here, QStringLiteral("no text to read"));
            else if (text->text(0, text->characterCount()) != *shown)
                problem(here, QStringLiteral("text \"%1\", shows \"%2\"")
                                  .arg(text->text(0, text->characterCount()), *shown));
        }
        if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<ImageButton*>(w)) && w->isEnabled()) {
            QAccessibleActionInterface* actions = iface->actionInterface();
            const QStringList names = actions ? actions->actionNames() : QStringList();
            if (!names.contains(QAccessibleActionInterface::pressAction()) &&
                !names.contains(QAccessibleActionInterface::toggleAction()))
                problem(here, QStringLiteral("nothing to press"));
        }
    }

    void checkCell(QAccessibleInterface* iface, const QString& here)
    {
        QAccessibleTableCellInterface* cell = iface->tableCellInterface();
        QAccessibleInterface* tableIface = iface->parent();
        auto* view = tableIface ? qobject_cast<QAbstractItemView*>(tableIface->object()) : nullptr;
        if (!cell || !view || !view->model())
            return;
        QString shown;
        if (iface->role() == QAccessible::ColumnHeader)
            shown = view->model()->headerData(cell->columnIndex(), Qt::Horizontal).toString();
        else if (iface->role() == QAccessible::Cell)
            shown = view->model()->index(cell->rowIndex(), cell->columnIndex()).data().toString();
        else
            return;
        if (iface->text(QAccessible::Name) != shown)
            problem(here,
                    QStringLiteral("reads \"%1\", shows \"%2\"").arg(iface->text(QAccessible::Name), shown));
    }
};

}  // namespace

QStringList accessibilityProblems(QWidget& window)
{
    Walk walk;
    walk.visit(QAccessible::queryAccessibleInterface(&window), QString(), 0);
    return walk.problems;
}

}  // namespace td::test
