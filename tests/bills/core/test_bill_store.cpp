// The bill store on both engines: which books a department may use, which
// numbers are free, and the numbers a self-numbering layout gives out, also
// to workstations asking at once.
#include <gtest/gtest.h>

#include <QSet>
#include <mutex>
#include <thread>

#include "../../receipts/ReceiptFixture.h"
#include "db/Schema.h"
#include "bills/BillIssueStore.h"
#include "receipts/BillStore.h"
#include "bills/CustomBillStore.h"
#include "receipts/ReceiptStore.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

class BillStore : public ReceiptTest {};

QStringList booksOf(const DbResult<std::vector<LentBook>>& books)
{
    QStringList out;
    for (const LentBook& b : *books) out << (b.freeBills ? b.book + QLatin1Char(':') + QString::number(b.freeBills) : b.book);
    return out;
}

TEST_F(BillStore, EveryColumnTheStoresNameIsInTheSchema)
{
    for (const auto& [table, column] : columnsNamedByStore()) {
        const schema::Table* t = schema::table(table);
        ASSERT_NE(t, nullptr) << qPrintable(table);
        EXPECT_NE(t->column(column), nullptr) << qPrintable(table + QLatin1Char('.') + column);
    }
}

TEST_F(BillStore, LentBooksAreOwnThenSharedWithDuplicatesKept)
{
    addLentBook(QStringLiteral("B2"), QStringLiteral("01"), QStringLiteral("D01"), 1, 2);
    addLentBook(QStringLiteral("B1"), QStringLiteral("01"), QStringLiteral("D01"), 1, 1);
    addLentBook(QStringLiteral("B9"), QStringLiteral("02"), QStringLiteral("D01"));  // another type
    addLentBook(QStringLiteral("B3"), QStringLiteral("01"), QStringLiteral("D01"), 1, 0, kReceiptToday);  // written off
    addLentBook(QStringLiteral("B4"), QStringLiteral("01"), QStringLiteral("D01"), 1, 0, QVariant(), kReceiptToday);
    addLentBook(QStringLiteral("S1"), QStringLiteral("01"), QStringLiteral("D02"), 1, 3);
    // B1 is lent to D02 as well, which D01 shares (its code stored with blanks).
    exec(QStringLiteral("INSERT INTO 票据领用记录 (票据领用记录编号, 领用部门代号) VALUES ('LY-X', 'D02')"));
    exec(QStringLiteral("INSERT INTO 票据领用清单 (领用记录编号, 入库单编号) VALUES ('LY-X', 'B1')"));
    exec(QStringLiteral("INSERT INTO 票据共用设置 (共用部门编号, 领用部门编号) VALUES ('D01', ' D02 ')"));
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE 入库单编号 = 'B1'"), {QDateTime(kReceiptToday, QTime(8, 0))});

    EXPECT_EQ(booksOf(lentBooks(QStringLiteral("D01"), QStringLiteral("01"))), (QStringList{"B1", "B2", "B1", "S1"}));
    // The export lists only books with free bills, with their count.
    EXPECT_EQ(booksOf(lentBooks(QStringLiteral("D01"), QStringLiteral("01"), true)), (QStringList{"B2:2", "S1:3"}));
    EXPECT_TRUE(lentBooks(QStringLiteral("D09"), QStringLiteral("01"))->empty());
}

TEST_F(BillStore, FreeBillsAreNeitherIssuedNorVoidedInNumberOrder)
{
    addBills(QStringLiteral("B1"), 3, 1);
    addBills(QStringLiteral("B1"), 1, 2);
    addBills(QStringLiteral("B2"), 1, 1);
    exec(QStringLiteral("UPDATE 票据 SET 作废日期 = ? WHERE 入库单编号 = 'B1' AND 票据编号 = '00000001'"),
         {QDateTime(kReceiptToday, QTime(8, 0))});
    const auto free = freeBills(QStringLiteral("B1"));
    ASSERT_TRUE(free);
    ASSERT_EQ(free->size(), 2u);
    EXPECT_EQ((*free)[0].number, "00000002");
    EXPECT_EQ((*free)[1].number, "00000003");
    EXPECT_EQ((*free)[0].id, count(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = 'B1' AND 票据编号 = '00000002'")));
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE 入库单编号 = 'B1'"), {QDateTime(kReceiptToday, QTime(8, 0))});
    EXPECT_TRUE(freeBills(QStringLiteral("B1"))->empty());
}

TEST_F(BillStore, SelfNumbersStepOverTakenNumbers)
{
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QVariant>> existing;  // number, 流水号
        QString expected;
    };
    const std::vector<Case> cases = {
        {"first bill of a code", {}, "00000001"},
        {"taken without serial", {{"00000001", {}}, {"00000002", {}}, {"00000003", {}}}, "00000004"},
        {"above the highest serial", {{"00000007", 7}, {"00000002", 2}}, "00000008"},
        {"serial then taken numbers", {{"00000005", 5}, {"00000006", {}}, {"00000007", {}}, {"0000009X", {}}}, "00000008"},
        {"a gap above the serial stays", {{"00000001", 1}, {"00000003", {}}}, "00000002"},
        {"nine digits in full", {{"99999999", 99999999}}, "100000000"},
        {"nine digits stepped", {{"99999998", 99999998}, {"99999999", {}}, {"100000000", {}}}, "100000001"},
    };
    for (const Case& c : cases) {
        exec(QStringLiteral("DELETE FROM 票据"));
        for (const auto& [number, serial] : c.existing)
            exec(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号, 流水号) VALUES ('001', ?, ?)"), {number, serial});
        Transaction tx(DbConnection(), Transaction::Write);
        const auto bill = addSelfNumberedBill(DbConnection(), QStringLiteral("001"), QStringLiteral("D01"));
        ASSERT_TRUE(bill) << c.name << qPrintable(bill.error().description);
        EXPECT_EQ(bill->number, c.expected) << c.name;
        ASSERT_TRUE(tx.commit());
        EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 开票部门编号, 流水号 FROM 票据 WHERE ID = ?"), {bill->id}),
                  QStringList{c.expected + QStringLiteral("/D01/")})
            << c.name;
    }
}

TEST_F(BillStore, TheCustomWindowsVariantWritesSerialAndData)
{
    Transaction tx(DbConnection(), Transaction::Write);
    SelfNumberedExtras extras;
    extras.writeSerial = true;
    extras.columns = {{QStringLiteral("付款人"), QStringLiteral("O'Brien")}};
    const auto first = addSelfNumberedBill(DbConnection(), QStringLiteral("ZD"), QStringLiteral("D01"), extras);
    const auto second = addSelfNumberedBill(DbConnection(), QStringLiteral("ZD"), QStringLiteral("D01"), extras);
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 流水号, 付款人 FROM 票据 ORDER BY ID")),
              (QStringList{"00000001/1/O'Brien", "00000002/2/O'Brien"}));
}

TEST_F(BillStore, ACallerThatFailsLaterLeavesNoReservedBill)
{
    {
        Transaction tx(DbConnection(), Transaction::Write);
        ASSERT_TRUE(addSelfNumberedBill(DbConnection(), QStringLiteral("ZD"), QStringLiteral("D01")));
        // the caller's next statement fails: no commit
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据")), 0);
}

TEST_F(BillStore, WorkstationsAskingAtOnceGetDistinctNumbers)
{
    constexpr int kThreads = 4, kEach = 5;
    std::mutex m;
    QStringList numbers, failures;
    std::vector<std::thread> running;
    for (int t = 0; t < kThreads; ++t)
        running.emplace_back([&, t] {
            auto conn = openSecondConnection(QStringLiteral("ws-%1").arg(t));
            for (int i = 0; i < kEach; ++i) {
                Transaction tx(conn->db(), Transaction::Write);
                const auto bill = addSelfNumberedBill(conn->db(), QStringLiteral("ZD"), QStringLiteral("D01"));
                const bool ok = bill && tx.commit();
                std::lock_guard lock(m);
                if (ok)
                    numbers << bill->number;
                else
                    failures << (bill ? tx.error().description : bill.error().description);
            }
        });
    for (auto& th : running) th.join();
    EXPECT_EQ(failures, QStringList());
    EXPECT_EQ(QSet<QString>(numbers.begin(), numbers.end()).size(), kThreads * kEach);
    EXPECT_EQ(count(QStringLiteral("SELECT MAX(票据编号) FROM 票据")), kThreads * kEach);
}

TEST_F(BillStore, TheBillKeyIsUnique)
{
    addBills(QStringLiteral("B1"), 1, 1);
    EXPECT_FALSE(executeQuiet(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号) VALUES ('B1', '00000001')")));
}

// ---- What a recorded bill stores for boxes left empty: the payer as an
// empty text, the other payer values as the road names them. The values come
// as a box never typed into gives them.

struct StoredColumn {
    const char* column;
    const char* value;  // nullptr: NULL
};

void expectBillColumns(qint64 billId, std::initializer_list<StoredColumn> columns)
{
    for (const StoredColumn& c : columns) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(storedText(QStringLiteral("SELECT %1 FROM 票据 WHERE ID = ?").arg(QString::fromUtf8(c.column)), {billId}),
                  stored(c.value));
    }
}

qint64 billIdOf(const QString& book, const QString& number)
{
    return selectFirst(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"), {book, number})
        ->value(0)
        .toLongLong();
}

class EmptyValues : public BillStore {
protected:
    // Free bill B1 00000001 recorded by D01 on 2026-12-10 for 10.00 without
    // tax; every payer value left as a box never typed into gives it.
    template <class Bill>
    void freeBillOfTen(Bill& b)
    {
        addBills(QStringLiteral("B1"), 1, 1);
        b.book = QStringLiteral("B1");
        b.number = QStringLiteral("00000001");
        b.billId = billIdOf(b.book, b.number);
        b.department = QStringLiteral("D01");
        b.issueDate = b.receiptDate = QDate(2026, 12, 10);
        b.total = QStringLiteral("10.00");
        b.taxTotal = QStringLiteral("0.00");
        b.now = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
    }
};

TEST_F(EmptyValues, ARecordWithoutPrintingStoresEmptyPayerValuesAsNamed)
{
    NoPrintReceipt r;
    freeBillOfTen(r);
    InvoiceLine line;
    line.c[0] = QStringLiteral("物业服务费");
    r.lines = {storedLine(line)};
    const RecordOutcome out = recordWithoutPrinting(r);
    ASSERT_EQ(out.kind, RecordOutcome::Done) << out.error.description.toStdString();
    expectBillColumns(r.billId, {{"付款人", ""}, {"开票人", ""}, {"收款人", ""}, {"收款方式", ""}, {"合同编号", ""},
                                 {"管理处", nullptr}, {"税号", nullptr}, {"地址", nullptr}, {"账号", nullptr},
                                 {"备注", nullptr}, {"预开", "0"}, {"无需打印票据", "1"}});
    for (const char* column : {"摘要", "单位", "科目代号", "收费项目代号", "应税科目"}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(storedText(QStringLiteral("SELECT %1 FROM 票据开票数据").arg(QString::fromUtf8(column))), stored(nullptr));
    }
}

TEST_F(EmptyValues, FinishingAndElectronicInvoicesStoreEmptyPayerValuesAsNamed)
{
    PrintedBill printed;
    freeBillOfTen(printed);
    const IssueOutcome finished = finishPrintedBill(printed);
    ASSERT_EQ(finished.kind, IssueOutcome::Done) << finished.error.description.toStdString();
    expectBillColumns(printed.billId, {{"付款人", ""}, {"开票人", ""}, {"合同编号", ""}, {"税号", nullptr},
                                       {"地址", nullptr}, {"账号", nullptr}, {"备注", nullptr}});

    ElectronicBill e;
    e.code = QStringLiteral("044031900111");
    e.number = QStringLiteral("12345678");
    e.department = QStringLiteral("D01");
    e.total = QStringLiteral("10.00");
    e.taxTotal = QStringLiteral("0.00");
    e.now = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
    const IssueOutcome issued = storeElectronicInvoice(e);
    ASSERT_EQ(issued.kind, IssueOutcome::Done) << issued.error.description.toStdString();
    expectBillColumns(billIdOf(e.code, e.number),
                      {{"付款人", ""}, {"税号", ""}, {"地址", ""}, {"账号", ""}, {"管理处", ""}, {"手机号码", nullptr},
                       {"邮箱地址", nullptr}, {"备注", nullptr}, {"DJ_ID", nullptr}, {"ZH_ID", nullptr},
                       {"CW_ID", nullptr}, {"预开", "0"}, {"无需打印票据", "0"}});
    EXPECT_EQ(storedText(QStringLiteral("SELECT 票据类型编号 FROM 票据入库单 WHERE 入库单编号 = ?"), {e.code}), stored(""));
}

TEST_F(EmptyValues, CustomBillsStoreEmptyFieldsAsNamed)
{
    CustomBillSave save;
    save.bill.开票日期 = save.bill.收款日期 = QDate(2026, 12, 10);
    save.department = QStringLiteral("D01");
    save.payer = save.address = save.remark = QString();
    // A new bill of the department's own layout: empty fields are NULL.
    const SaveOutcome own = saveSelfNumberedBill(QStringLiteral("ZD"), save);
    ASSERT_EQ(own.status, SaveStatus::Done) << own.error.description.toStdString();
    expectBillColumns(own.id, {{"付款人", nullptr}, {"地址", nullptr}, {"合同编号", nullptr}, {"开票人", ""},
                               {"收款方式", ""}, {"DJ_ID", nullptr}, {"ZH_ID", nullptr}, {"CW_ID", nullptr}});
    // A paper bill completed: the page's empty fields stay empty texts.
    addBills(QStringLiteral("B1"), 1, 1);
    const qint64 paper = billIdOf(QStringLiteral("B1"), QStringLiteral("00000001"));
    const SaveOutcome managed = saveManagedBill(paper, QStringLiteral("B1"), QStringLiteral("00000001"), save, {});
    ASSERT_EQ(managed.status, SaveStatus::Done) << managed.error.description.toStdString();
    expectBillColumns(paper, {{"付款人", ""}, {"地址", ""}, {"备注", ""}, {"合同编号", nullptr}, {"开票人", ""}});
}

}  // namespace
}  // namespace corvane::test
