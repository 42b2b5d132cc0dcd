#include "link/U_LinkTrace.h"

#include <QDateTime>

bool TLinkTrace::Open(const QString& path)
{
    File.close();
    File.setFileName(path);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        ErrorText = QString("The link trace %1 cannot be written.").arg(path);
        return false;
    }
    Clock.start();
    Note("RK54 link trace, started " + QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    return true;
}

void TLinkTrace::Note(const QString& text)
{
    if (!File.isOpen())
        return;
    File.write(("# " + text + "\n").toUtf8());
    File.flush();
}

void TLinkTrace::Line(const char* direction, const uint8_t* bytes, int count)
{
    if (!File.isOpen() || count <= 0)
        return;
    QByteArray line = QByteArray::number(double(Clock.nsecsElapsed()) / 1e6, 'f', 3).rightJustified(12) + " ms  "
                      + direction + " ";
    line += QByteArray(reinterpret_cast<const char*>(bytes), count).toHex(' ').toUpper();
    line += '\n';
    // Flushed line by line: the trace matters most when the program dies.
    File.write(line);
    File.flush();
}
