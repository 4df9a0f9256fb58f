#include "app/widgets/ruled_text_box.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace td {

namespace {

// Focus that comes and goes with the window (a message box on top, another
// program activated) or with a popup (the context menu) is not a move to
// another control: the box neither reformats nor changes colour.
bool movesBetweenControls(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

RuledTextBox::RuledTextBox(const QString& name, BoxRule rule, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_rule(rule)
{
    setObjectName(name);
    setMaxLength(maxLength);
    // A drop would put text in without the key rule; a box takes text only
    // by typing and by pasting.
    setAcceptDrops(false);
    setBackground(windowBackground());
}

QColor RuledTextBox::windowBackground() const
{
    return QApplication::palette(this).color(QPalette::Active, QPalette::Base);
}

QColor RuledTextBox::buttonFace() const
{
    return QApplication::palette(this).color(QPalette::Active, QPalette::Button);
}

void RuledTextBox::setBackground(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);  // in every colour group, disabled included
    setPalette(p);
}

BoxState RuledTextBox::state() const
{
    if (hasSelectedText())
        return {text(), selectionStart(), selectionLength()};
    return {text(), cursorPosition(), 0};
}

bool RuledTextBox::insertChecked(const QString& pasted)
{
    if (!acceptsPastedText(m_rule, state(), pasted, maxLength()))
        return false;
    insert(pasted);
    return true;
}

void RuledTextBox::pasteChecked(QClipboard::Mode mode)
{
    if (isReadOnly() || !isEnabled())
        return;
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if (pasted.isEmpty())
        return;
    insertChecked(pasted);
}

void RuledTextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteChecked();
        event->accept();
        return;
    }
    // Printable text is a typed character and meets the key rule. Keys that
    // type nothing printable (arrows, Delete, Enter, Escape, Ctrl+X, Ctrl+Z)
    // are left to the box and the dialog: they insert nothing.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint()) {
        const bool accepted = typed.size() == 1 ? acceptsTypedCharacter(m_rule, state(), typed.front())
                                                : acceptsPastedText(m_rule, state(), typed, maxLength());
        if (!accepted) {
            event->accept();  // dropped without a sound
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void RuledTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty() || acceptsPastedText(m_rule, state(), committed, maxLength())) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&withoutCommit);
}

void RuledTextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!movesBetweenControls(event->reason()))
        return;
    setBackground(focusColour());
    selectAll();
    // A click that gave the focus would put the caret down and drop the
    // selection; select again once it is released.
    m_selectAfterClick = event->reason() == Qt::MouseFocusReason;
}

void RuledTextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_selectAfterClick = false;
    if (!movesBetweenControls(event->reason()))
        return;
    setBackground(isEnabled() ? windowBackground() : buttonFace());
    emit focusLost();
}

void RuledTextBox::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection clipboard under X11: through the rule.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        event->accept();
        deselect();
        pasteChecked(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (m_selectAfterClick && !hasSelectedText())
        selectAll();
    m_selectAfterClick = false;
}

// The box's own menu, built like the line edit's standard one, so that its
// Paste goes through the key rule as well.
void RuledTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    auto add = [&](const char* name, const QString& text, QKeySequence::StandardKey key, bool enabled,
                   auto slot) {
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction* action = menu.addAction(shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    const bool editable = !isReadOnly() && isEnabled();
    const bool selected = hasSelectedText();
    add("edit-undo", tr("&Undo"), QKeySequence::Undo, editable && isUndoAvailable(), [this] { undo(); });
    add("edit-redo", tr("&Redo"), QKeySequence::Redo, editable && isRedoAvailable(), [this] { redo(); });
    menu.addSeparator();
    add("edit-cut", tr("Cu&t"), QKeySequence::Cut, editable && selected, [this] { cut(); });
    add("edit-copy", tr("&Copy"), QKeySequence::Copy, selected, [this] { copy(); });
    add("edit-paste", tr("&Paste"), QKeySequence::Paste,
        editable && !QGuiApplication::clipboard()->text().isEmpty(), [this] { pasteChecked(); });
    add("edit-delete", tr("Delete"), QKeySequence::UnknownKey, editable && selected, [this] { del(); });
    menu.addSeparator();
    add("select-all", tr("Select All"), QKeySequence::SelectAll,
        !text().isEmpty() && selectedText() != text(), [this] { selectAll(); });
    menu.exec(event->globalPos());
}

void RuledTextBox::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        setBackground(isEnabled() ? (hasFocus() ? focusColour() : windowBackground()) : buttonFace());
}

}  // namespace td
