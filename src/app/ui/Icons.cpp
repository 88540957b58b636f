#include "app/ui/Icons.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <array>
#include <cmath>
#include <initializer_list>

namespace vemurion {

namespace {

// Every icon is drawn on a 16 x 16 grid of unit cells and scaled to the pixmap size. Outlines
// run along cell centres (the .5 coordinates) with a one-unit pen, which keeps them sharp at
// both 16 and 32 pixels.

const QColor kInk(0x1f, 0x29, 0x33);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperShade(0xd5, 0xdd, 0xe6);
const QColor kBlue(0x3d, 0x7f, 0xd9);
const QColor kYellow(0xf4, 0xc8, 0x4a);
const QColor kYellowDark(0xd6, 0x9e, 0x2e);
const QColor kGreen(0x2f, 0xa8, 0x4f);
const QColor kRed(0xd9, 0x46, 0x3b);
const QColor kPink(0xf2, 0x9b, 0xb0);
const QColor kWood(0xb9, 0x83, 0x4a);
const QColor kMetal(0xb4, 0xbe, 0xc8);
const QColor kLcd(0xb5, 0xc9, 0x9a);
const QColor kChecker(0xc4, 0xcb, 0xd3);

using DrawFn = void (*)(QPainter&);

void usePen(QPainter& p, const QBrush& fill, const QColor& line = kInk, qreal width = 1.0) {
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
}

// An outlined rectangle covering the w x h cells whose top-left cell is (x, y).
void box(QPainter& p, int x, int y, int w, int h, const QColor& fill) {
    usePen(p, fill);
    p.drawRect(QRectF(x + 0.5, y + 0.5, w - 1, h - 1));
}

void polygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& fill) {
    usePen(p, fill);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void solid(QPainter& p, const QColor& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
}

void filledPolygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& fill) {
    solid(p, fill);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

// Runs `draw` turned by quarter turns about the icon's centre; the grid stays aligned.
template <typename Draw> void turned(QPainter& p, int quarterTurns, Draw draw) {
    p.save();
    p.translate(8, 8);
    p.rotate(90.0 * quarterTurns);
    p.translate(-8, -8);
    draw();
    p.restore();
}

// Shrinks a 16-grid drawing into the w x w cells at (x, y).
template <typename Draw> void inset(QPainter& p, qreal x, qreal y, qreal w, Draw draw) {
    p.save();
    p.translate(x, y);
    p.scale(w / 16.0, w / 16.0);
    draw();
    p.restore();
}

void page(QPainter& p, int x, int y, int w, int h) {
    const qreal l = x + 0.5, t = y + 0.5, r = x + w - 0.5, b = y + h - 0.5, fold = 3;
    polygon(p, {{l, t}, {r - fold, t}, {r, t + fold}, {r, b}, {l, b}}, kPaper);
    polygon(p, {{r - fold, t}, {r - fold, t + fold}, {r, t + fold}}, kPaperShade);
}

// One frame of the animation as the little screen shows it: a dark bezel around a green
// panel with a few lit dots.
void lcdFrame(QPainter& p, int x, int y, int w, int h) {
    box(p, x, y, w, h, kInk);
    p.fillRect(QRectF(x + 1.5, y + 1.5, w - 3, h - 3), kLcd);
    const int cx = x + w / 2, cy = y + h / 2;
    p.fillRect(QRectF(cx - 2, cy - 1, 1, 1), kInk);
    p.fillRect(QRectF(cx + 1, cy - 1, 1, 1), kInk);
    if (h >= 7) p.fillRect(QRectF(cx - 2, cy + 1, 4, 1), kInk);
}

void scissors(QPainter& p) {
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 9.5), QPointF(11, 0.5));
    p.drawLine(QPointF(10.5, 9.5), QPointF(5, 0.5));
    usePen(p, kPaper, kRed, 1.5);
    p.drawEllipse(QPointF(4.5, 12), 2.6, 2.6);
    p.drawEllipse(QPointF(11.5, 12), 2.6, 2.6);
    p.fillRect(QRectF(7.5, 5.5, 1, 1), kMetal);
}

void clipboard(QPainter& p) {
    box(p, 1, 2, 11, 14, kWood);
    box(p, 3, 4, 7, 10, kPaper);
    box(p, 4, 1, 5, 3, kMetal);
}

void drawNew(QPainter& p) {
    page(p, 2, 0, 12, 16);
    p.fillRect(QRectF(4, 11, 6, 1), kPaperShade);
    p.fillRect(QRectF(4, 13, 8, 1), kPaperShade);
}

void drawOpen(QPainter& p) {
    polygon(p, {{1.5, 2.5}, {5.5, 2.5}, {7.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {1.5, 13.5}},
            kYellowDark);
    polygon(p, {{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}, kYellow);
}

void drawSave(QPainter& p) {
    polygon(p, {{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}, kBlue);
    box(p, 4, 1, 8, 5, kMetal);
    p.fillRect(QRectF(9, 2, 1, 3), kInk);
    box(p, 3, 8, 10, 7, kPaper);
    p.fillRect(QRectF(5, 10, 6, 1), kPaperShade);
    p.fillRect(QRectF(5, 12, 6, 1), kPaperShade);
}

void drawCut(QPainter& p) {
    scissors(p);
}

void drawCopy(QPainter& p) {
    page(p, 1, 0, 9, 11);
    page(p, 6, 5, 9, 11);
}

void drawPaste(QPainter& p) {
    clipboard(p);
    page(p, 7, 6, 9, 10);
}

void drawCutFrame(QPainter& p) {
    lcdFrame(p, 0, 0, 13, 9);
    inset(p, 5, 6, 10, [&] { scissors(p); });
}

void drawCopyFrame(QPainter& p) {
    lcdFrame(p, 0, 1, 11, 8);
    lcdFrame(p, 5, 7, 11, 8);
}

void drawPasteFrame(QPainter& p) {
    clipboard(p);
    lcdFrame(p, 5, 8, 11, 8);
}

void drawPlay(QPainter& p) {
    polygon(p, {{3.5, 1.5}, {14, 8}, {3.5, 14.5}}, kGreen);
}

void drawStop(QPainter& p) {
    box(p, 3, 3, 10, 10, kRed);
}

void drawBlackWhite(QPainter& p) {
    box(p, 1, 1, 14, 14, kPaper);
    solid(p, kInk);
    p.drawEllipse(QRectF(4, 4, 8, 8));
}

void drawWhiteBlack(QPainter& p) {
    box(p, 1, 1, 14, 14, kInk);
    solid(p, kPaper);
    p.drawEllipse(QRectF(4, 4, 8, 8));
}

void drawTransparent(QPainter& p) {
    box(p, 1, 1, 14, 14, kPaper);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            if ((x + y) % 2) p.fillRect(QRectF(2 + 2 * x, 2 + 2 * y, 2, 2), kChecker);
    polygon(p, {{8, 3.5}, {12.5, 8}, {8, 12.5}, {3.5, 8}}, kInk);
}

void drawClear(QPainter& p) {
    p.save();
    p.translate(8, 7.5);
    p.rotate(-45);
    usePen(p, kPink);
    p.drawRect(QRectF(-1, -3, 7.5, 6));
    usePen(p, kBlue);
    p.drawRect(QRectF(-6.5, -3, 5.5, 6));
    p.restore();
    p.fillRect(QRectF(1, 14, 14, 1), kInk);
}

void drawCenter(QPainter& p) {
    for (int turn = 0; turn < 4; ++turn)
        turned(p, turn, [&] { filledPolygon(p, {{8, 5}, {4.5, 1.5}, {11.5, 1.5}}, kInk); });
    box(p, 6, 6, 4, 4, kBlue);
}

void drawReverse(QPainter& p) {
    box(p, 1, 1, 14, 14, kPaper);
    p.fillRect(QRectF(8, 1, 7, 14), kInk);
    p.fillRect(QRectF(4, 6, 4, 4), kInk);
    p.fillRect(QRectF(8, 6, 4, 4), kPaper);
}

// A solid arrowhead above a dashed mirror line, reflected below it as an outline.
void drawMirror(QPainter& p) {
    for (int x = 0; x < 16; x += 3)
        p.fillRect(QRectF(x, 7.5, 2, 1), kBlue);
    polygon(p, {{8, 0.5}, {13.5, 6}, {2.5, 6}}, kInk);
    polygon(p, {{8, 15.5}, {13.5, 10}, {2.5, 10}}, kPaper);
}

void drawUpDown(QPainter& p) {
    drawMirror(p);
}

void drawLeftRight(QPainter& p) {
    turned(p, 1, [&] { drawMirror(p); });
}

void drawPen(QPainter& p) {
    p.save();
    p.translate(8, 8);
    p.rotate(-45);
    usePen(p, kPink);
    p.drawRect(QRectF(5, -2.5, 3, 5));
    usePen(p, kMetal);
    p.drawRect(QRectF(3, -2.5, 2, 5));
    usePen(p, kYellow);
    p.drawRect(QRectF(-5, -2.5, 8, 5));
    polygon(p, {{-5, -2.5}, {-9.5, 0}, {-5, 2.5}}, kWood);
    filledPolygon(p, {{-8, -0.9}, {-10, 0}, {-8, 0.9}}, kInk);
    p.restore();
}

// Marching ants: the outline of the selection drawn in whole cells, two on and two off.
void drawSelect(QPainter& p) {
    const int l = 1, t = 2, r = 14, b = 13;
    for (int x = l; x <= r; ++x)
        if ((x - l) % 4 < 2) {
            p.fillRect(QRectF(x, t, 1, 1), kInk);
            p.fillRect(QRectF(r + l - x, b, 1, 1), kInk);
        }
    for (int y = t; y <= b; ++y)
        if ((y - t) % 4 < 2) {
            p.fillRect(QRectF(r, y, 1, 1), kInk);
            p.fillRect(QRectF(l, b + t - y, 1, 1), kInk);
        }
}

void drawPaint(QPainter& p) {
    usePen(p, Qt::NoBrush);
    p.drawArc(QRectF(3.5, 0.5, 7, 8), 0, 180 * 16);
    p.save();
    p.translate(7, 8.5);
    p.rotate(-30);
    box(p, -5, -3, 10, 9, kMetal);
    p.fillRect(QRectF(-4.5, -2.5, 9, 2), kBlue);
    p.restore();
    polygon(p, {{12.5, 5.5}, {14.5, 9.5}, {14.5, 13}, {12.5, 13}, {12.5, 9.5}}, kBlue);
}

void drawLine(QPainter& p) {
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
}

void drawBox(QPainter& p) {
    box(p, 1, 3, 14, 10, Qt::transparent);
    box(p, 2, 4, 12, 8, Qt::transparent);
}

void drawBoxFill(QPainter& p) {
    box(p, 1, 3, 14, 10, kBlue);
    box(p, 2, 4, 12, 8, kBlue);
}

void drawCircle(QPainter& p) {
    usePen(p, Qt::NoBrush, kInk, 1.5);
    p.drawEllipse(QRectF(1.5, 2.5, 13, 11));
}

void drawCircleFill(QPainter& p) {
    usePen(p, kBlue, kInk, 1.5);
    p.drawEllipse(QRectF(1.5, 2.5, 13, 11));
}

// A solid 8 x 4 arrowhead pointing up, built from whole cells so it stays crisp.
void drawScrollArrow(QPainter& p) {
    for (int row = 0; row < 4; ++row)
        p.fillRect(QRectF(7 - row, 6 + row, 2 + 2 * row, 1), kInk);
}

void drawScrollUp(QPainter& p) {
    drawScrollArrow(p);
}
void drawScrollDown(QPainter& p) {
    turned(p, 2, [&] { drawScrollArrow(p); });
}
void drawScrollLeft(QPainter& p) {
    turned(p, 3, [&] { drawScrollArrow(p); });
}
void drawScrollRight(QPainter& p) {
    turned(p, 1, [&] { drawScrollArrow(p); });
}

struct IconEntry {
    const char* name;
    DrawFn draw;
};

constexpr std::array kIcons{
    IconEntry{"ToolButton1", drawNew},
    IconEntry{"ToolButton2", drawOpen},
    IconEntry{"ToolButton3", drawSave},
    IconEntry{"ToolButton5", drawCut},
    IconEntry{"ToolButton6", drawCopy},
    IconEntry{"ToolButton7", drawPaste},
    IconEntry{"ToolButton12", drawCutFrame},
    IconEntry{"ToolButton13", drawCopyFrame},
    IconEntry{"ToolButton14", drawPasteFrame},
    IconEntry{"ToolButton9", drawPlay},
    IconEntry{"ToolButton10", drawStop},
    IconEntry{"tbtnBlackWhite", drawBlackWhite},
    IconEntry{"tbtnWhiteBlack", drawWhiteBlack},
    IconEntry{"tbtnTrans", drawTransparent},
    IconEntry{"tbtnClear", drawClear},
    IconEntry{"tbtnCenter", drawCenter},
    IconEntry{"tbtnReverse", drawReverse},
    IconEntry{"tbtnUD", drawUpDown},
    IconEntry{"tbtnLR", drawLeftRight},
    IconEntry{"tbtnPen", drawPen},
    IconEntry{"tbtnSelect", drawSelect},
    IconEntry{"tbtnPaint", drawPaint},
    IconEntry{"tbtnLine", drawLine},
    IconEntry{"tbtnBox", drawBox},
    IconEntry{"tbtnBoxFill", drawBoxFill},
    IconEntry{"tbtnCircle", drawCircle},
    IconEntry{"tbtnCircleFill", drawCircleFill},
    IconEntry{"SpeedButton1", drawScrollUp},
    IconEntry{"SpeedButton2", drawScrollDown},
    IconEntry{"SpeedButton3", drawScrollLeft},
    IconEntry{"SpeedButton4", drawScrollRight},
};

QPixmap renderIcon(DrawFn draw, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    p.end();
    return QPixmap::fromImage(image);
}

// The 48 x 32 dots of the product picture's screen: a round face with a smile.
bool faceDot(int x, int y) {
    const double dx = x - 23.5, dy = y - 15.5;
    const double r = std::hypot(dx, dy);
    if (std::abs(r - 13.5) < 0.8) return true;
    if ((x == 18 || x == 19 || x == 28 || x == 29) && y >= 9 && y <= 12) return true;
    const double smile = std::hypot(dx, y - 13.5);
    return smile > 7 && smile < 8.4 && y > 16;
}

} // namespace

QIcon commandIcon(const QString& buttonName) {
    for (const IconEntry& entry : kIcons) {
        if (buttonName != QLatin1String(entry.name)) continue;
        QIcon icon;
        icon.addPixmap(renderIcon(entry.draw, 16));
        icon.addPixmap(renderIcon(entry.draw, 32));
        return icon;
    }
    return {};
}

QPixmap productPicture() {
    QImage image(150, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(2, 7, 56, 50), 8, 8);
    p.fillRect(QRectF(6, 14, 50, 36), kLcd);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            if (faceDot(x, y)) p.fillRect(QRect(7 + x, 16 + y, 1, 1), kInk);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(10, 10.5), 1.5, 1.5);

    QFont font;
    font.setBold(true);
    int pixelSize = 28;
    font.setPixelSize(pixelSize);
    const QString title = QStringLiteral("Vemurion");
    while (pixelSize > 8 && QFontMetrics(font).horizontalAdvance(title) > 86)
        font.setPixelSize(--pixelSize);
    p.setFont(font);
    p.setPen(kInk);
    const QRectF textArea(62, 0, 88, 58);
    p.drawText(textArea, Qt::AlignCenter, title);
    p.fillRect(QRectF(66, 44, 80, 3), kBlue);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace vemurion
