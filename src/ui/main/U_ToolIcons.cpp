#include "ui/main/U_ToolIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QIcon ToolIcon(const QString& kind)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPen ink(Qt::black);
    p.setPen(ink);
    const auto page = [&p](int x, int y, int w, int h) {
        p.setBrush(Qt::white);
        p.drawRect(x, y, w, h);
    };
    if (kind == "New") {
        page(3, 1, 9, 13);
    } else if (kind == "Open") {
        p.setBrush(QColor(0xE0, 0xC0, 0x40));
        p.drawRect(1, 4, 13, 9);
        p.drawLine(1, 4, 4, 2);
        p.drawLine(4, 2, 7, 4);
    } else if (kind == "Save") {
        p.setBrush(QColor(0x30, 0x50, 0xA0));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 7, 5);
        p.setBrush(Qt::gray);
        p.drawRect(4, 10, 7, 4);
    } else if (kind == "Copy") {
        page(1, 1, 8, 10);
        page(6, 4, 8, 10);
    } else if (kind == "Paste") {
        p.setBrush(QColor(0xA0, 0x70, 0x30));
        p.drawRect(1, 2, 10, 12);
        page(6, 5, 8, 10);
    } else if (kind == "Print") {
        page(4, 1, 8, 6);
        p.setBrush(Qt::lightGray);
        p.drawRect(1, 7, 14, 6);
        page(4, 11, 8, 4);
    } else if (kind == "Upload" || kind == "Download") {
        p.setBrush(QColor(0x20, 0x80, 0x20));
        QPainterPath arrow;
        if (kind == "Upload") {
            arrow.moveTo(8, 1); arrow.lineTo(14, 8); arrow.lineTo(10, 8); arrow.lineTo(10, 14);
            arrow.lineTo(6, 14); arrow.lineTo(6, 8); arrow.lineTo(2, 8); arrow.closeSubpath();
        } else {
            arrow.moveTo(8, 14); arrow.lineTo(14, 7); arrow.lineTo(10, 7); arrow.lineTo(10, 1);
            arrow.lineTo(6, 1); arrow.lineTo(6, 7); arrow.lineTo(2, 7); arrow.closeSubpath();
        }
        p.drawPath(arrow);
    } else if (kind == "Help") {
        QFont font("Arial");
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x40, 0xC0));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
    }
    return QIcon(pixmap);
}

