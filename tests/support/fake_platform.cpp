#include "fake_platform.h"

#include "commands/recent_files.h"
#include "support/preferences_scope.h"

#include <QDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace td::test {

char* toString(const RecordedMessage& message)
{
    const QString shown =
        QStringLiteral("{\"%1\", \"%2\", %3, %4}")
            .arg(message.title, message.text,
                 message.icon == MessageIcon::Question ? QStringLiteral("Question")
                                                       : QStringLiteral("Information"),
                 message.buttons == MessageButtons::YesNo ? QStringLiteral("YesNo") : QStringLiteral("Ok"));
    return qstrdup(shown.toUtf8().constData());
}

MessageButton FakeMessageBoxes::ask(const QString& title, const QString& text, MessageIcon icon,
                                    MessageButtons buttons)
{
    asked.append({title, text, icon, buttons});
    if (onAsk)
        onAsk(asked.constLast());
    if (answers.empty())
        return buttons == MessageButtons::Ok ? MessageButton::Ok : MessageButton::No;
    const MessageButton answer = answers.front();
    answers.pop_front();
    return answer;
}

static std::optional<QString> nextAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const bool chosen = answers.front().has_value();
    const QString path = chosen ? *answers.front() : QString();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

std::optional<QString> FakeFileDialogs::openFileName(const FileDialogSettings& settings)
{
    requests.append({false, settings});
    return nextAnswer(answers);
}

std::optional<QString> FakeFileDialogs::saveFileName(const FileDialogSettings& settings)
{
    requests.append({true, settings});
    return nextAnswer(answers);
}

bool FakePrinter::choosePrinter()
{
    events.append({PrintEvent::Choose, {}, 0});
    return chooseAnswer;
}

bool FakePrinter::beginJob()
{
    events.append({PrintEvent::Begin, {}, 0});
    if (!beginAnswer)
        error = QStringLiteral("The printer is offline.");
    return beginAnswer;
}

void FakePrinter::setFontSize(double points) { events.append({PrintEvent::FontSize, {}, points}); }

bool FakePrinter::printLine(const QString& line)
{
    if (m_linesPrinted++ == failAtLine) {
        error = QStringLiteral("The printer ran out of paper.");
        return false;
    }
    double size = 0;
    for (const PrintEvent& e : events)
        if (e.kind == PrintEvent::FontSize)
            size = e.fontSize;
    events.append({PrintEvent::Line, line, size});
    return true;
}

bool FakePrinter::newPage()
{
    events.append({PrintEvent::NewPage, {}, 0});
    return true;
}

bool FakePrinter::endJob(const JobProgress& progress)
{
    wasCancelled = progress && !progress(1, 1);
    if (wasCancelled) {
        abortJob();
        return false;
    }
    events.append({PrintEvent::End, {}, 0});
    if (!endAnswer)
        error = QStringLiteral("The printer went offline.");
    return endAnswer;
}

void FakePrinter::abortJob() { events.append({PrintEvent::Abort, {}, 0}); }

void FakePrinter::leaveOutPages(qint64 count) { events.append({PrintEvent::LeaveOut, {}, 0, count}); }

PreviewEnd FakePrinter::previewJob()
{
    events.append({PrintEvent::Preview, {}, 0});
    return previewAnswer;
}

QList<QStringList> FakePrinter::pages() const
{
    QList<QStringList> result;
    bool inJob = false;
    for (const PrintEvent& e : events) {
        switch (e.kind) {
        case PrintEvent::Begin:
            result.append(QStringList());
            inJob = true;
            break;
        case PrintEvent::NewPage:
            if (inJob)
                result.append(QStringList());
            break;
        case PrintEvent::Line:
            if (inJob)
                result.last().append(e.text);
            break;
        case PrintEvent::End:
        case PrintEvent::Abort:
            inJob = false;
            break;
        default:
            break;
        }
    }
    return result;
}

QStringList FakePrinter::lines() const
{
    QStringList result;
    for (const QStringList& page : pages())
        result += page;
    return result;
}

void FakeBusyPointer::setPointer(Pointer p)
{
    current = p;
    history.append(p);
}

int FakeModalDisplay::runModal(QDialog& dialog)
{
    shown.append(dialog.objectName());
    dialog.show();
    dialog.activateWindow();
    // Under the offscreen platform qWaitForWindowActive only waits for the
    // window to be exposed; wait for the activation itself, so the dialog
    // has the keyboard focus (Tab, Enter, Escape) while the handler runs.
    [[maybe_unused]] const bool active = QTest::qWaitFor([&] { return dialog.isActiveWindow(); }, 1000);
    if (!handlers.empty()) {
        Handler handler = std::move(handlers.front());
        handlers.pop_front();
        handler(dialog);
    }
    if (dialog.isVisible()) {
        leftOpen.append(dialog.objectName());
        dialog.reject();
    }
    return dialog.result();
}

void FakeProgressDisplay::begin(const QString& text)
{
    tasks.append(text);
    reports = 0;
}

bool FakeProgressDisplay::advance(qint64 done, qint64 total)
{
    ++reports;
    lastDone = done;
    lastTotal = total;
    if (onAdvance)
        onAdvance(done);
    return cancelAt == 0 || reports < cancelAt;
}

FakePlatform::FakePlatform() : FakePlatform(DateForm()) {}

FakePlatform::FakePlatform(const DateForm& form)
    : m_platform{messages, files, printer, pointer, modal, clock, screen, progress, form, notifications}
{
    // Each fake world starts with no recent files.
    keepSettingsPrivate();
    RecentFiles().clear();
}

}  // namespace td::test
