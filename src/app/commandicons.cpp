#include "app/commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "app/commandtable.h"

namespace CommandIcons {
namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x1F, 0x5F, 0xA8);
const QColor kRed(0xC0, 0x20, 0x20);
const QColor kGreen(0x20, 0x90, 0x30);
const QColor kYellow(0xF0, 0xC0, 0x30);
const QColor kBrown(0x90, 0x60, 0x30);
const QColor kGrey(0x90, 0x90, 0x90);

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(kButtonWidth, kButtonHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

// A sheet of paper with its top right corner folded.
void Page(QPainter& p, int x, int y, int w, int h) {
    QPolygon outline;
    outline << QPoint(x, y) << QPoint(x + w - 4, y) << QPoint(x + w, y + 4) << QPoint(x + w, y + h)
            << QPoint(x, y + h);
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void Lines(QPainter& p, int x, int y, int w, int count, const QColor& colour) {
    p.setPen(colour);
    for (int i = 0; i < count; ++i) {
        p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
    }
}

void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline,
            const QColor& colour) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(0, 0, kButtonWidth, kButtonHeight), Qt::AlignCenter, text);
}

void Clipboard(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kBrown);
    p.drawRect(2, 2, 11, 12);
    p.setBrush(kGrey);
    p.drawRect(5, 1, 5, 2);
    p.setBrush(kPaper);
    p.drawRect(4, 5, 7, 7);
}

void AlignLines(QPainter& p, Qt::Alignment alignment) {
    p.setPen(kInk);
    const int widths[] = {12, 8, 12, 6, 10};
    for (int i = 0; i < 5; ++i) {
        const int w = widths[i];
        int x = 2;
        if (alignment == Qt::AlignHCenter) {
            x = 2 + (12 - w) / 2;
        } else if (alignment == Qt::AlignRight) {
            x = 14 - w;
        }
        p.drawLine(x, 3 + 2 * i, x + w - 1, 3 + 2 * i);
    }
}

// An arrow along y from x0 to x1, its head at x1.
void Arrow(QPainter& p, int x0, int x1, int y, const QColor& colour) {
    p.setPen(QPen(colour, 1));
    p.drawLine(x0, y, x1, y);
    const int d = x1 > x0 ? -1 : 1;
    p.drawLine(x1, y, x1 + 2 * d, y - 2);
    p.drawLine(x1, y, x1 + 2 * d, y + 2);
}

// "<>": the mark of HTML.
void Tag(QPainter& p, int x, int y, const QColor& colour) {
    p.setPen(QPen(colour, 1));
    p.drawLine(x + 3, y, x, y + 3);
    p.drawLine(x, y + 3, x + 3, y + 6);
    p.drawLine(x + 6, y, x + 9, y + 3);
    p.drawLine(x + 9, y + 3, x + 6, y + 6);
}

void PaintCommand(int id, QPainter& p) {
    switch (id) {
        case CommandId::FileNew:
            Page(p, 3, 1, 10, 13);
            break;
        case CommandId::FileNewFromTemplate:
            Page(p, 3, 1, 10, 13);
            Lines(p, 5, 6, 6, 4, kBlue);
            break;
        case CommandId::FileOpen: {
            p.setPen(kInk);
            p.setBrush(kYellow.darker(115));
            p.drawRect(1, 3, 13, 10);
            p.setBrush(kYellow);
            QPolygon front;
            front << QPoint(3, 6) << QPoint(15, 6) << QPoint(13, 13) << QPoint(1, 13);
            p.drawPolygon(front);
            break;
        }
        case CommandId::FileSave:
            p.setPen(kInk);
            p.setBrush(kBlue);
            p.drawRect(1, 1, 13, 13);
            p.setBrush(kPaper);
            p.drawRect(4, 1, 7, 5);
            p.setBrush(kGrey);
            p.drawRect(4, 9, 7, 5);
            break;
        case CommandId::Browse:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(kBlue);
            p.setBrush(QColor(0xCF, 0xE4, 0xFA));
            p.drawEllipse(QRectF(1.5, 1, 12, 12));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(4.5, 1, 6, 12));
            p.drawLine(QPointF(1.5, 7), QPointF(13.5, 7));
            break;
        case CommandId::RefreshSyntax: {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(kGreen, 2));
            p.drawArc(QRectF(2, 2, 11, 11), 30 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(kRed);
            QPolygonF head;
            head << QPointF(10, 0) << QPointF(15, 4) << QPointF(9, 6);
            p.drawPolygon(head);
            break;
        }
        case CommandId::EditCut:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(kInk);
            p.drawLine(4, 1, 10, 9);
            p.drawLine(11, 1, 5, 9);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(1.5, 9, 4, 4));
            p.drawEllipse(QRectF(9.5, 9, 4, 4));
            break;
        case CommandId::EditCopy:
            Page(p, 1, 1, 8, 9);
            Page(p, 6, 5, 8, 9);
            break;
        case CommandId::EditPaste:
            Clipboard(p);
            break;
        case CommandId::PasteVisual: {
            Clipboard(p);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(8);
            font.setBold(true);
            p.setFont(font);
            p.setPen(kRed);
            p.drawText(QRect(4, 5, 8, 8), Qt::AlignCenter, QStringLiteral("א"));
            break;
        }
        case CommandId::ConvertToVisual:
            Lines(p, 1, 2, 5, 3, kInk);
            Arrow(p, 3, 12, 10, kRed);
            Tag(p, 6, 1, kBlue);
            break;
        case CommandId::ConvertToLogical:
            Tag(p, 0, 1, kBlue);
            Arrow(p, 12, 3, 10, kRed);
            Lines(p, 10, 2, 5, 3, kInk);
            break;
        case CommandId::Bold:
            Letter(p, QStringLiteral("B"), true, false, false, kInk);
            break;
        case CommandId::Italic:
            Letter(p, QStringLiteral("I"), true, true, false, kInk);
            break;
        case CommandId::Underline:
            Letter(p, QStringLiteral("U"), true, false, true, kInk);
            break;
        case CommandId::FontTag:
            Letter(p, QStringLiteral("A"), true, false, false, kBlue);
            p.fillRect(2, 13, 12, 2, kRed);
            break;
        case CommandId::Link:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(kBlue, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(1, 5, 8, 5), 2.5, 2.5);
            p.drawRoundedRect(QRectF(7, 5, 8, 5), 2.5, 2.5);
            break;
        case CommandId::AlignLeft:
            AlignLines(p, Qt::AlignLeft);
            break;
        case CommandId::AlignCenter:
            AlignLines(p, Qt::AlignHCenter);
            break;
        case CommandId::AlignRight:
            AlignLines(p, Qt::AlignRight);
            break;
        case CommandId::FilePrint:
            p.setPen(kInk);
            p.setBrush(kPaper);
            p.drawRect(4, 1, 7, 5);
            p.setBrush(kGrey);
            p.drawRect(1, 6, 13, 5);
            p.setBrush(kPaper);
            p.drawRect(4, 9, 7, 5);
            break;
        case CommandId::HelpFile: {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawEllipse(QRectF(1.5, 0.5, 13, 13));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.setPen(kPaper);
            p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        default:
            break;
    }
}

// The program's mark: "< >" on a blue tile with an arrow to the left, the
// way Hebrew reads. The same drawing as data/mirval.svg.
QPixmap ApplicationPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
    QPen white(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(white);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(24, 14), QPointF(12, 27), QPointF(24, 40)}));
    p.drawPolyline(QPolygonF({QPointF(40, 14), QPointF(52, 27), QPointF(40, 40)}));
    QPen yellow(kYellow, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(yellow);
    p.drawLine(QPointF(48, 50), QPointF(16, 50));
    p.drawPolyline(QPolygonF({QPointF(23, 44), QPointF(16, 50), QPointF(23, 56)}));
    return pixmap;
}

}  // namespace

QIcon ForCommand(int id) {
    const CommandInfo* info = FindCommand(id);
    if (info == nullptr || info->toolbar.place == 0) {
        return QIcon();
    }
    return Draw([id](QPainter& p) { PaintCommand(id, p); });
}

QIcon Application() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(ApplicationPixmap(size));
    }
    return icon;
}

QIcon EditorDocument() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    Page(p, 2, 0, 11, 15);
    Tag(p, 3, 5, kBlue);
    p.end();
    return QIcon(pixmap);
}

}  // namespace CommandIcons
