#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/main_window.h"
#include "app/spin_box.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// The controls under and beside the picture, driven through their widgets after one
// calculation, so that there is a pattern to show.
class DisplayControlsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    const int carbon = shippedColumn(QStringLiteral("C"));

    QLineEdit* left() const { return app->control<QLineEdit>("Edit1"); }
    QLineEdit* right() const { return app->control<QLineEdit>("Edit2"); }
    void typeBounds(const QString& low, const QString& high) const {
        left()->clear();
        QTest::keyClicks(left(), low);
        right()->clear();
        QTest::keyClicks(right(), high);
    }
    void press(const char* button) const {
        QTest::mouseClick(app->control<QPushButton>(button), Qt::LeftButton);
    }

private slots:
    void init() {
        app = std::make_unique<TestApplication>();
        app->enterCount(carbon, QStringLiteral("6"));
        QVERIFY(app->session->state().hasPicture);
    }
    void cleanup() { app.reset(); }

    void thresholdFieldShowsTenthsOfTheBox() {
        QLineEdit* box = app->control<SpinBox>("SpinEdit2")->lineEdit();
        const struct {
            const char* typed;
            const char* shown;
        } cases[] = {{"1000", "100"}, {"0", "0"}, {"1", "0.1"}};
        for (const auto& threshold : cases) {
            box->selectAll();
            QTest::keyClicks(box, QLatin1String(threshold.typed));
            QCOMPARE(box->text(), QLatin1String(threshold.typed));
            QCOMPARE(app->text("Edit7"), QLatin1String(threshold.shown));
        }
        QVERIFY(app->dialogs.errors.empty());
    }

    void peakPositionsClickRedrawsAndEndsTheManualRange() {
        const QString automaticLow = left()->text();
        const QString automaticHigh = right()->text();
        typeBounds(QStringLiteral("70"), QStringLiteral("75"));
        press("Button1");
        QCOMPARE(left()->text(), QStringLiteral("70"));
        QCOMPARE(app->session->state().plotState.xmin, 70.0);

        QCheckBox* labels = app->control<QCheckBox>("CheckBox1");
        QTest::mouseClick(labels, Qt::LeftButton);
        QVERIFY(!labels->isChecked());
        QVERIFY(!app->session->state().settings.showPeakPositions);
        QCOMPARE(left()->text(), automaticLow);
        QCOMPARE(right()->text(), automaticHigh);
        const QImage unlabelled = app->canvas.image().copy();

        // Switched on again, the same range is drawn with the peak labels.
        QTest::mouseClick(labels, Qt::LeftButton);
        QVERIFY(labels->isChecked());
        QCOMPARE(left()->text(), automaticLow);
        QVERIFY(app->canvas.image() != unlabelled);
        QVERIFY(app->dialogs.errors.empty());
    }

    void bothApplyButtonsApplyAndBothResetButtonsReset() {
        const double automaticLow = app->session->state().plotState.xmin;
        const QString automaticText = left()->text();
        QVERIFY(automaticLow != 70.0);
        // Each button starts from what the one before left: Apply from the automatic
        // range, Reset from a manual one. Bounds are typed before every press.
        const struct {
            const char* button;
            bool applies;
        } presses[] = {
            {"Button1", true}, {"Button3", false}, {"Button2", true}, {"Button4", false}};
        for (const auto& step : presses) {
            typeBounds(QStringLiteral("70"), QStringLiteral("75"));
            press(step.button);
            QVERIFY2(app->session->state().plotState.xmin == (step.applies ? 70.0 : automaticLow),
                     step.button);
            QVERIFY2(left()->text() == (step.applies ? QStringLiteral("70") : automaticText),
                     step.button);
        }
        QVERIFY(app->dialogs.errors.empty());
    }
};

static RegisterTest registration("DisplayControlsTest",
                                 [] { return std::make_unique<DisplayControlsTest>(); });

} // namespace orvane::app::testing

#include "display_controls_test.moc"
