// The pictures at twice the pixel size: one for every embedded picture, each
// the same picture as its 1x, and the skins white exactly where the 1x skins
// are, since the window's outline is cut from the 1x picture.
#include "assets/assets.h"
#include "assets/hidpi.h"

#include <QDirIterator>
#include <QImage>
#include <QTest>

#include <cmath>

namespace {

bool isWhite(QRgb pixel) {
    return (pixel & 0xffffff) == 0xffffff;
}

QImage load(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

QStringList embedded(const QString& root, bool twice) {
    QStringList found;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith("@2x") == twice)
            found << path;
    }
    found.sort();
    return found;
}

// Mean difference per channel between the 1x picture and the 2x one scaled
// down by averaging each 2 by 2 block, over pixels opaque in the 1x.
double meanDifference(const QImage& one, const QImage& two) {
    double sum = 0;
    long count = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb a = one.pixel(x, y);
            if (qAlpha(a) < 255)
                continue;
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb c = two.pixel(2 * x + dx, 2 * y + dy);
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                }
            }
            sum += std::abs(r / 4.0 - qRed(a)) + std::abs(g / 4.0 - qGreen(a)) +
                   std::abs(b / 4.0 - qBlue(a));
            count += 3;
        }
    }
    return count ? sum / count : 255;
}

} // namespace

class HiDpiArtworkTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        assets::init();
        assets::initHiDpi();
    }

    void everyPictureHasItsTwin() {
        QStringList missing;
        for (const QString& root : {QString(":/main"), QString(":/help")})
            for (const QString& path : embedded(root, false))
                if (!QFile::exists(path + "@2x"))
                    missing << path;
        QCOMPARE(missing, QStringList());
        // ... and no twin without a 1x picture.
        QStringList orphans;
        for (const QString& root : {QString(":/main"), QString(":/help")})
            for (const QString& path : embedded(root, true))
                if (!QFile::exists(path.chopped(3)))
                    orphans << path;
        QCOMPARE(orphans, QStringList());
    }

    void twin_data() {
        QTest::addColumn<QString>("path");
        for (const QString& root : {QString(":/main"), QString(":/help")})
            for (const QString& path : embedded(root, false))
                QTest::newRow(qPrintable(path)) << path;
    }
    void twin() {
        QFETCH(QString, path);
        const QImage one = load(path);
        const QImage two = load(path + "@2x");
        QVERIFY2(!one.isNull() && !two.isNull(), "both pictures load");
        QCOMPARE(two.size(), one.size() * 2);
        // The same picture, not a neighbour's: rendered at twice the size and
        // averaged back down it differs from the 1x only in fine detail.
        // (Measured: under 6 of 255 per channel; the ON face against the OFF
        // face, the closest pair of the same size, 25.)
        const double difference = meanDifference(one, two);
        QVERIFY2(difference < 12, qPrintable(QString("mean difference %1").arg(difference)));
    }

    void skinWhiteGround_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("hasGround");
        for (const char* skin : {"lily", "bird", "acqa", "sky", "nature", "gold"})
            QTest::newRow(skin) << QString(":/main/skin/") + skin << true;
        QTest::newRow("picture5, full bleed") << ":/main/skin/picture5" << false;
    }
    void skinWhiteGround() {
        QFETCH(QString, path);
        QFETCH(bool, hasGround);
        const QImage one = load(path);
        const QImage two = load(path + "@2x");
        long mismatched = 0;
        long white = 0;
        for (int y = 0; y < two.height(); ++y) {
            for (int x = 0; x < two.width(); ++x) {
                const bool ground = isWhite(two.pixel(x, y));
                white += ground;
                mismatched += ground != isWhite(one.pixel(x / 2, y / 2));
            }
        }
        QCOMPARE(mismatched, 0L);
        if (hasGround) {
            const int w = two.width() - 1, h = two.height() - 1;
            for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
                QVERIFY(isWhite(two.pixel(corner)));
            QVERIFY(white > 0);
        } else {
            QCOMPARE(white, 0L);
        }
    }
};

QTEST_GUILESS_MAIN(HiDpiArtworkTest)
#include "test_hidpi_artwork.moc"
