// The DAT Tool's item list offscreen: the model of the filtered directory,
// and the list view over it on an archive far longer than the view shows.
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "AppFixture.h"
#include "app/CShpView.h"
#include "app/CommandIds.h"
#include "app/ItemListModel.h"
#include "archive/ItemFilter.h"

namespace {

constexpr int kItems = 1000;  // beside VERSION.TXT

// The texts of the first `count` rows, all rows by default.
QStringList Texts(const QAbstractItemModel& model, int count = -1) {
    QStringList texts;
    const int rows = count < 0 ? model.rowCount() : std::min(count, model.rowCount());
    for (int row = 0; row < rows; ++row)
        texts << model.index(row, 0).data().toString();
    return texts;
}

}  // namespace

class ItemListModelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> app_;

    DatArchive& Archive() { return app_->doc.Archive(); }

private slots:
    void init() {
        app_ = std::make_unique<AppFixture>(kItems);
        QVERIFY(app_->written && app_->doc.OpenDocument(app_->At("KELPAR.dat")));
    }
    void cleanup() { app_.reset(); }

    void rowsFollowTheFilterAndNameTheirItems() {
        ItemListModel model(Archive());
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QCOMPARE(model.rowCount(), 0);

        model.Refill(kShowAll, "");
        QCOMPARE(model.rowCount(), kItems + 1);
        QCOMPARE(model.index(0, 0).data().toString(), QString("UNIT01.S16  (9)"));
        QCOMPARE(model.ItemAt(model.Count() - 1), kItems);

        model.Refill(kShowAll, "$99");
        const QStringList nines = Texts(model);
        QVERIFY(nines.contains("UNIT99.S16  (9)"));
        QVERIFY(nines.contains("WIDGET99.S16  (1)"));
        for (const QString& text : nines)
            QVERIFY2(text.contains("99"), qPrintable(text));
        // Each row names the item it stands for.
        for (int row = 0; row < model.Count(); ++row)
            QCOMPARE(QString::fromStdString(Archive().Entry(model.ItemAt(row)).Name()),
                     nines[row].section("  (", 0, 0));

        model.Refill(kShowInterface, "WIDGET1");
        QVERIFY(model.Count() > 0);
        for (const QString& text : Texts(model))
            QVERIFY2(text.startsWith("WIDGET1") && text.endsWith("  (1)"), qPrintable(text));
        model.Refill(kShowUnits, "");
        QCOMPARE(model.Count(), Texts(model).filter("  (9)").size());

        model.Refill(kShowAll, "$ZZ");
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.ItemAt(0), -1);
        QVERIFY(!model.data(model.index(0, 0)).isValid());
        model.Refill(kShowAll, "");
        model.Clear();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(resets.count(), 7);
    }

    // Between a rewrite and the refill (its message is up) the rows shown
    // keep their texts, and rows not shown yet stay empty rather than name
    // whatever item took their index.
    void rowsKeepTheirTextsUntilRefilled() {
        ItemListModel model(Archive());
        model.Refill(kShowAll, "$1");
        const QStringList before = Texts(model, 20);
        QVERIFY(!Archive().RemoveItem(model.ItemAt(3), NoProgress()).empty());
        QCOMPARE(Texts(model, 20), before);
        QVERIFY(!model.index(20, 0).data().isValid());
        model.Refill(kShowAll, "$1");
        QCOMPARE(model.index(3, 0).data().toString(), before[4]);
    }

    void theViewKeepsItsRowAcrossRewritesAndMovesByKeys() {
        CShpView view(app_->doc);
        view.resize(800, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.FillList(0);
        QListView* list = view.ItemList();
        auto row = [list] { return list->currentIndex().row(); };
        auto shownInView = [list] {
            return list->viewport()->rect().intersects(list->visualRect(list->currentIndex()));
        };
        QCOMPARE(view.ItemsText()->text(), QString("1001 / 1001 "));

        list->setCurrentIndex(list->model()->index(600, 0));
        QCOMPARE(view.CurrentItem(), view.Items()->ItemAt(600));
        const QString next = list->model()->index(601, 0).data().toString();
        view.Run(kCmdRemove);
        QCOMPARE(row(), 600);
        QCOMPARE(list->currentIndex().data().toString(), next);
        QCOMPARE(view.CurrentItem(), view.Items()->ItemAt(600));
        QCOMPARE(view.ItemsText()->text(), QString("1000 / 1000 "));
        QVERIFY(list->selectionModel()->isSelected(list->currentIndex()));
        QVERIFY(shownInView());

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(row(), 601);
        QCOMPARE(view.CurrentItem(), view.Items()->ItemAt(601));
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(row(), 999);
        QCOMPARE(view.CurrentItem(), 999);
        QVERIFY(shownInView());
        QTest::keyClick(list, Qt::Key_PageUp);
        QVERIFY(row() < 999);
        QCOMPARE(view.CurrentItem(), view.Items()->ItemAt(row()));
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(view.CurrentItem(), 0);

        // Removing the last row selects the one that now ends the list.
        list->setCurrentIndex(list->model()->index(999, 0));
        view.Run(kCmdRemove);
        QCOMPARE(row(), 998);
        QCOMPARE(view.CurrentItem(), 998);

        // A new filter starts again at its first row.
        view.FilterText()->setText("$05");
        view.FillList(0);
        QCOMPARE(row(), 0);
        QVERIFY(list->currentIndex().data().toString().contains("05"));
        QCOMPARE(view.ItemsText()->text(), QString("%1 / 999 ").arg(list->model()->rowCount()));
    }
};

QTEST_MAIN(ItemListModelTest)
#include "ItemListModelTest.moc"
