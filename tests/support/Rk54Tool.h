#pragma once
// rk54 as a script runs it: a real process, its exit status and both
// outputs. The test target names the tool's path as RK54_TOOL.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct TRk54Run {
    int Status = -1;  // -1: it crashed or did not end in time
    QByteArray Out;
    QString Err;
};

// Starts rk54; `input`, when given, is its standard input, which is closed
// either way so that a question it asks reads the end of the input.
inline void StartRk54(QProcess& p, const QStringList& args, const QByteArray& input = QByteArray())
{
    p.start(RK54_TOOL, args);
    p.waitForStarted();
    if (!input.isNull())
        p.write(input);
    p.closeWriteChannel();
}

inline TRk54Run FinishRk54(QProcess& p)
{
    const bool ended = p.waitForFinished(60000);
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

inline TRk54Run RunRk54(const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    StartRk54(p, args, input);
    return FinishRk54(p);
}
