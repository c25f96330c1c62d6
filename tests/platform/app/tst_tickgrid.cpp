// The tick grid: ticks per record by load index, whatever the view sorts or filters.
#include "TestSupport.h"
#include "platform/app/TickGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QTableView>
#include <QtTest>

using namespace quorvel;

namespace {
QList<GridColumn> companyColumns()
{
    return {{QStringLiteral("Comnumber"), QStringLiteral("Internal #"), QStringLiteral("COMNUMBER"), 87},
            {QStringLiteral("InsDBTableView1NAME"), QStringLiteral("Insurance Company"), QStringLiteral("NAME"), 166},
            {QStringLiteral("Selected"), QStringLiteral("Selected"), QString(), 83}};
}

// Companies as the list delivers them: by name, a null name first.
QList<QVariantList> companies()
{
    return {{QVariant(), 7}, {QStringLiteral("North Care"), 24}, {QStringLiteral("South Mutual"), 23},
            {QStringLiteral("Zenith"), 1}};
}

QPoint centreOf(QTableView* view, int row, int column)
{
    return view->visualRect(view->model()->index(row, column)).center();
}
} // namespace

class TickGridTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void columnsAreFoundByComponentOrFieldName()
    {
        TickGrid grid(companyColumns());
        grid.model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, companies());
        QCOMPARE(grid.model()->columnIndex(QStringLiteral("Selected")), 2);
        QCOMPARE(grid.model()->columnIndex(QStringLiteral("selected")), -1); // tick column: exact name
        QCOMPARE(grid.model()->columnIndex(QStringLiteral("Comnumber")), 0);
        QCOMPARE(grid.model()->columnIndex(QStringLiteral("Name")), 1);
        QCOMPARE(grid.value(2, QStringLiteral("Comnumber")).toInt(), 23);
        QVERIFY(grid.value(0, QStringLiteral("Name")).isNull());
        QCOMPARE(grid.view()->model()->index(0, 1).data().toString(), QString()); // null shows empty
    }

    // The columns share the visible width in their design proportions, also once a scroll bar
    // takes its part of it after loading and when the window is widened.
    void columnsFillTheVisibleWidth()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* grid = new TickGrid(companyColumns());
        layout->addWidget(grid);
        window.resize(420, 260);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<QVariantList> many;
        for (int i = 0; i < 60; ++i)
            many.append({QStringLiteral("Company %1").arg(i), i});
        grid->model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, many);
        for (int width : {420, 700}) {
            window.resize(width, 260);
            QTRY_VERIFY(grid->view()->verticalScrollBar()->isVisible());
            const int visible = grid->view()->viewport()->width();
            const QHeaderView* header = grid->view()->horizontalHeader();
            QTRY_COMPARE(header->length(), visible);
            QVERIFY(qAbs(header->sectionSize(0) - visible * 87 / 336) <= 1);
            QVERIFY(!grid->view()->horizontalScrollBar()->isVisible());
        }
    }

    void ticksStartNullAndToggleByClickAndSpace()
    {
        TickGrid grid(companyColumns());
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, companies());
        for (int r = 0; r < 4; ++r)
            QVERIFY(!grid.value(r, QStringLiteral("Selected")).isValid());
        QCOMPARE(grid.view()->model()->index(1, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, centreOf(grid.view(), 1, 2));
        QCOMPARE(grid.value(1, QStringLiteral("Selected")), QVariant(true));
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, centreOf(grid.view(), 1, 2));
        QCOMPARE(grid.value(1, QStringLiteral("Selected")), QVariant(false));

        grid.view()->setCurrentIndex(grid.view()->model()->index(3, 1));
        QTest::keyClick(grid.view(), Qt::Key_Space);
        QCOMPARE(grid.value(3, QStringLiteral("Selected")), QVariant(true));
    }

    void sortingAndFilteringKeepLoadIndex()
    {
        TickGrid grid(companyColumns());
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, companies());

        grid.view()->sortByColumn(0, Qt::AscendingOrder); // by number: Zenith (1) first
        QCOMPARE(grid.view()->model()->index(0, 1).data().toString(), QStringLiteral("Zenith"));
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, centreOf(grid.view(), 0, 2));
        QCOMPARE(grid.value(3, QStringLiteral("Selected")), QVariant(true));

        grid.filterBox()->setText(QStringLiteral("south"));
        QCOMPARE(grid.view()->model()->rowCount(), 1);
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, centreOf(grid.view(), 0, 2));
        QCOMPARE(grid.value(2, QStringLiteral("Selected")), QVariant(true));

        grid.filterBox()->setText(QStringLiteral("nothing like this"));
        QCOMPARE(grid.view()->model()->rowCount(), 0);
        QCOMPARE(grid.recordCount(), 4); // hidden rows still count
        QCOMPARE(grid.value(3, QStringLiteral("Selected")), QVariant(true));
        QCOMPARE(grid.value(2, QStringLiteral("Selected")), QVariant(true));
    }

    void reloadStartsEveryTickNullAgain()
    {
        TickGrid grid(companyColumns());
        grid.model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, companies());
        grid.model()->toggle(0, 2);
        grid.model()->clear();
        QCOMPARE(grid.recordCount(), 0);
        grid.model()->load({QStringLiteral("NAME"), QStringLiteral("COMNUMBER")}, companies());
        QVERIFY(!grid.value(0, QStringLiteral("Selected")).isValid());
    }
};

QTEST_MAIN(TickGridTest)
#include "tst_tickgrid.moc"
