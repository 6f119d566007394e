// The contract store against both engines: the column names it writes, what
// a failure half-way through an action leaves, and workstations acting on
// the same contracts at once.
#include <gtest/gtest.h>

#include <QSet>
#include <atomic>
#include <functional>
#include <thread>

#include "ContractData.h"
#include "contracts/ContractStore.h"
#include "contracts/RecordSheet.h"
#include "db/Schema.h"

using namespace corvane;
using namespace corvane::contract;
using namespace corvane::test;

namespace {

class StoreTest : public ContractDataTest {
public:
    // Runs `work` on `threads` further connections at once.
    void atOnce(int threads, const std::function<void(const QSqlDatabase&, int thread)>& work) const
    {
        std::vector<std::thread> running;
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                auto conn = openSecondConnection(QStringLiteral("worker-%1").arg(t));
                work(conn->db(), t);
            });
        for (auto& th : running) th.join();
    }

    qint64 idOf(const QString& number) const
    {
        return selectFirst(QStringLiteral("SELECT id FROM 合同信息 WHERE 合同编号 = ?"), {number})->value(0).toLongLong();
    }
    int count(const QString& sql) const { return selectFirst(sql)->value(0).toInt(); }
};

}  // namespace

// A misspelt column fails here, not at a customer's.
TEST_F(StoreTest, EveryColumnTheStoreAndTheSheetNameIsInTheSchema)
{
    auto known = [](const QString& table, const QString& column) {
        const schema::Table* t = schema::table(table);
        if (!t) return false;
        for (const schema::Column& c : t->columns())
            if (c.name.compare(column, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    for (const auto& [table, column] : columnsNamedByStore())
        EXPECT_TRUE(known(table, column)) << table.toStdString() << "." << column.toStdString();
    RecordSheet full;
    full.qualified = true;
    ColumnValues written = sheetColumns(full);
    addSupplementColumns(written, QStringLiteral("X"), true);
    for (const auto& [column, value] : written) EXPECT_TRUE(known("合同信息", column)) << column.toStdString();
}

// An action that writes several statements leaves the database as it was
// when a later statement fails.
TEST_F(StoreTest, AFailureHalfWayLeavesTheDatabaseAsItWas)
{
    struct Case {
        const char* name;
        const char* event;
        const char* table;
        std::function<bool(StoreTest&)> act;  // true when the action reported success
    };
    const std::vector<Case> cases = {
        {"renewal: the link on the old row fails", "UPDATE", "合同信息",
         [](StoreTest& t) {
             return insertFollowUp({numberedContract("GC"), true, t.idOf(QStringLiteral("OLD"))}).kind ==
                    FollowUpOutcome::Inserted;
         }},
        {"delete: the units fail", "DELETE", "合同单元信息",
         [](StoreTest& t) {
             return deleteContract(t.idOf(QStringLiteral("OLD")), DeletableWhile::NeverSubmitted).done();
         }},
        {"delete from the record window: the units fail", "DELETE", "合同单元信息",
         [](StoreTest& t) {
             return deleteContract(t.idOf(QStringLiteral("OLD")), DeletableWhile::NotSignedNorInApproval).done();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM 合同单元信息"));
        exec(QStringLiteral("DELETE FROM 合同信息"));
        addContract(QStringLiteral("OLD"), QStringLiteral("D01"), QStringLiteral("T1"), 未提交);
        exec(QStringLiteral("INSERT INTO 合同单元信息 (合同ID) SELECT id FROM 合同信息 WHERE 合同编号 = 'OLD'"));
        failEvery(QString::fromUtf8(c.event), QString::fromUtf8(c.table));

        EXPECT_FALSE(c.act(*this));
        exec(QStringLiteral("DROP TRIGGER injected") +
             (testingOnPostgres() ? QStringLiteral(" ON ") + QString::fromUtf8(c.table) : QString()));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息")), 1);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同单元信息")), 1);
        EXPECT_TRUE(contractByNumber(QStringLiteral("OLD"))->isNull(QStringLiteral("对应续约合同编号")));
    }
}

// Several workstations number contracts at the same moment, through every
// entry point that allocates: every number differs and serials run from 1
// without a gap.
TEST_F(StoreTest, WorkstationsNumberingAtOnceGetDistinctGaplessNumbers)
{
    constexpr int kThreads = 4, kEach = 8;
    struct Case {
        const char* name;
        std::function<bool(const QSqlDatabase&, int thread, int i)> allocate;
    };
    const std::vector<Case> cases = {
        {"the numbering lock alone",
         [](const QSqlDatabase& db, int, int) {
             Transaction tx(db, Transaction::Write);
             if (!tx.isActive() || !takeNumberingLock(db, kContractNumberingKey)) return false;
             Statement top(db, QStringLiteral("SELECT MAX(流水号) FROM 合同信息"));
             if (!top.exec() || !top.next()) return false;
             const int serial = top.value(0).toInt() + 1;
             Statement insert(db, QStringLiteral("INSERT INTO 合同信息 (合同编号, 流水号) VALUES (?, ?)"),
                              {contractNumber(QStringLiteral("GC"), serial, PrefixForm::DashAlways), serial});
             return insert.exec() && tx.commit();
         }},
        {"new contracts of two types, which share one run of serials",
         [](const QSqlDatabase& db, int t, int) {
             return insertContract(db, numberedContract(t % 2 ? QStringLiteral("GC") : QStringLiteral("WY"))).outcome ==
                    InsertedContract::Inserted;
         }},
        {"new contracts and supplements mixed",
         [](const QSqlDatabase& db, int t, int i) {
             if ((t + i) % 2 == 0)
                 return insertContract(db, numberedContract(QStringLiteral("GC"))).outcome == InsertedContract::Inserted;
             return insertFollowUp(db, {numberedContract(QStringLiteral("GC"), PrefixForm::DigitsAloneWhenNoPrefix), false,
                                        0})
                        .kind == FollowUpOutcome::Inserted;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM 合同信息"));
        std::atomic<int> failures{0};
        atOnce(kThreads, [&](const QSqlDatabase& db, int t) {
            for (int i = 0; i < kEach; ++i)
                if (!c.allocate(db, t, i)) ++failures;
        });
        EXPECT_EQ(failures.load(), 0);

        const auto rows = selectRows(QStringLiteral("SELECT 合同编号, 流水号 FROM 合同信息 ORDER BY 流水号"));
        ASSERT_TRUE(rows);
        ASSERT_EQ(int(rows->size()), kThreads * kEach);
        QSet<QString> numbers;
        for (int i = 0; i < int(rows->size()); ++i) {
            EXPECT_EQ((*rows)[size_t(i)].value(1).toInt(), i + 1);
            const QString number = (*rows)[size_t(i)].text(0);
            EXPECT_TRUE(number == QStringLiteral("GC-%1").arg(i + 1, 8, 10, QLatin1Char('0')) ||
                        number == QStringLiteral("WY-%1").arg(i + 1, 8, 10, QLatin1Char('0')))
                << number.toStdString();
            numbers.insert(number);
        }
        EXPECT_EQ(numbers.size(), kThreads * kEach);
    }
}

// A number typed by one clerk while another's is being allocated: never two
// rows with one number, and the typed one is refused only when taken.
TEST_F(StoreTest, ATypedNumberRacingAnAutomaticOneNeverDuplicates)
{
    for (int round = 1; round <= 6; ++round) {
        SCOPED_TRACE(round);
        exec(QStringLiteral("DELETE FROM 合同信息"));
        std::atomic<int> typedOutcome{-1}, automaticOutcome{-1};
        atOnce(2, [&](const QSqlDatabase& db, int t) {
            if (t == 0) typedOutcome = insertContract(db, typedContract(QStringLiteral("GC-00000001"))).outcome;
            else automaticOutcome = insertContract(db, numberedContract(QStringLiteral("GC"))).outcome;
        });
        EXPECT_EQ(automaticOutcome.load(), InsertedContract::Inserted);
        EXPECT_NE(typedOutcome.load(), InsertedContract::Failed);
        const int rows = count(QStringLiteral("SELECT COUNT(*) FROM 合同信息"));
        EXPECT_EQ(rows, typedOutcome == InsertedContract::Inserted ? 2 : 1);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT 合同编号) FROM 合同信息")), rows);
    }
}

TEST_F(StoreTest, TwoWorkstationsRenewingOneContractMakeOneRenewal)
{
    addContract(QStringLiteral("OLD"), QStringLiteral("D01"), QStringLiteral("T1"), 履行中);
    const qint64 old = idOf(QStringLiteral("OLD"));
    std::atomic<int> inserted{0}, refused{0};
    atOnce(2, [&](const QSqlDatabase& db, int) {
        const auto out = insertFollowUp(db, {numberedContract(QStringLiteral("GC")), true, old});
        if (out.kind == FollowUpOutcome::Inserted) ++inserted;
        if (out.kind == FollowUpOutcome::AlreadyRenewed) ++refused;
    });
    EXPECT_EQ(inserted.load(), 1);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息")), 2);
    const QString renewal = contractByNumber(QStringLiteral("OLD"))->text(QStringLiteral("对应续约合同编号"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息 WHERE 合同编号 = '") + renewal + QLatin1Char('\'')), 1);
}

TEST_F(StoreTest, QuickSearchMatchesLiterallyWhateverTheLetterCase)
{
    const std::vector<std::pair<const char*, const char*>> counterparties = {
        {"N1", "Acme 物业"}, {"N2", "ACME 保洁"}, {"N3", "acme_x"}, {"N4", "100% 达标"}, {"N5", "其他公司"}};
    for (const auto& [number, name] : counterparties)
        addContract(number, "D01", "T1", 履行中, {{"对方单位", QString::fromUtf8(name)}});
    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {
        {"acme", {"ACME 保洁", "Acme 物业", "acme_x"}},
        {"ACME", {"ACME 保洁", "Acme 物业", "acme_x"}},
        {"e_", {"acme_x"}},
        {"0%", {"100% 达标"}},
        {"达标", {"100% 达标"}},
    };
    for (const auto& c : cases) {
        auto found = counterpartiesHolding(QString::fromUtf8(c.typed));
        ASSERT_TRUE(found) << found.error().description.toStdString();
        QStringList sorted = *found;
        sorted.sort(Qt::CaseSensitive);
        QStringList expected = c.found;
        expected.sort(Qt::CaseSensitive);
        EXPECT_EQ(sorted, expected) << c.typed;
    }
}

// Boxes left empty: the record's own save and the counterparty panel store
// NULL, while a signing stores the empty signatories and an empty supplier
// tag as empty texts, as the family's other programs read them. Boxes never
// typed into included.
TEST_F(StoreTest, EmptyBoxesAreStoredAsNullOrEmptyTextColumnByColumn)
{
    RecordSheet empty;
    empty.qualified = true;
    NewContract c;
    c.typedNumber = QStringLiteral("HT-E");
    c.columns = sheetColumns(empty);
    c.columns.emplace_back(QStringLiteral("对应部门"), QStringLiteral("D01"));
    const InsertedContract inserted = insertContract(c);
    ASSERT_EQ(inserted.outcome, InsertedContract::Inserted) << inserted.error.description.toStdString();
    const QVariantList id{inserted.id};
    const auto holds = [&](const char* column, const char* value) {
        SCOPED_TRACE(column);
        EXPECT_EQ(storedText(QStringLiteral("SELECT %1 FROM 合同信息 WHERE id = ?").arg(QString::fromUtf8(column)), id),
                  stored(value));
    };
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass ? "修改" : "新增");
        const struct {
            const char* column;
            const char* value;
        } columns[] = {
            {"合同名称", nullptr}, {"对方单位", nullptr}, {"对方开户行", nullptr}, {"对方帐号", nullptr},
            {"对方税号", nullptr}, {"合同类型", nullptr}, {"合同金额", nullptr},  {"合同起始日期", nullptr},
            {"主要条款", nullptr}, {"对方签约人", nullptr}, {"签约人", nullptr}, {"合格供方代码", ""},
            {"是否是合格供方", "1"}, {"流水号", nullptr},
        };
        for (const auto& col : columns) holds(col.column, col.value);
        exec(QStringLiteral("UPDATE 合同信息 SET 合同名称 = 'x', 对方签约人 = 'x', 合格供方代码 = 'x' WHERE id = ?"), id);
        ASSERT_TRUE(updateEditableContract(inserted.id, sheetColumns(empty)).done());
    }

    ASSERT_TRUE(saveCounterparty(inserted.id, QString(), QString(), QString(), QString()).done());
    for (const char* column : {"对方单位", "对方开户行", "对方帐号", "对方税号"}) holds(column, nullptr);

    exec(QStringLiteral("UPDATE 合同信息 SET 提交日期 = '2026-01-01', 流转结束日期 = '2026-01-02', 流转通过 = 1 WHERE id = ?"), id);
    ASSERT_TRUE(signContract(inserted.id, QDate(2026, 1, 3), false, QString(), QString()).done());
    holds("对方签约人", "");
    holds("签约人", "");
    ASSERT_TRUE(takeEffect(inserted.id, QDate(2026, 1, 4)).done());
    ASSERT_TRUE(suspendContract(inserted.id, QDate(2026, 2, 1), QString()).done());
    holds("中止原因", nullptr);
}

// A contract whose renewal link another program left as an empty text is
// not renewed yet.
TEST_F(StoreTest, AnEmptyRenewalLinkCountsAsNone)
{
    addContract(QStringLiteral("OLD"), QStringLiteral("D01"), QStringLiteral("T1"), 履行中,
                {{QStringLiteral("对应续约合同编号"), QStringLiteral("")}});
    FollowUp f;
    f.renewal = true;
    f.fromId = idOf(QStringLiteral("OLD"));
    f.contract.typedNumber = QStringLiteral("NEW");
    f.contract.columns = {{QStringLiteral("对应部门"), QStringLiteral("D01")}};
    const FollowUpOutcome out = insertFollowUp(f);
    EXPECT_EQ(out.kind, FollowUpOutcome::Inserted) << out.error.description.toStdString();
    EXPECT_EQ(storedText(QStringLiteral("SELECT 对应续约合同编号 FROM 合同信息 WHERE 合同编号 = 'OLD'")), stored("NEW"));
}
