// The start-up synchronisation: finished documents carried back into their
// waiting contracts under the busy flag, one document at a time.
#include <QProcess>
#include <csignal>
#include <thread>

#include "SignOffFixture.h"
#include "app/MDIForm1.h"

namespace corvane::test {
namespace {

class Synchronisation : public SignOffTest {
protected:
    // A contract on the administrative road waiting for its outcome, and its document.
    void waiting(const QString& contract, const QString& document)
    {
        if (idOf(contract) < 0)
            addContract(contract, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("未提交"));
        exec(QStringLiteral("UPDATE 合同信息 SET 行政审批编号 = ?, 提交日期 = ?, 合同状态 = '审批中' WHERE 合同编号 = ?"),
             {document, QDateTime(kToday.addDays(-5), QTime(9, 0)), contract});
        exec(QStringLiteral("INSERT INTO XZ文件记录 (文头, 编号, 流水号, 对应合同编号, 是否发送, 是否结束) VALUES ('HTHQ-', ?, ?, ?, 1, 0)"),
             {document, document.right(8).toInt(), contract});
    }
    QString flag() const
    {
        const auto r = selectFirst(QStringLiteral("SELECT Value FROM SystemSetup WHERE Code = '合同同步'"));
        return r->count() == 0 ? QStringLiteral("<none>") : r->isNull("Value") ? QStringLiteral("<null>") : r->text(0);
    }
    // 合同状态/流转通过/流转结束日期 of a contract.
    static QString outcome(const QString& contract)
    {
        const Row r = contractRow(contract);
        const QDateTime end = toDateTime(r.value("流转结束日期"));
        return r.text("合同状态") + "/" + r.text("流转通过") + "/" +
               (end.isValid() ? end.toString("yyyy-MM-dd HH:mm:ss") : QString());
    }
    DbError run() { return approval::行政合同审批同步().error; }
    QString claimedAt() const
    {
        const auto r = selectFirst(QStringLiteral("SELECT Value FROM SystemSetup WHERE Code = ?"), {approval::kSyncClaimedAtCode});
        return r->count() == 0 ? QStringLiteral("<none>") : r->text(0);
    }
    // Another workstation, its clock at `now`, starts the synchronisation and
    // is killed with SIGKILL just before it sends the `stopAt`-th outcome.
    void killWorkstationMidRun(const QDateTime& now, int stopAt)
    {
        const DbSettings& s = dbSettings();
        QProcess worker;
        worker.setProcessChannelMode(QProcess::SeparateChannels);
        worker.start(QStringLiteral(CORVANE_SYNC_WORKER),
                     {s.driver, s.server, s.login, s.database, now.toString(Qt::ISODate), QString::number(stopAt), s.odbcDriver});
        ASSERT_TRUE(worker.waitForStarted());
        QByteArray said;
        while (!said.contains("stopped") && worker.state() == QProcess::Running && worker.waitForReadyRead(60000))
            said += worker.readAllStandardOutput();
        ASSERT_TRUE(said.contains("stopped")) << said.toStdString() << worker.readAllStandardError().toStdString();
        ASSERT_EQ(::kill(pid_t(worker.processId()), SIGKILL), 0);
        ASSERT_TRUE(worker.waitForFinished(60000));
        EXPECT_EQ(worker.exitStatus(), QProcess::CrashExit);
    }
};

const QDateTime kEnd(QDate(2026, 12, 8), QTime(16, 45));

TEST_F(Synchronisation, ApprovedRefusedAndUndecidedDocumentsGiveTheirOutcome)
{
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    waiting(QStringLiteral("HT-2"), QStringLiteral("HTHQ-00000002"));
    waiting(QStringLiteral("HT-3"), QStringLiteral("HTHQ-00000003"));
    waiting(QStringLiteral("HT-4"), QStringLiteral("HTHQ-00000004"));
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, true);
    program().finish(QStringLiteral("HTHQ-00000002"), kEnd, false);
    program().finish(QStringLiteral("HTHQ-00000003"), QDateTime(kEnd.date(), QTime(0, 0)), std::nullopt);
    // Marked ended without an end date: not finished.
    exec(QStringLiteral("UPDATE XZ文件记录 SET 是否结束 = 1, 是否同意 = 1 WHERE 编号 = 'HTHQ-00000004'"));

    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-1"), "审批通过/1/2026-12-08 16:45:00");
    EXPECT_EQ(outcome("HT-2"), "审批未通过/0/2026-12-08 16:45:00");
    EXPECT_EQ(outcome("HT-3"), "审批未通过/0/2026-12-08 00:00:00");
    EXPECT_EQ(outcome("HT-4"), "审批中//");
    EXPECT_EQ(flag(), "0");
}

TEST_F(Synchronisation, ContractsNotWaitingAreNeverTouched)
{
    // Decided already, and one that never went to the program.
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    exec(QStringLiteral("UPDATE 合同信息 SET 流转结束日期 = ?, 流转通过 = 1, 合同状态 = '履行中'"), {QDateTime(kToday, QTime())});
    addContract(QStringLiteral("HT-2"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("审批中"));
    exec(QStringLiteral("INSERT INTO XZ文件记录 (编号, 对应合同编号, 结束日期, 是否同意) VALUES ('X-1', 'HT-2', ?, 0)"), {kEnd});
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, false);
    program().addAttachment(QStringLiteral("HTHQ-00000001"), QStringLiteral("批示"), QStringLiteral("pdf"), "12345678");

    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-1"), "履行中/1/2026-12-10 00:00:00");
    EXPECT_EQ(outcome("HT-2"), "审批中//");
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-1")), QStringList());
}

TEST_F(Synchronisation, ReturnedAttachmentsAreAddedUnlessTheContractHasTheNameOrTheDocumentBringsItTwice)
{
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("合同扫描件.pdf"), "sent out");
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("说明"), "sent out");
    const std::tuple<const char*, const char*, QByteArray> returned[] = {
        {"合同扫描件", "pdf", "came back"},  // sent out and back: skipped
        {"说明", "", "came back"},           // sent out without a point: skipped
        {"批示", "pdf", "%PDF approved"},    // added during the approval
        {"批示", "pdf", "a second copy"},    // the same name again: the first stays
        {"合同", "", "no extension"},        // stored with its trailing point
        {"O'Brien", "doc", "quoted"},        // a quote is a character like any other
        {"..\\..\\x", "", "climbing"},
    };
    for (const auto& [title, extension, bytes] : returned)
        program().addAttachment(QStringLiteral("HTHQ-00000001"), QString::fromUtf8(title), QString::fromUtf8(extension), bytes);
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, true);

    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-1")),
              (QStringList{"合同扫描件.pdf/文件", "说明/文件", "批示.pdf/文件", "合同./文件", "O'Brien.doc/文件", "..\\..\\x./文件"}));
    EXPECT_EQ(selectFirst(QStringLiteral("SELECT 附件 FROM 合同信息附件 WHERE 名称 = '批示.pdf'"))->value(0).toByteArray(),
              QByteArray("%PDF approved"));
    EXPECT_EQ(selectFirst(QStringLiteral("SELECT 附件 FROM 合同信息附件 WHERE 名称 = '合同扫描件.pdf'"))->value(0).toByteArray(),
              QByteArray("sent out"));

    // A second run finds nothing waiting and changes nothing.
    const QString before = outcome("HT-1");
    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-1"), before);
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-1")).size(), 6);
}

TEST_F(Synchronisation, TheEarliestFinishedDocumentDecidesAContractWithTwo)
{
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    exec(QStringLiteral("INSERT INTO XZ文件记录 (文头, 编号, 流水号, 对应合同编号) VALUES ('HTHQ-', 'HTHQ-00000002', 2, 'HT-1')"));
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd.addDays(1), true);
    program().finish(QStringLiteral("HTHQ-00000002"), kEnd, false);
    program().addAttachment(QStringLiteral("HTHQ-00000001"), QStringLiteral("批示"), QStringLiteral("pdf"), "later");
    program().addAttachment(QStringLiteral("HTHQ-00000002"), QStringLiteral("意见"), QStringLiteral("pdf"), "earlier");
    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-1"), "审批未通过/0/2026-12-08 16:45:00");
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-1")), QStringList{"意见.pdf/文件"});
}

TEST_F(Synchronisation, TheFlagIsClaimedOnceAndAlwaysPutBack)
{
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, true);

    // Held by another client: nothing written.
    exec(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同同步', '1')"));
    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-1"), "审批中//");
    EXPECT_EQ(flag(), "1");

    for (const QVariant& value : {QVariant(QStringLiteral("0")), QVariant(QStringLiteral("")), QVariant(QStringLiteral("x")),
                                  QVariant(QMetaType::fromType<QString>())}) {
        exec(QStringLiteral("UPDATE SystemSetup SET Value = ? WHERE Code = '合同同步'"), {value});
        EXPECT_FALSE(run().isValid());
        EXPECT_EQ(flag(), "0") << value.toString().toStdString();
    }
    EXPECT_EQ(outcome("HT-1"), "审批通过/1/2026-12-08 16:45:00");

    // Missing: added, and back to '0' at the end.
    exec(QStringLiteral("DELETE FROM SystemSetup WHERE Code = '合同同步'"));
    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(flag(), "0");

    // Two workstations: the second finds it taken, also when both find it missing.
    for (bool missing : {false, true}) {
        if (missing) exec(QStringLiteral("DELETE FROM SystemSetup WHERE Code = '合同同步'"));
        const auto second = openSecondConnection(QStringLiteral("second"));
        DbError error;
        EXPECT_EQ(approval::claimSyncFlag(DbConnection(), Now(), &error), approval::FlagClaim::Claimed);
        EXPECT_EQ(approval::claimSyncFlag(second->db(), Now(), &error), approval::FlagClaim::Held);
        EXPECT_FALSE(approval::releaseSyncFlag(DbConnection()).isValid());
        EXPECT_EQ(approval::claimSyncFlag(second->db(), Now(), &error), approval::FlagClaim::Claimed);
        EXPECT_FALSE(approval::releaseSyncFlag(second->db()).isValid());
    }
}

TEST_F(Synchronisation, AWorkstationKilledMidRunHoldsTheFlagOnlyAsLongAsARunCanTake)
{
    const QStringList contracts{QStringLiteral("HT-1"), QStringLiteral("HT-2"), QStringLiteral("HT-3")};
    for (int i = 0; i < int(contracts.size()); ++i) {
        const QString document = QStringLiteral("HTHQ-0000000%1").arg(i + 1);
        waiting(contracts[i], document);
        program().addAttachment(document, QStringLiteral("批示"), QStringLiteral("pdf"), "approved");
        program().finish(document, kEnd.addSecs(60 * i), i != 1);
    }
    exec(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同同步', '0')"));
    const QDateTime killedAt = Now();

    // Killed with two outcomes written into its open transaction.
    killWorkstationMidRun(killedAt, 3);
    if (HasFatalFailure()) return;
    for (const QString& c : contracts) EXPECT_EQ(outcome(c), "审批中//") << c.toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息附件")), 0);
    EXPECT_EQ(flag(), "1");
    EXPECT_EQ(claimedAt(), "2026-12-10 09:30:00");

    // While a run could still be going, a start leaves everything and says so.
    for (qint64 seconds : {qint64(0), qint64(10 * 60), approval::kSyncStaleSeconds - 1}) {
        doubles().clock->current = killedAt.addSecs(seconds);
        const SyncOutcome held = approval::行政合同审批同步();
        EXPECT_FALSE(held.error.isValid()) << seconds;
        EXPECT_EQ(held.status, approval::kSyncElsewhere) << seconds;
        EXPECT_EQ(flag(), "1");
        EXPECT_EQ(claimedAt(), "2026-12-10 09:30:00");
    }
    // The main window's start says so in its status bar, and nothing else.
    auto* main = Forms::get<MDIForm1>();
    EXPECT_EQ(main->StatusBar1->currentMessage(), approval::kSyncElsewhere);
    EXPECT_FALSE(main->StatusBar1->isHidden());
    EXPECT_TRUE(boxes().isEmpty());
    Forms::unload<MDIForm1>();
    for (const QString& c : contracts) EXPECT_EQ(outcome(c), "审批中//") << c.toStdString();

    // Then the next start takes the claim over and carries every document back.
    doubles().clock->current = killedAt.addSecs(approval::kSyncStaleSeconds);
    main = Forms::get<MDIForm1>();
    EXPECT_TRUE(main->StatusBar1->currentMessage().isEmpty());
    EXPECT_TRUE(main->StatusBar1->isHidden());
    EXPECT_TRUE(boxes().isEmpty());
    Forms::unload<MDIForm1>();
    EXPECT_EQ(outcome("HT-1"), "审批通过/1/2026-12-08 16:45:00");
    EXPECT_EQ(outcome("HT-2"), "审批未通过/0/2026-12-08 16:46:00");
    EXPECT_EQ(outcome("HT-3"), "审批通过/1/2026-12-08 16:47:00");
    for (const QString& c : contracts) EXPECT_EQ(contractAttachments(c), QStringList{"批示.pdf/文件"}) << c.toStdString();
    EXPECT_EQ(flag(), "0");
    EXPECT_EQ(claimedAt(), "");
}

TEST_F(Synchronisation, AFlagHeldWithoutAClaimTimeIsTimedFromWhenAStartFirstFindsIt)
{
    // Held by one of the family's other clients, or left from before claims were timed.
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, true);
    exec(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同同步', '1')"));
    const QDateTime firstSeen = Now();
    for (const char* claimTime : {"<none>", "", "not a time"}) {
        if (QByteArray(claimTime) != "<none>")
            exec(QStringLiteral("UPDATE SystemSetup SET Value = ? WHERE Code = ?"),
                 {QString::fromUtf8(claimTime), approval::kSyncClaimedAtCode});
        doubles().clock->current = firstSeen;
        EXPECT_EQ(approval::行政合同审批同步().status, approval::kSyncElsewhere) << claimTime;
        EXPECT_EQ(claimedAt(), "2026-12-10 09:30:00") << claimTime;
        doubles().clock->current = firstSeen.addSecs(approval::kSyncStaleSeconds - 60);
        EXPECT_EQ(approval::行政合同审批同步().status, approval::kSyncElsewhere) << claimTime;
        EXPECT_EQ(outcome("HT-1"), "审批中//");
    }
    doubles().clock->current = firstSeen.addSecs(approval::kSyncStaleSeconds);
    const SyncOutcome ran = approval::行政合同审批同步();
    EXPECT_FALSE(ran.error.isValid());
    EXPECT_EQ(ran.status, "");
    EXPECT_EQ(outcome("HT-1"), "审批通过/1/2026-12-08 16:45:00");
    EXPECT_EQ(flag(), "0");

    // Two workstations finding the same stale claim: one takes it over.
    exec(QStringLiteral("UPDATE SystemSetup SET Value = '1' WHERE Code = '合同同步'"));
    exec(QStringLiteral("UPDATE SystemSetup SET Value = '2026-12-10 08:00:00' WHERE Code = ?"), {approval::kSyncClaimedAtCode});
    const auto second = openSecondConnection(QStringLiteral("second"));
    DbError error;
    EXPECT_EQ(approval::claimSyncFlag(DbConnection(), Now(), &error), approval::FlagClaim::Claimed);
    EXPECT_EQ(approval::claimSyncFlag(second->db(), Now(), &error), approval::FlagClaim::Held);
    EXPECT_FALSE(error.isValid());
}

TEST_F(Synchronisation, AFailingDocumentIsRolledBackTheFlagPutBackAndTheMainWindowToldOnce)
{
    waiting(QStringLiteral("HT-1"), QStringLiteral("HTHQ-00000001"));
    waiting(QStringLiteral("HT-2"), QStringLiteral("HTHQ-00000002"));
    program().finish(QStringLiteral("HTHQ-00000001"), kEnd, true);
    program().finish(QStringLiteral("HTHQ-00000002"), kEnd.addSecs(60), true);
    program().addAttachment(QStringLiteral("HTHQ-00000002"), QStringLiteral("批示"), QStringLiteral("pdf"), "12345678");
    // The second document's attachment cannot be stored, nor its contract updated.
    failEvery(QStringLiteral("INSERT"), QStringLiteral("合同信息附件"));

    const DbError error = mainWindowHooks().行政合同审批同步().error;
    EXPECT_TRUE(error.description.contains("injected failure")) << error.description.toStdString();
    EXPECT_EQ(outcome("HT-1"), "审批通过/1/2026-12-08 16:45:00");
    EXPECT_EQ(outcome("HT-2"), "审批中//");
    EXPECT_EQ(flag(), "0");
    EXPECT_EQ(doubles().cursor->depth, 0);

    exec(testingOnPostgres() ? QStringLiteral("DROP TRIGGER injected ON 合同信息附件") : QStringLiteral("DROP TRIGGER injected"));
    EXPECT_FALSE(run().isValid());
    EXPECT_EQ(outcome("HT-2"), "审批通过/1/2026-12-08 16:46:00");
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-2")), QStringList{"批示.pdf/文件"});
}

}  // namespace
}  // namespace corvane::test
