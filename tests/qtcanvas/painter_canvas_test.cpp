#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include "qtcanvas/image_canvas.h"
#include "qtcanvas/painter_canvas.h"
#include "test_drawings.h"
#include "test_registry.h"

namespace orvane::qtcanvas {

namespace {

const QRgb white = qRgb(255, 255, 255);

// What a PainterCanvas draws onto a white image of the drawing's size; antialiased, so that
// every pixel shows how much of it the shapes cover.
QImage paintedImage(int width, int height, const std::function<void(plot::Canvas&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PainterCanvas canvas(painter, width, height);
    draw(canvas);
    return image;
}

} // namespace

class PainterCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void coversTheSamePixelsAsTheImageCanvas() {
        // Shapes on whole pixels cover each pixel fully or not at all: an antialiased
        // painting that matches the pixel canvas exactly has no stray edge anywhere.
        for (const testing::TestDrawing& drawing : testing::straightDrawings()) {
            ImageCanvas pixels(60, 50);
            drawing.draw(pixels);
            const QString difference =
                testing::firstDifference(paintedImage(60, 50, drawing.draw), pixels.image());
            QVERIFY2(difference.isEmpty(),
                     qPrintable(QStringLiteral("%1: %2").arg(drawing.name, difference)));
        }
    }

    void keepsTheSizeItWasGiven() {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        // The painter's device may be larger or scaled; the drawing's size is its own.
        const PainterCanvas canvas(painter, 782, 553);
        QCOMPARE(canvas.width(), 782);
        QCOMPARE(canvas.height(), 553);
    }

    void measuresTextAsTheImageCanvasDoes() {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        PainterCanvas canvas(painter, 200, 60);
        ImageCanvas pixels(200, 60);
        for (const int points : {8, 10, 14}) {
            canvas.setFont(points, plot::black);
            pixels.setFont(points, plot::black);
            QCOMPARE(canvas.font().pixelSize(), pixels.font().pixelSize());
            for (const char* text : {"C6H12O6", "180.06", "m/z"}) {
                QCOMPARE(canvas.textWidth(text), pixels.textWidth(text));
            }
        }
    }

    void textSitsOnItsOpaqueCell() {
        const QImage image = paintedImage(200, 60, [](plot::Canvas& canvas) {
            canvas.clear(plot::black);
            canvas.setBrush(plot::white);
            canvas.setFont(10, plot::red);
            canvas.textOut(20, 10, "120.00");
        });
        ImageCanvas pixels(200, 60);
        const QFontMetrics metrics(pixels.font());
        const int cellWidth = metrics.horizontalAdvance(QStringLiteral("120.00"));
        const int cellHeight = metrics.height();
        QCOMPARE(image.pixel(20, 10), white);
        QCOMPARE(image.pixel(19, 10), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(20 + cellWidth - 1, 10 + cellHeight - 1), white);
        QCOMPARE(image.pixel(20 + cellWidth, 10), qRgb(0, 0, 0));
        int red = 0;
        for (int y = 10; y < 10 + cellHeight; ++y) {
            for (int x = 20; x < 20 + cellWidth; ++x) {
                red += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 100 ? 1 : 0;
            }
        }
        QVERIFY(red > 20);
    }

    void textFarOffThePageIsLeftOut() {
        const QImage image = paintedImage(50, 40, [](plot::Canvas& canvas) {
            canvas.setBrush(plot::black);
            canvas.textOut(-3'000'000'000'000LL, 3'000'000'000'000LL, "far away");
            canvas.textOut(60, 5, "beside");
        });
        QCOMPARE(testing::firstDifference(image, ImageCanvas(50, 40).image()), QString());
    }
};

static testing::RegisterTest registration("PainterCanvasTest",
                                          [] { return std::make_unique<PainterCanvasTest>(); });

} // namespace orvane::qtcanvas

#include "painter_canvas_test.moc"
