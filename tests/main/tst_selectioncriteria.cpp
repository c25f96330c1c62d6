// The selection criteria: IN-list texts and the conversion of a null value.
#include "main/SelectionCriteria.h"
#include "platform/app/Error.h"

#include <QtTest>

using namespace quorvel;

class SelectionCriteriaTest : public QObject {
    Q_OBJECT
private slots:
    void companyInList_data()
    {
        QTest::addColumn<QList<qint32>>("numbers");
        QTest::addColumn<QString>("text");
        QTest::newRow("none ticked: a lone closing bracket") << QList<qint32>{} << ")";
        QTest::newRow("one company") << QList<qint32>{7} << "(7)";
        QTest::newRow("in record order, not sorted") << QList<qint32>{24, 23} << "(24,23)";
        QTest::newRow("negative number") << QList<qint32>{-5, 0} << "(-5,0)";
        QTest::newRow("the same number twice is not merged") << QList<qint32>{3, 3} << "(3,3)";
    }
    void companyInList()
    {
        QFETCH(QList<qint32>, numbers);
        QFETCH(QString, text);
        QCOMPARE(criteria::inList(criteria::companyEntries(numbers)), text);
    }

    void referralInList_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("text");
        QTest::newRow("none ticked") << QStringList{} << ")";
        QTest::newRow("inner quote doubled") << QStringList{"O'Neill"} << "('O''Neill')";
        QTest::newRow("two values") << QStringList{"GP", "O'Neill"} << "('GP','O''Neill')";
        QTest::newRow("empty referral gives ''") << QStringList{""} << "('')";
        QTest::newRow("non-ASCII kept as it is") << QStringList{QString::fromUtf8("Dr Müller")}
                                                 << QString::fromUtf8("('Dr Müller')");
        QTest::newRow("quotes only") << QStringList{"''"} << "('''''')";
    }
    void referralInList()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, text);
        QCOMPARE(criteria::inList(criteria::referralEntries(values)), text);
    }

    void nullCannotBeText()
    {
        QCOMPARE(criteria::textOf(QVariant(QString())), QString());
        QCOMPARE(criteria::textOf(QVariant(QStringLiteral("North Care"))), QStringLiteral("North Care"));
        try {
            criteria::textOf(QVariant());
            QFAIL("a null value was converted");
        } catch (const Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Could not convert variant of type (Null) into type (String)"));
        }
    }
};

QTEST_APPLESS_MAIN(SelectionCriteriaTest)
#include "tst_selectioncriteria.moc"
