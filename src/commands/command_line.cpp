#include "commands/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace td {

namespace {

StartRequest refuse(const QString& program, const QString& reason)
{
    //: %1 is the program's name, %2 says what was wrong with its command line.
    return {StartRequest::Kind::Refuse,
            {},
            QCoreApplication::translate("CommandLine", "%1: %2 Try '%1 --help'.\n").arg(program, reason)};
}

}  // namespace

StartRequest readCommandLine(const QStringList& arguments)
{
    const QString program = QCoreApplication::applicationName();
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Keeps a register of bank term deposits. Given a Term Deposit file, opens it "
                       "once the program has started, as File > Open does."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QCoreApplication::translate("CommandLine", "Show the version and end."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate("CommandLine", "A Term Deposit file (.tmd) to open."),
        QStringLiteral("[file]"));

    if (!parser.parse(arguments))
        return refuse(program, parser.errorText());
    if (parser.isSet(help))
        return {StartRequest::Kind::Answer, {}, parser.helpText()};
    if (parser.isSet(version))
        return {StartRequest::Kind::Answer,
                {},
                QStringLiteral("%1 %2\n").arg(program, QCoreApplication::applicationVersion())};

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(program,
                      QCoreApplication::translate("CommandLine", "Only one file can be opened at a time."));
    if (files.isEmpty())
        return {};
    if (files.first().isEmpty())
        return refuse(program, QCoreApplication::translate("CommandLine", "The file name is empty."));
    return {StartRequest::Kind::Start, QFileInfo(files.first()).absoluteFilePath(), {}};
}

int answerInTerminal(const StartRequest& request)
{
    std::FILE* stream = request.kind == StartRequest::Kind::Refuse ? stderr : stdout;
    std::fputs(request.text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return request.exitStatus();
}

}  // namespace td
