#include "app/widgets/accessible_interfaces.h"

#include "app/widgets/image_button.h"
#include "app/widgets/on_off_switch.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/register_grid_accessible.h"
#include "app/widgets/value_display.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>

namespace td {

namespace {

constexpr char kHiddenProperty[] = "td_hiddenFromAssistiveTechnology";

// Plain read-only text: every offset is in the one line of the text.
class ReadOnlyText : public QAccessibleTextInterface {
public:
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = shownText();
        if (endOffset < 0 || endOffset > all.size())
            endOffset = all.size();
        startOffset = qBound(0, startOffset, endOffset);
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

protected:
    virtual QString shownText() const = 0;
};

// A widget whose shown text is read through the text interface.
class ShownTextWidget : public QAccessibleWidget, public ReadOnlyText {
public:
    using QAccessibleWidget::QAccessibleWidget;

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
};

// A value display: static text named by its caption, whose value and text
// are what it shows.
class ValueDisplayAccessible : public ShownTextWidget {
public:
    explicit ValueDisplayAccessible(ValueDisplay* display) : ShownTextWidget(display, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(t);
    }
    using ReadOnlyText::text;
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

protected:
    QString shownText() const override { return static_cast<ValueDisplay*>(widget())->text(); }
};

// An on/off switch: a check box named for what it switches, whose value and
// text are its caption, with the toggle action of a check box.
class OnOffSwitchAccessible : public ShownTextWidget {
public:
    explicit OnOffSwitchAccessible(OnOffSwitch* onOff) : ShownTextWidget(onOff, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value:
            return shownText();
        case QAccessible::Name:
            if (!widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            return shownText();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    using ReadOnlyText::text;
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = onOff()->isChecked();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override
    {
        if (actionName == toggleAction() || actionName == pressAction()) {
            if (onOff()->isEnabled())
                onOff()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
    QStringList keyBindingsForAction(const QString& actionName) const override
    {
        const QKeySequence key = QKeySequence::mnemonic(onOff()->text());
        if (actionName == toggleAction() && !key.isEmpty())
            return {key.toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

protected:
    QString shownText() const override { return accessibleCaption(onOff()->text()); }

private:
    OnOffSwitch* onOff() const { return static_cast<OnOffSwitch*>(widget()); }
};

// A widget whose children are its face, not parts a reader should visit.
class ChildlessAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

// A picture button: a push button named by its command, whose press runs
// the command as a click does. Its two pictures are its face, not children.
class ImageButtonAccessible : public ChildlessAccessible {
public:
    explicit ImageButtonAccessible(ImageButton* button) : ChildlessAccessible(button, QAccessible::Button) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction()) {
            if (button()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    ImageButton* button() const { return static_cast<ImageButton*>(widget()); }
};

// A widget kept out of the tree: invisible, with nothing inside, so the
// events that it still raises lead a reader nowhere.
class HiddenAccessible : public ChildlessAccessible {
public:
    explicit HiddenAccessible(QWidget* widget) : ChildlessAccessible(widget, QAccessible::NoRole) {}

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }
    QStringList actionNames() const override { return {}; }
};

// A chart: a picture, named and described by its view, whose figures a
// reader reads from the table that goes with it; its axes and bars are drawn
// items, not controls.
class ChartAccessible : public ChildlessAccessible {
public:
    explicit ChartAccessible(QWidget* view) : ChildlessAccessible(view, QAccessible::Chart) {}
};

// Whether every class from this one down to QWidget is one of ours.
bool isOursOverPlainWidget(const QMetaObject* meta)
{
    for (; meta && meta != &QWidget::staticMetaObject; meta = meta->superClass()) {
        if (!QLatin1String(meta->className()).startsWith(QLatin1String("td::")))
            return false;
    }
    return meta == &QWidget::staticMetaObject;
}

QAccessibleInterface* programInterfaces(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->property(kHiddenProperty).toBool())
        return new HiddenAccessible(widget);
    if (className == QLatin1String("td::ImageButton"))
        return new ImageButtonAccessible(static_cast<ImageButton*>(widget));
    if (className == QLatin1String("td::ValueDisplay"))
        return new ValueDisplayAccessible(static_cast<ValueDisplay*>(widget));
    if (className == QLatin1String("td::OnOffSwitch"))
        return new OnOffSwitchAccessible(static_cast<OnOffSwitch*>(widget));
    if (className == QLatin1String("td::RegisterGrid"))
        return makeRegisterGridAccessible(static_cast<RegisterGrid*>(widget));
    // A chart: the view that holds it, and the chart the plugin draws in it.
    if (className == QLatin1String("td::BarChartView") || className == QLatin1String("QChartView"))
        return new ChartAccessible(widget);
    // A window of ours made from QWidget through classes of ours alone: Qt
    // reads a plain widget as a pane ("filler"), which a reader does not
    // offer among the windows. Named by its title, as any window. Qt's own
    // such windows (a menu) keep Qt's reading, items and all.
    if (widget->isWindow() && className == QLatin1String(widget->metaObject()->className()) &&
        isOursOverPlainWidget(widget->metaObject()))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(programInterfaces);
        return true;
    }();
    Q_UNUSED(installed);
}

void hideFromAssistiveTechnology(QWidget& widget)
{
    installAccessibleInterfaces();
    widget.setProperty(kHiddenProperty, true);
    // An event raised while the widget was being built may have made its
    // ordinary interface already; drop it so the next query makes ours.
    if (QAccessible::isActive()) {
        QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
        if (made && !dynamic_cast<HiddenAccessible*>(made))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

QString accessibleCaption(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (++i == caption.size())
                break;
        }
        plain.append(caption[i]);
    }
    return plain;
}

}  // namespace td
