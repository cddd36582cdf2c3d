#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/message_box_dialogs.h"
#include "app/plain_file_icon_provider.h"
#include "test_registry.h"

namespace orvane::app::testing {

namespace {

// Runs `act` on the save dialog once it is open.
void whenTheDialogOpens(const std::function<void(QFileDialog&)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(20);
}

} // namespace

// The real save dialog, as the window shows it.
class SaveDialogTest : public QObject {
    Q_OBJECT

private slots:
    void everyKindOfPlaceHasAPictureWithoutAnIconTheme() {
        // an empty icon makes the dialog warn of a null pixmap at every opening
        const PlainFileIconProvider icons;
        for (const auto type :
             {QAbstractFileIconProvider::Computer, QAbstractFileIconProvider::Desktop,
              QAbstractFileIconProvider::Trashcan, QAbstractFileIconProvider::Network,
              QAbstractFileIconProvider::Drive, QAbstractFileIconProvider::Folder,
              QAbstractFileIconProvider::File}) {
            QVERIFY(!icons.icon(type).isNull());
        }
        const QTemporaryDir folder;
        QVERIFY(!icons.icon(QFileInfo(folder.path())).isNull());
        QCOMPARE(icons.type(QFileInfo(folder.path())), QStringLiteral("Folder"));
    }

    void aPseudoFileFolderNeitherBlocksNorIsRead() {
        // /proc/kmsg blocks every read; a dialog that told file types by content hung here.
        MessageBoxDialogs dialogs;
        QElapsedTimer clock;
        clock.start();
        whenTheDialogOpens(
            [](QFileDialog& dialog) { QTimer::singleShot(300, &dialog, &QFileDialog::reject); });
        QCOMPARE(dialogs.getSaveFileName(QStringLiteral("/proc/no-such-pattern.txt")), QString());
        QVERIFY2(clock.elapsed() < 5000, "the dialog did not close");
    }

    void theChosenNameIsTakenAsItStands() {
        QTemporaryDir directory;
        const QString name = directory.filePath(QStringLiteral("pattern"));
        MessageBoxDialogs dialogs;
        whenTheDialogOpens([&name](QFileDialog& dialog) {
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(field != nullptr);
            field->setText(name);
            QTest::keyClick(field, Qt::Key_Return);
            QTimer::singleShot(2000, &dialog, &QFileDialog::reject); // should the name be refused
        });
        QCOMPARE(dialogs.getSaveFileName(QString()), name); // no suffix added
    }

    void thePictureDialogTakesItsFormatFromTheFilter() {
        QTemporaryDir directory;
        const QString name = directory.filePath(QStringLiteral("spectrum"));
        MessageBoxDialogs dialogs;
        QStringList offered;
        whenTheDialogOpens([&](QFileDialog& dialog) {
            offered = dialog.nameFilters();
            // The last choice's filter comes first: PNG at 4 times.
            QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("PNG (4×) (*.png)"));
            auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(types != nullptr && field != nullptr);
            // As the user picks it: one down from PNG at 4 times.
            QTest::keyClick(types, Qt::Key_Down);
            QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("SVG (*.svg)"));
            field->setText(name);
            QTest::keyClick(field, Qt::Key_Return);
            QTimer::singleShot(2000, &dialog, &QFileDialog::reject); // should the name be refused
        });
        const std::optional<PictureChoice> chosen =
            dialogs.getSavePictureName({QString(), qtcanvas::PictureFormat::Png, 4});
        QCOMPARE(offered, pictureFilters());
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->name, name + QStringLiteral(".svg"));
        QCOMPARE(int(chosen->format), int(qtcanvas::PictureFormat::Svg));
        QCOMPARE(chosen->scale, 1);
    }

    void aCancelledPictureDialogChoosesNothing() {
        MessageBoxDialogs dialogs;
        whenTheDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
        QVERIFY(!dialogs.getSavePictureName({}).has_value());
    }
};

static RegisterTest registration("SaveDialogTest",
                                 [] { return std::make_unique<SaveDialogTest>(); });

} // namespace orvane::app::testing

#include "save_dialog_test.moc"
