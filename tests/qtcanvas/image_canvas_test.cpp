#include <QFontMetrics>
#include <QTest>

#include "qtcanvas/image_canvas.h"
#include "test_drawings.h"
#include "test_registry.h"

namespace orvane::qtcanvas {

namespace {

const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

// The pixels of one row from x0 to x1 (inclusive) as a string of '#' (colour) and '.'.
QString rowPattern(const QImage& image, int y, int x0, int x1, QRgb colour) {
    QString pattern;
    for (int x = x0; x <= x1; ++x) {
        pattern += image.pixel(x, y) == colour ? QLatin1Char('#') : QLatin1Char('.');
    }
    return pattern;
}

int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// Each pixel of `image` as a square of scale x scale pixels.
QImage magnified(const QImage& image, int scale) {
    QImage large(image.width() * scale, image.height() * scale, QImage::Format_RGB32);
    for (int y = 0; y < large.height(); ++y) {
        for (int x = 0; x < large.width(); ++x) {
            large.setPixel(x, y, image.pixel(x / scale, y / scale));
        }
    }
    return large;
}

} // namespace

class ImageCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void startsAsWhitePageOfDesignedSize() {
        const ImageCanvas canvas;
        QCOMPARE(canvas.width(), 782);
        QCOMPARE(canvas.height(), 553);
        QCOMPARE(canvas.image().format(), QImage::Format_RGB32);
        QCOMPARE(canvas.image().dotsPerMeterX(), 3780);
        QCOMPARE(canvas.image().dotsPerMeterY(), 3780);
        QCOMPARE(countPixels(canvas.image(), white), 782 * 553);
    }

    void lineCoversStartButNotEndPixel_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("pixels");
        QTest::newRow("rightwards") << QPoint(10, 10) << QPoint(20, 10) << 10;
        QTest::newRow("leftwards") << QPoint(20, 10) << QPoint(10, 10) << 10;
        QTest::newRow("upwards") << QPoint(5, 30) << QPoint(5, 3) << 27;
        QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(5, 5) << 5;
        QTest::newRow("steep") << QPoint(3, 0) << QPoint(5, 9) << 9;
        QTest::newRow("point to itself") << QPoint(7, 7) << QPoint(7, 7) << 0;
    }
    void lineCoversStartButNotEndPixel() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(int, pixels);
        ImageCanvas canvas(40, 40);
        canvas.setPen(1, plot::black, plot::PenStyle::Solid);
        canvas.moveTo(from.x(), from.y());
        canvas.lineTo(to.x(), to.y());
        QCOMPARE(countPixels(canvas.image(), black), pixels);
        QCOMPARE(canvas.image().pixel(to), white);
        if (pixels > 0) {
            QCOMPARE(canvas.image().pixel(from), black);
        }
    }

    void lineToContinuesFromItsEnd() {
        ImageCanvas canvas(20, 20);
        canvas.setPen(1, plot::black, plot::PenStyle::Solid);
        canvas.moveTo(2, 2);
        canvas.lineTo(8, 2);
        canvas.lineTo(8, 8);
        // The corner is the second line's start pixel.
        QCOMPARE(canvas.image().pixel(8, 2), black);
        QCOMPARE(canvas.image().pixel(8, 8), white);
        QCOMPARE(countPixels(canvas.image(), black), 12);
    }

    void dottedPenIsThreeOnThreeOff() {
        ImageCanvas canvas(30, 5);
        canvas.setPen(1, plot::blue, plot::PenStyle::Dotted);
        canvas.moveTo(0, 2);
        canvas.lineTo(14, 2);
        QCOMPARE(rowPattern(canvas.image(), 2, 0, 14, blue), QStringLiteral("###...###...##."));
    }

    void widePenCoversSquares() {
        ImageCanvas canvas(20, 20);
        canvas.setPen(3, plot::black, plot::PenStyle::Solid);
        canvas.moveTo(5, 10);
        canvas.lineTo(10, 10);
        // Pixels 5 to 9, each the centre of a 3 x 3 square.
        QCOMPARE(countPixels(canvas.image(), black), 7 * 3);
        QCOMPARE(canvas.image().pixel(4, 9), black);
        QCOMPARE(canvas.image().pixel(10, 11), black);
        QCOMPARE(canvas.image().pixel(11, 10), white);
        QCOMPARE(canvas.image().pixel(7, 12), white);
    }

    void clearPaintsEveryPixel() {
        ImageCanvas canvas(30, 20);
        canvas.setBrush(plot::black);
        canvas.rectangle(-5, -5, 40, 40);
        QCOMPARE(countPixels(canvas.image(), black), 30 * 20);
        canvas.clear(plot::white);
        QCOMPARE(countPixels(canvas.image(), white), 30 * 20);
    }

    void rectangleIsFilledAndOutlinedCornersIncluded() {
        ImageCanvas canvas(20, 20);
        canvas.setBrush(plot::blue);
        canvas.setPen(1, plot::black, plot::PenStyle::Solid);
        canvas.rectangle(2, 3, 8, 9);
        const QImage& image = canvas.image();
        QCOMPARE(image.pixel(2, 3), black);
        QCOMPARE(image.pixel(8, 9), black);
        QCOMPARE(image.pixel(8, 3), black);
        QCOMPARE(image.pixel(2, 9), black);
        QCOMPARE(image.pixel(5, 6), blue);
        QCOMPARE(image.pixel(9, 9), white);
        QCOMPARE(countPixels(image, black), 2 * 7 + 2 * 5);
        QCOMPARE(countPixels(image, blue), 5 * 5);
    }

    void farCoordinatesAreClipped() {
        ImageCanvas canvas(50, 40);
        canvas.setBrush(plot::blue);
        canvas.setPen(1, plot::black, plot::PenStyle::Solid);
        // A page far larger than the image: filled everywhere, only its top edge inside.
        canvas.rectangle(-4'000'000'000'000LL, 0, 9'000'000'000'000LL, 1'000'000'000'000LL);
        QCOMPARE(countPixels(canvas.image(), blue), 50 * 39);
        QCOMPARE(rowPattern(canvas.image(), 0, 0, 49, black), QString(50, QLatin1Char('#')));
        canvas.moveTo(-5'000'000'000'000LL, 20);
        canvas.lineTo(5'000'000'000'000LL, 20);
        QCOMPARE(rowPattern(canvas.image(), 20, 0, 49, black), QString(50, QLatin1Char('#')));
        canvas.textOut(-3'000'000'000'000LL, 3'000'000'000'000LL, "far away");
    }

    void textSitsOnOpaqueCellAtItsTopLeftCorner() {
        ImageCanvas canvas(200, 60);
        canvas.setBrush(plot::black);
        canvas.setPen(1, plot::black, plot::PenStyle::Solid);
        canvas.rectangle(0, 0, 199, 59);
        canvas.setBrush(plot::white);
        canvas.setFont(10, plot::red);
        canvas.textOut(20, 10, "120.00");

        // 10 points at 96 dpi are 13 pixels.
        QCOMPARE(canvas.font().pixelSize(), 13);
        const QFontMetrics metrics(canvas.font());
        const int cellWidth = metrics.horizontalAdvance(QStringLiteral("120.00"));
        const int cellHeight = metrics.height();
        QVERIFY(cellHeight >= 13 && cellHeight <= 17);
        const QImage& image = canvas.image();
        QCOMPARE(image.pixel(20, 10), white);
        QCOMPARE(image.pixel(19, 10), black);
        QCOMPARE(image.pixel(20, 9), black);
        QCOMPARE(image.pixel(20 + cellWidth - 1, 10 + cellHeight - 1), white);
        QCOMPARE(image.pixel(20 + cellWidth, 10), black);
        QCOMPARE(image.pixel(20, 10 + cellHeight), black);
        QVERIFY(countPixels(image, qRgb(255, 0, 0)) > 20);
    }

    void scaledImageHasMorePixelsForTheSameDrawing_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("2x") << 2;
        QTest::newRow("4x") << 4;
    }
    void scaledImageHasMorePixelsForTheSameDrawing() {
        QFETCH(int, scale);
        const ImageCanvas canvas(782, 553, scale);
        QCOMPARE(canvas.width(), 782);
        QCOMPARE(canvas.height(), 553);
        QCOMPARE(canvas.scale(), scale);
        QCOMPARE(canvas.image().size(), QSize(782 * scale, 553 * scale));
        // The same size on paper.
        QCOMPARE(canvas.image().dotsPerMeterX(), 3780 * scale);
        QCOMPARE(canvas.image().dotsPerMeterY(), 3780 * scale);
        QCOMPARE(countPixels(canvas.image(), white), 782 * 553 * scale * scale);
    }

    void straightLinesAtScaleAreTheMagnifiedPicture_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("2x") << 2;
        QTest::newRow("4x") << 4;
    }
    void straightLinesAtScaleAreTheMagnifiedPicture() {
        QFETCH(int, scale);
        for (const testing::TestDrawing& drawing : testing::straightDrawings()) {
            ImageCanvas plain(60, 50);
            ImageCanvas scaled(60, 50, scale);
            drawing.draw(plain);
            drawing.draw(scaled);
            QVERIFY2(countPixels(plain.image(), white) < 60 * 50, drawing.name);
            const QString difference =
                testing::firstDifference(scaled.image(), magnified(plain.image(), scale));
            QVERIFY2(difference.isEmpty(),
                     qPrintable(QStringLiteral("%1: %2").arg(drawing.name, difference)));
        }
    }

    void scaledDiagonalCoversItsStartSquareButNotItsEndSquare() {
        for (const int scale : {2, 4}) {
            ImageCanvas canvas(20, 20, scale);
            canvas.setPen(1, plot::black, plot::PenStyle::Solid);
            canvas.moveTo(2, 3);
            canvas.lineTo(9, 8);
            const QImage& image = canvas.image();
            for (int y = 0; y < scale; ++y) {
                for (int x = 0; x < scale; ++x) {
                    QCOMPARE(image.pixel(2 * scale + x, 3 * scale + y), black);
                    QCOMPARE(image.pixel(9 * scale + x, 8 * scale + y), white);
                }
            }
            // A square of the scale at each of the image steps, each step one pixel further
            // along the long axis and at most one across.
            const int steps = 7 * scale - (scale - 1);
            const int pixels = countPixels(image, black);
            QVERIFY2(pixels >= scale * scale + (steps - 1) * scale &&
                         pixels <= scale * scale + (steps - 1) * (2 * scale - 1),
                     qPrintable(QString::number(pixels)));
        }
    }

    void scaledTextIsLaidOutAsAtScaleOne() {
        ImageCanvas plain(200, 60);
        ImageCanvas scaled(200, 60, 2);
        for (ImageCanvas* canvas : {&plain, &scaled}) {
            canvas->setBrush(plot::blue);
            canvas->setFont(10, plot::black);
            canvas->textOut(20, 10, "C6H12O6");
        }
        QCOMPARE(scaled.textWidth("C6H12O6"), plain.textWidth("C6H12O6"));
        QCOMPARE(scaled.font().pixelSize(), 13);
        // The cell is the scale-1 cell magnified: its background from (40, 20) on.
        const QFontMetrics metrics(plain.font());
        const int cellWidth = metrics.horizontalAdvance(QStringLiteral("C6H12O6"));
        const int cellHeight = metrics.height();
        const QImage& image = scaled.image();
        QCOMPARE(image.pixel(40, 20), blue);
        QCOMPARE(image.pixel(39, 20), white);
        QCOMPARE(image.pixel(40, 19), white);
        QCOMPARE(image.pixel(40 + 2 * cellWidth - 1, 20 + 2 * cellHeight - 1), blue);
        QCOMPARE(image.pixel(40 + 2 * cellWidth, 20), white);
        QCOMPARE(image.pixel(40, 20 + 2 * cellHeight), white);
        // Glyphs in a font twice as large: about four times the ink.
        const int plainInk = countPixels(plain.image(), black);
        const int scaledInk = countPixels(image, black);
        QVERIFY2(scaledInk > 3 * plainInk && scaledInk < 5 * plainInk,
                 qPrintable(QStringLiteral("%1 against %2").arg(scaledInk).arg(plainInk)));
    }
};

static testing::RegisterTest registration("ImageCanvasTest",
                                          [] { return std::make_unique<ImageCanvasTest>(); });

} // namespace orvane::qtcanvas

#include "image_canvas_test.moc"
