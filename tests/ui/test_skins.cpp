#include "form_rig.h"
#include "ui/shaped/shaped_form.h"
#include "ui/skins.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {
const QStringList SkinItems{"Sl", "lg", "CA", "An", "sb", "gl", "Li", "Bl"};

void choose(FormRig& rig, const QString& item) {
    rig.f().findChild<QAction*>(item)->trigger();
}

QList<bool> windowButtons(FormRig& rig) {
    QList<bool> shown;
    for (int n = 9; n <= 18; ++n)
        shown << !rig.f().Command(n)->isHidden();
    return shown;
}
const QList<bool> StartButtons{true, true, true, true, false, true, false, true, true, true};

// The buttons, check boxes and text boxes on view.
QList<QWidget*> visibleControls(FormRig& rig) {
    QList<QWidget*> controls;
    for (QWidget* w : rig.f().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isHidden() && (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w)))
            controls << w;
    }
    return controls;
}

// What a fresh panel shows after these menu items (or "X&P"): its rendering
// inside the cut, transparent outside.
QImage lookAfter(const QStringList& items) {
    FormRig rig;
    rig.show();
    for (const QString& item : items) {
        if (item == "X&P")
            rig.click(18);
        else
            choose(rig, item);
    }
    const QImage shot = rig.f().grab().toImage();
    QImage seen(shot.size(), QImage::Format_ARGB32);
    seen.fill(Qt::transparent);
    QPainter painter(&seen);
    painter.setClipRegion(rig.f().mask());
    painter.drawImage(0, 0, shot);
    return seen;
}

// Where a control can be seen: a transparent label only where its text is.
QRect seenArea(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w);
        label && !label->text().isEmpty() && label->objectName() != "Label4") {
        const QRect text =
            QFontMetrics(label->font())
                .boundingRect(QRect(QPoint(0, 0), label->size()),
                              int(label->alignment()) | Qt::TextWordWrap, label->text());
        return text.translated(label->pos()).intersected(label->geometry());
    }
    return w->geometry();
}
} // namespace

class TestSkins : public QObject {
    Q_OBJECT
  private slots:
    void skinCommandsUseTheirHolders_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("holder");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Acqa") << "Sl" << 3 << QSize(297, 479);
        QTest::newRow("Nature") << "lg" << 6 << QSize(296, 482);
        QTest::newRow("Gold") << "CA" << 8 << QSize(294, 480);
        QTest::newRow("Purple") << "An" << 9 << QSize(296, 482);
        QTest::newRow("Sea Beach") << "sb" << 7 << QSize(295, 481);
        QTest::newRow("Bird") << "gl" << 2 << QSize(299, 480);
        QTest::newRow("Lily") << "Li" << 1 << QSize(296, 479);
        QTest::newRow("Sky") << "Bl" << 4 << QSize(295, 481);
    }
    void skinCommandsUseTheirHolders() {
        QFETCH(QString, item);
        QFETCH(int, holder);
        QFETCH(QSize, size);
        FormRig rig;
        rig.show();
        rig.click(14); // All On: the skin puts "All On" back, channels stay on
        rig.click(12); // timer panel shown
        rig.click(18); // plain view first: the skin must cut again
        const auto writes = rig.port.values();
        const int beeps = rig.beeper.count;
        choose(rig, item);
        choose(rig, item); // twice is the same as once
        QCOMPARE(rig.f().picture(), rig.f().Picture(holder)->picture());
        QCOMPARE(rig.f().picture().size(), size);
        QCOMPARE(rig.f().picture().depth(), 32); // 24-bit pictures, held as RGB32
        QCOMPARE(windowButtons(rig), StartButtons);
        QVERIFY(rig.f().shapedForm().isShaped());
        QCOMPARE(rig.f().mask(),
                 ui::shaped::ShapedForm::outline(rig.f().picture(), qRgb(255, 255, 255)));
        QVERIFY(!rig.f().Text(1)->isHidden()); // panel untouched
        for (int n = 1; n <= 4; ++n)
            QVERIFY(rig.shownOn(n));
        QCOMPARE(rig.port.values(), writes);
        QCOMPARE(rig.beeper.count, beeps);
    }

    void lilyAloneChangesTheBackColourForGood() {
        FormRig rig;
        rig.show();
        QCOMPARE(rig.f().backColour(), QColor(255, 128, 0));
        const QImage before = rig.f().picture();
        choose(rig, "Li");
        QCOMPARE(rig.f().picture(), before); // the start-up picture is Lily's
        QCOMPARE(rig.f().backColour(), QColor(255, 192, 128));
        choose(rig, "CA");
        QCOMPARE(rig.f().backColour(), QColor(255, 192, 128));
        choose(rig, "Sl");
        rig.click(18);
        QCOMPARE(rig.f().backColour(), QColor(255, 192, 128));
        // The plain view shows it in the strip beyond the picture.
        QCOMPARE(rig.f().grab().toImage().pixelColor(299, 484), QColor(255, 192, 128));
    }

    void plainViewShowsTheDesignBackColour() {
        FormRig rig;
        rig.show();
        rig.click(18);
        QCOMPARE(rig.f().grab().toImage().pixelColor(299, 484), QColor(255, 128, 0));
    }

    // The back colour is the form's own: no control takes it up, so every
    // one looks the same before and after "Lily", in the standard colours.
    void controlsKeepTheStandardLookThroughLily() {
        FormRig rig;
        rig.show();
        rig.click(12); // the timer panel's check and text boxes on view
        rig.f().Command(14)->setFocus();
        const QList<QWidget*> controls = visibleControls(rig);
        QCOMPARE(controls.size(), 20);
        QList<QImage> before;
        for (QWidget* control : controls)
            before << control->grab().toImage();
        choose(rig, "Li");
        const QPalette standard = QApplication::palette();
        for (int i = 0; i < controls.size(); ++i) {
            const QByteArray nameBytes = controls[i]->objectName().toLatin1();
            const char* name = nameBytes.constData();
            QVERIFY2(controls[i]->grab().toImage() == before[i], name);
            for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Light,
                                             QPalette::Mid, QPalette::Dark, QPalette::Shadow})
                QVERIFY2(controls[i]->palette().color(role) == standard.color(role), name);
        }
    }

    void twinSkinsLookAlikeWhateverCameBefore_data() {
        QTest::addColumn<QStringList>("one");
        QTest::addColumn<QStringList>("other");
        QTest::newRow("Sky after Lily, Sea Beach") << QStringList{"Li", "Bl"} << QStringList{"sb"};
        QTest::newRow("Sea Beach after Lily, Sky") << QStringList{"Li", "sb"} << QStringList{"Bl"};
        QTest::newRow("Purple after Lily, Nature") << QStringList{"Li", "An"} << QStringList{"lg"};
        QTest::newRow("Nature after Lily and X&P, Purple")
            << QStringList{"Li", "X&P", "lg"} << QStringList{"An"};
        QTest::newRow("Lily after Lily, the start") << QStringList{"Li", "Li"} << QStringList{};
    }
    void twinSkinsLookAlikeWhateverCameBefore() {
        QFETCH(QStringList, one);
        QFETCH(QStringList, other);
        QCOMPARE(lookAfter(one), lookAfter(other));
    }

    void plainViewHidesTheTenButtonsAndUncuts() {
        FormRig rig;
        rig.show();
        rig.click(12);
        rig.f().Timer1_Timer();
        const QString clock = rig.f().Label4->text();
        rig.click(18);
        QVERIFY(!rig.f().shapedForm().isShaped());
        QVERIFY(rig.f().mask().isEmpty());
        QCOMPARE(rig.f().picture(), rig.f().Picture(8)->picture());
        QCOMPARE(windowButtons(rig), QList<bool>(10, false));
        QVERIFY(!rig.f().Check(1)->isHidden());
        QVERIFY(!rig.f().Command(1)->isHidden());
        QCOMPARE(rig.f().Label4->text(), clock);
        choose(rig, "CA"); // Gold brings back the same picture, cut
        QCOMPARE(rig.f().picture(), rig.f().Picture(8)->picture());
        QCOMPARE(windowButtons(rig), StartButtons);
        QVERIFY(!rig.f().mask().isEmpty());
    }

    void twinSkinsGiveIdenticalWindows() {
        FormRig a, b;
        choose(a, "Bl");
        choose(b, "sb");
        QCOMPARE(a.f().picture(), b.f().picture());
        choose(a, "lg");
        choose(b, "An");
        QCOMPARE(a.f().picture(), b.f().picture());
        QVERIFY(a.f().Picture(5)->picture().pixel(0, 0) != qRgb(255, 255, 255));
    }

    void hintFitsItsLabel() {
#ifdef Q_OS_WIN
        // Offscreen on Windows, Qt lays text out through FreeType with full
        // hinting, which widens every word; the program itself draws through
        // the system's fonts, the ones the hint was worded for.
        QSKIP("the offscreen platform's fully hinted FreeType text is not what Windows shows");
#endif
        FormRig rig;
        QLabel* hint = rig.f().Label1;
        const QRect text =
            QFontMetrics(hint->font())
                .boundingRect(QRect(QPoint(0, 0), hint->size()),
                              int(hint->alignment()) | Qt::TextWordWrap, hint->text());
        QVERIFY(text.height() <= hint->height());
    }

    // Nothing that can be visible may fall outside any skin's outline.
    void everyControlLiesInsideEverySkin() {
        FormRig rig;
        rig.show();
        rig.click(12); // panel and hint visible
        QList<QWidget*> controls;
        for (int n = 1; n <= 18; ++n)
            controls << rig.f().Command(n);
        for (int n = 1; n <= 4; ++n)
            controls << rig.f().Check(n) << rig.f().Text(n);
        controls << rig.f().Label1 << rig.f().Label3 << rig.f().Label4 << rig.f().Image1
                 << rig.f().portIndicator;
        for (const QString& item : SkinItems) {
            choose(rig, item);
            const QRegion mask = rig.f().mask();
            for (QWidget* control : controls) {
                const QRect area = seenArea(control);
                QVERIFY2(mask.intersected(area) == QRegion(area),
                         qPrintable(item + ": " + control->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestSkins)
#include "test_skins.moc"
