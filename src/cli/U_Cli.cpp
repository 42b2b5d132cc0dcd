#include "cli/U_Cli.h"

#include "files/U_FileAccess.h"

#include <cstdio>

namespace {

void Print(FILE* stream, const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    std::fprintf(stream, "%s\n", out.c_str());
    std::fflush(stream);
}

} // namespace

void TConsolePrompt::Error(const std::string& text)
{
    Print(stderr, text);
}

void TConsolePrompt::Information(const std::string& text)
{
    Print(stderr, text);
}

TAnswer TConsolePrompt::Ask(const std::string& text)
{
    Print(stderr, text);
    return TAnswer::Yes;
}

std::string Local(const QString& text)
{
    return FileNameBytes(text.toStdU16String());
}

void PrintOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

int ParseArguments(QCommandLineParser& parser, const QStringList& args, const QString& description,
                   const QStringList& positionalNames, int minimum, int maximum)
{
    parser.setApplicationDescription(description);
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    parser.addOption(help);
    for (const QString& name : positionalNames)
        parser.addPositionalArgument(name, QString());

    QString usage = parser.helpText();
    const qsizetype options = usage.indexOf(QStringLiteral("[options]"));
    if (usage.startsWith(QStringLiteral("Usage: ")) && options > 0)
        usage.replace(7, options - 7, QStringLiteral("rk54 ") + args.first() + QLatin1Char(' '));
    if (!parser.parse(args)) {
        std::fprintf(stderr, "rk54: %s\n\n%s", qPrintable(parser.errorText()), qPrintable(usage));
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        PrintOut(usage);
        return ExitOk;
    }
    const int count = parser.positionalArguments().size();
    if (count < minimum || count > maximum) {
        std::fprintf(stderr, "rk54 %s: wrong number of arguments\n\n%s", qPrintable(args.first()),
                     qPrintable(usage));
        return ExitUsage;
    }
    return -1;
}
