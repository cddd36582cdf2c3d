#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QWheelEvent>
#include <QXmlStreamReader>

#include <memory>
#include <string>
#include <vector>

#include "app/high_resolution_window.h"
#include "app/picture_choice.h"
#include "app/profile_plot_view.h"
#include "qtcanvas/image_canvas.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

namespace {

using qtcanvas::PictureFormat;

// The texts of an SVG document, or "(invalid)" when it does not parse.
QString svgTexts(const QByteArray& svg) {
    QXmlStreamReader reader(svg);
    QString texts;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isCharacters()) {
            texts += reader.text();
        }
    }
    return reader.hasError() ? QStringLiteral("(invalid)") : texts;
}

QImage rgbImage(const QByteArray& png) {
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

} // namespace

// "Save_Picture…" of the main window and the high-resolution window, and what
// "Copy_Graphics" puts on the clipboard.
class PictureTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    const int carbon = shippedColumn(QStringLiteral("C"));

    QString file(const char* name) const { return app->saves.filePath(QLatin1String(name)); }
    void chooseFile(const QString& name, PictureFormat format, int scale = 1) const {
        app->dialogs.chosenPicture = PictureChoice{name, format, scale};
    }
    HighResolutionWindow& highResolution() const { return app->window->highResolutionWindow(); }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void theFilterAndTheExtensionDecideTheFormat_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("savedAs");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("scale");
        const int png = int(PictureFormat::Png);
        const int svg = int(PictureFormat::Svg);
        const int pdf = int(PictureFormat::Pdf);
        QTest::newRow("no extension, PNG 2x")
            << "/a/spectrum" << 1 << "/a/spectrum.png" << png << 2;
        QTest::newRow("no extension, SVG") << "/a/spectrum" << 3 << "/a/spectrum.svg" << svg << 1;
        QTest::newRow("unknown extension, PDF") << "s.v2" << 4 << "s.v2.pdf" << pdf << 1;
        QTest::newRow("png under PNG 4x") << "s.PNG" << 2 << "s.PNG" << png << 4;
        QTest::newRow("png under SVG") << "s.png" << 3 << "s.png" << png << 1;
        QTest::newRow("pdf under PNG 2x") << "s.pdf" << 1 << "s.pdf" << pdf << 1;
        QTest::newRow("no filter") << "s" << -1 << "s.png" << png << 1;
    }
    void theFilterAndTheExtensionDecideTheFormat() {
        QFETCH(QString, name);
        QFETCH(int, filter);
        QFETCH(QString, savedAs);
        QFETCH(int, format);
        QFETCH(int, scale);
        const PictureChoice choice = pictureChoiceFor(name, filter);
        QCOMPARE(choice.name, savedAs);
        QCOMPARE(int(choice.format), format);
        QCOMPARE(choice.scale, scale);
        QCOMPARE(pictureFilters().size(), 5);
        if (filter >= 0 && format == int(pictureChoiceFor(QStringLiteral("x"), filter).format)) {
            QCOMPARE(pictureFilterOf(choice), filter);
        }
    }

    void nothingIsOfferedBeforeThereIsAPicture() {
        QAction* entry = app->control<QAction>("SavePicture");
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->text(), QStringLiteral("Save_Picture…"));
        QVERIFY(!entry->isEnabled());
        chooseFile(file("early.png"), PictureFormat::Png);
        app->window->SavePictureClick();
        QVERIFY(app->dialogs.offeredPictures.empty());
        QVERIFY(app->dialogs.errors.empty());
        QVERIFY(!QFile::exists(file("early.png")));

        app->enterCount(carbon, QStringLiteral("6"));
        QVERIFY(entry->isEnabled());
    }

    void aCancelledDialogWritesNothing() {
        app->enterCount(carbon, QStringLiteral("6"));
        app->dialogs.chosenPicture.reset();
        app->run("SavePicture");
        QCOMPARE(app->dialogs.offeredPictures.size(), std::size_t{1});
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(QDir(app->directory.path()).entryList(QDir::Files).size(), 3); // the data files
    }

    void aFailedWriteGoesToTheErrorBox() {
        app->enterCount(carbon, QStringLiteral("6"));
        chooseFile(QStringLiteral("/dev/full"), PictureFormat::Svg);
        app->run("SavePicture");
        QCOMPARE(app->dialogs.errors, std::vector<std::string>{"ディスクがいっぱいです"});

        // A file no one may write to stays as it was.
        const QString kept = file("kept.png");
        QFile old(kept);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old picture");
        old.close();
        QFile::setPermissions(kept, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        chooseFile(kept, PictureFormat::Png);
        app->run("SavePicture");
        QCOMPARE(app->dialogs.errors.size(), std::size_t{2});
        QCOMPARE(readAll(kept), QByteArray("old picture"));
    }

    void savesThePictureInEachFormat() {
        app->enterCount(carbon, QStringLiteral("6"));
        const QString formula = QString::fromStdString(app->session->state().texts.formulaText);
        QVERIFY(!formula.isEmpty());

        chooseFile(file("one.png"), PictureFormat::Png, 1);
        app->run("SavePicture");
        // The PNG at 1x is the window's picture itself, pixel for pixel.
        QCOMPARE(rgbImage(readAll(file("one.png"))), app->canvas.image());

        chooseFile(file("two.png"), PictureFormat::Png, 2);
        app->run("SavePicture");
        QCOMPARE(rgbImage(readAll(file("two.png"))).size(), QSize(2 * 782, 2 * 553));
        qtcanvas::ImageCanvas twice(782, 553, 2);
        app->session->drawSpectrumOn(twice);
        QCOMPARE(rgbImage(readAll(file("two.png"))), twice.image());

        chooseFile(file("spectrum.svg"), PictureFormat::Svg);
        app->run("SavePicture");
        const QByteArray svg = readAll(file("spectrum.svg"));
        QVERIFY(QSvgRenderer(svg).isValid());
        QVERIFY2(svgTexts(svg).contains(formula), qPrintable(svgTexts(svg)));

        chooseFile(file("spectrum.pdf"), PictureFormat::Pdf);
        app->run("SavePicture");
        const QByteArray pdf = readAll(file("spectrum.pdf"));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));

        QVERIFY(app->dialogs.errors.empty());
        // The first dialog offers the formula's name in the home folder, each later one the
        // choice made before.
        QCOMPARE(app->dialogs.offeredPictures.size(), std::size_t{4});
        QCOMPARE(app->dialogs.offeredPictures[0].name,
                 QDir(QDir::homePath())
                     .filePath(QString::fromStdString(app->session->formulaFileStem()) +
                               QStringLiteral(".png")));
        QCOMPARE(app->dialogs.offeredPictures[2].name, file("two.png"));
        QCOMPARE(app->dialogs.offeredPictures[2].scale, 2);
        QCOMPARE(int(app->dialogs.offeredPictures[3].format), int(PictureFormat::Svg));
    }

    void copyGraphicsAddsTheSpanAsTextAndThePictureAsSvg() {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        app->run("CopyGraphics");
        // No picture yet: the clipboard keeps what it has.
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

        app->enterCount(carbon, QStringLiteral("6"));
        app->run("CopyGraphics");
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied != nullptr);
        QVERIFY(copied->hasImage());
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32),
                 app->canvas.image());
        // The text is what Save_Normal writes.
        app->dialogs.chosenName = file("normal.txt");
        app->run("SaveNormal");
        QVERIFY(copied->hasText());
        QCOMPARE(copied->text().toLatin1(), readAll(file("normal.txt")));
        QVERIFY(copied->text().contains(QLatin1Char('\t')));
        QVERIFY(copied->hasFormat(QStringLiteral("image/svg+xml")));
        const QByteArray svg = copied->data(QStringLiteral("image/svg+xml"));
        QVERIFY(QSvgRenderer(svg).isValid());
        QVERIFY(svgTexts(svg).contains(
            QString::fromStdString(app->session->state().texts.formulaText)));
        QVERIFY(app->dialogs.errors.empty());
    }

    void theHighResolutionPlotIsSavedAsItIsZoomed() {
        app->window->ShowHighResolution1Click();
        auto* button = highResolution().findChild<QPushButton*>(QStringLiteral("SavePicture"));
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QStringLiteral("Save_Picture…"));
        // No formula, no ion: nothing to save.
        QVERIFY(!button->isEnabled());

        app->enterCount(carbon, QStringLiteral("6"));
        QTRY_VERIFY_WITH_TIMEOUT(!highResolution().computing(), 10000);
        QVERIFY(button->isEnabled());
        ProfilePlotView& plot = highResolution().plot();
        // Zoomed in at the middle of the view.
        const plot::ViewRange whole = plot.view();
        QWheelEvent wheel(QPointF(plot.width() / 2.0, plot.height() / 2.0),
                          plot.mapToGlobal(QPointF(plot.width() / 2.0, plot.height() / 2.0)),
                          QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(&plot, &wheel);
        QVERIFY(plot.view().mzHigh - plot.view().mzLow < whole.mzHigh - whole.mzLow);

        chooseFile(file("profile.png"), PictureFormat::Png);
        QTest::mouseClick(button, Qt::LeftButton);
        qtcanvas::ImageCanvas shown(plot.width(), plot.height());
        plot.draw(shown);
        QCOMPARE(rgbImage(readAll(file("profile.png"))), shown.image());

        chooseFile(file("profile.svg"), PictureFormat::Svg);
        QTest::mouseClick(button, Qt::LeftButton);
        QSvgRenderer svg(readAll(file("profile.svg")));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), plot.size());

        chooseFile(QStringLiteral("/dev/full"), PictureFormat::Pdf);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(app->dialogs.errors, std::vector<std::string>{"ディスクがいっぱいです"});
    }
};

static RegisterTest registration("PictureTest", [] { return std::make_unique<PictureTest>(); });

} // namespace orvane::app::testing

#include "picture_test.moc"
