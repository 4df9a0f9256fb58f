#pragma once

#include <QString>
#include <QStringList>

namespace td {

// What the program is asked to do by its command line: start, perhaps with a
// deposit file to open, or answer in the terminal and end.
struct StartRequest {
    enum class Kind { Start, Answer, Refuse };
    Kind kind = Kind::Start;
    QString file;  // Start: the file to open once started, as an absolute path; empty for none
    QString text;  // Answer: for standard output; Refuse: one line for standard error

    int exitStatus() const { return kind == Kind::Refuse ? 2 : 0; }
};

// `arguments` as QCoreApplication::arguments() gives them, program name first,
// Qt's own options already taken out. Relative file names are resolved
// against the current folder.
StartRequest readCommandLine(const QStringList& arguments);

// Writes the request's text to standard output or error; returns the exit status.
int answerInTerminal(const StartRequest& request);

}  // namespace td
