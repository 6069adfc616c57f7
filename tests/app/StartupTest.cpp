// The window program's start: its icon from the appicon resource, and the
// answers to --help and --version that need no display.
#include <QProcess>
#include <QtTest>

#include "app/AppIcon.h"

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void iconHasEverySizeDrawn() {
        const QIcon icon = ApplicationIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size));
            QCOMPARE(pixmap.size(), QSize(size, size));
            // The corner is transparent around the rounded case; the middle is drawn.
            const QImage image = pixmap.toImage();
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        }
    }

    void helpAndVersionNeedNoDisplay() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        const QList<QPair<QString, QString>> asked = {
            {"--help", "Usage: varnok-dat-tool [ARCHIVE.dat]\n"},
            {"-h", "Usage: varnok-dat-tool [ARCHIVE.dat]\n"},
            {"--version", "varnok-dat-tool " VARNOK_VERSION "\n"},
        };
        for (const auto& [argument, firstLine] : asked) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(VARNOK_DAT_TOOL_PROGRAM), {argument});
            QVERIFY2(program.waitForFinished(60000), qPrintable(argument));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
            QCOMPARE(program.readAllStandardError(), QByteArray());
            const QString out = QString::fromUtf8(program.readAllStandardOutput());
            QVERIFY2(out.startsWith(firstLine), qPrintable(argument + ": " + out));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
